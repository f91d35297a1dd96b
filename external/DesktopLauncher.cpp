#include "external/DesktopLauncher.h"

#include <QDesktopServices>
#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QUrl>

namespace kestrovan::external {
namespace {

// Paths and names as the file system holds them; the launch encodes them back.
QString fromFileSystem(const std::string& bytes) {
  return QFile::decodeName(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

} // namespace

bool DesktopLauncher::start(const std::string& program, const std::vector<std::string>& arguments) {
  QStringList list;
  for (const std::string& a : arguments)
    list << fromFileSystem(a);
  return QProcess::startDetached(fromFileSystem(program), list);
}

bool DesktopLauncher::open(const std::string& path) {
  return QDesktopServices::openUrl(QUrl::fromLocalFile(fromFileSystem(path)));
}

} // namespace kestrovan::external
