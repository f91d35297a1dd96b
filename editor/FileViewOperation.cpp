#include "editor/FileViewOperation.h"

#include "host/Host.h"

namespace kestrovan::editor {

FileViewOperation::FileViewOperation(host::Host& host) : host_(host) { (void)host_; }

} // namespace kestrovan::editor
