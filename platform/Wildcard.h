#pragma once
// File-name wildcards with the rules of the desktop's own file search, so a
// pattern typed into the name filter selects what the operator expects.

#include <string_view>

namespace kestrovan::platform {

// True when `name` matches `pattern`. Letters compare without regard to case;
// "*" matches any run of characters (also none), "?" exactly one character.
// As in the desktop search, "*.*" matches every name (also names without a
// dot), a trailing ".*" may match nothing at all ("O12*.*" matches "O123"),
// and a trailing "." asks for names without an extension ("*." matches
// "README" but not "O1.NC").
bool wildcardMatch(std::string_view pattern, std::string_view name);

} // namespace kestrovan::platform
