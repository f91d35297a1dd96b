#pragma once
// Working copies: a file is written under a name of its own beside its
// target and renamed to the target only when it is complete (the copy, the
// atomic write of settings and edited programs, the split's and the join's
// outputs). They share one name, ".<target name>.~kv" and six random
// letters or digits, so that the list never shows them and the leftovers of
// a killed run can be told from every other file and removed at the next
// start. The target's name is cut (never inside a UTF-8 character) where
// the working name would be longer than a file name may be.

#include <cstdint>
#include <string>
#include <string_view>

namespace kestrovan::platform {

// The working copy's path beside `target`, ending in "XXXXXX" for mkstemp.
std::string workingCopyTemplate(const std::string& target);

// Whether a name (no folder) is that of a working copy.
bool isWorkingCopyName(std::string_view name);

// Removes the working copies in `folder` (not below it) whose last change
// (write, or change of status) came before `before` (seconds since
// 1970-01-01 UTC): what a run that was killed or lost its power left behind.
// The number removed.
int removeLeftoverWorkingCopies(const std::string& folder, std::int64_t before);

// `name` cut to at most `bytes` bytes, never inside a UTF-8 character.
std::string cutName(std::string_view name, std::size_t bytes);

} // namespace kestrovan::platform
