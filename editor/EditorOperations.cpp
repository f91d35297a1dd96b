#include "editor/EditorOperations.h"

#include "host/Host.h"

namespace kestrovan::editor {

EditorOperations::EditorOperations(host::Host& host) : host_(host) { (void)host_; }

} // namespace kestrovan::editor
