#include "external/ui/DesktopLauncher.h"

#include "platform/StartProgram.h"

#include <QByteArray>
#include <QDesktopServices>

namespace kestrovan::external {

QUrl openerUrl(const std::string& path) {
  const QByteArray bytes(path.data(), static_cast<qsizetype>(path.size()));
  return QUrl::fromEncoded("file://" + bytes.toPercentEncoding("/"), QUrl::StrictMode);
}

bool DesktopLauncher::start(const std::string& program, const std::vector<std::string>& arguments) {
  return platform::startDetached(program, arguments);
}

bool DesktopLauncher::open(const std::string& path) { return QDesktopServices::openUrl(openerUrl(path)); }

} // namespace kestrovan::external
