#pragma once
// The file view (V/F8) in the transfer panel as an operation module of the main window.

#include "host/Operation.h"

namespace kestrovan::host {
class Host;
}

namespace kestrovan::editor {

class FileViewOperation : public host::Operation {
public:
  explicit FileViewOperation(host::Host& host);

private:
  host::Host& host_;
};

} // namespace kestrovan::editor
