#include "core/ui/ScreenSaverControl.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusReply>

namespace kestrovan::core {
namespace {
constexpr const char* kService = "org.freedesktop.ScreenSaver";

// The interface when the session offers it; short time-outs so that a slow
// bus never holds up a transfer.
std::unique_ptr<QDBusInterface> screenSaver() {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected() || !bus.interface() || !bus.interface()->isServiceRegistered(kService).value())
    return nullptr;
  auto iface = std::make_unique<QDBusInterface>(kService, "/org/freedesktop/ScreenSaver", kService, bus);
  iface->setTimeout(500);
  return iface->isValid() ? std::move(iface) : nullptr;
}
} // namespace

ScreenSaverControl::~ScreenSaverControl() { setEnabled(true); }

void ScreenSaverControl::setEnabled(bool enabled) {
  if (enabled == !cookie_.has_value()) return;
  std::unique_ptr<QDBusInterface> iface = screenSaver();
  if (enabled) {
    if (iface) iface->call("UnInhibit", *cookie_);
    cookie_.reset();
    return;
  }
  if (!iface) return;
  QDBusReply<uint> reply = iface->call("Inhibit", "Kestrovan", "NC transfer");
  if (reply.isValid()) cookie_ = reply.value();
}

} // namespace kestrovan::core
