#pragma once
// The launcher of this desktop: a program is started detached with its
// arguments as a list (never through a shell); a file is opened with the
// desktop's opener (xdg-open behind QDesktopServices), which picks the
// program associated with the file's type.

#include "external/Launch.h"

#include <QUrl>

namespace kestrovan::external {

// The file:// URL the opener gets for a path: every byte that is not a plain
// ASCII character percent-encoded, so a name that is no UTF-8 keeps its bytes.
QUrl openerUrl(const std::string& path);

// Paths and arguments are passed as bytes, never through a text conversion.
class DesktopLauncher : public Launcher {
public:
  bool start(const std::string& program, const std::vector<std::string>& arguments) override;
  bool open(const std::string& path) override;
};

} // namespace kestrovan::external
