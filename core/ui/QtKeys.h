#pragma once
// The keys of the key table as Qt names them.

#include "core/KeyTable.h"
#include "host/Host.h"

#include <optional>

class QKeyEvent;

namespace kestrovan::core {

// The key table's key for a Qt key code; nothing for keys it has no row for.
std::optional<Key> keyOf(int qtKey);

// Alt going down, Alt with a letter and a key released in the list go to the
// external commands' hooks. Whether the list consumes the event (Alt+letter:
// yes, so that no letter command runs); nothing for any other key press. A
// held key repeats as release and press: only letting go is a release, and a
// held Alt+letter starts its program once.
std::optional<bool> altKeyEvent(const QKeyEvent& event, const host::AltKeys& hooks);

} // namespace kestrovan::core
