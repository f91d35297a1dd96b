#include "serial/ui/TransferRun.h"

#include "base/Dialogs.h"
#include "host/Host.h"
#include "serial/ui/QtTransferScreen.h"

#include <cstdio>

namespace kestrovan::serial {

TransferRun::TransferRun(TransferParts& parts) : parts_(parts) {
  parts_.host.setListEnabled(false);
  parts_.screen.beginTransfer();
}

TransferRun::~TransferRun() {
  parts_.host.setListEnabled(true);
  parts_.screen.endTransfer(); // a close request that came meanwhile is carried out now
}

void tellEnd(host::Host& host, const std::string& notice, bool unattended) {
  if (notice.empty()) return;
  if (unattended) {
    std::fprintf(stderr, "kestrovan: %s\n", notice.c_str());
    return;
  }
  host.dialogs().show({"エラー", notice, base::MessageButtons::Ok, base::MessageIcon::Error});
}

} // namespace kestrovan::serial
