#pragma once
// The keys of the key table as Qt names them.

#include "core/KeyTable.h"

#include <optional>

namespace kestrovan::core {

// The key table's key for a Qt key code; nothing for keys it has no row for.
std::optional<Key> keyOf(int qtKey);

} // namespace kestrovan::core
