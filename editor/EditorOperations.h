#pragma once
// The editor panel GroupBox3 (E/F9 and Shift) as an operation module of the main window.

#include "host/Operation.h"

namespace kestrovan::host {
class Host;
}

namespace kestrovan::editor {

class EditorOperations : public host::Operation {
public:
  explicit EditorOperations(host::Host& host);

private:
  host::Host& host_;
};

} // namespace kestrovan::editor
