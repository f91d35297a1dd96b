#include "core/ui/SettingsOperations.h"

#include "host/Host.h"

namespace kestrovan::core {

SettingsOperations::SettingsOperations(host::Host& host, serial::PortOpener& ports, PortDeviceSource devices)
    : commPanel_(host, ports, std::move(devices)), optionForm_(host) {
  host.setCommandHandler(host::Command::CommSettings, [this](bool) { commPanel_.open(); });
  host.setCommandHandler(host::Command::Options, [this, &host](bool) {
    host.RecordWindowRect();
    optionForm_.showModal();
  });
}

} // namespace kestrovan::core
