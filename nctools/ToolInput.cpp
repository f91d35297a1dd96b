#include "nctools/ToolInput.h"

#include "platform/Paths.h"
#include "serial/ProgramFile.h"

#include <algorithm>

namespace kestrovan::nctools {

std::string nulCutQuestion(const std::string& path, std::size_t line) {
  return path + "\n" + std::to_string(line) +
         " 行目に NUL バイトがあり、そこから後は読み込まれていません。\n"
         "続けると、その後ろのデータは書き込まれません。続けますか？";
}

ToolInput loadToolInput(const std::string& path, base::Dialogs& dialogs) {
  if (!platform::isRegularFile(path)) return {ToolInputEnd::CannotOpen, {}};
  serial::ProgramFile file =
      serial::loadProgramFile(path, [&dialogs] { return serial::askWrongFormat(dialogs); });
  if (!file.opened) return {ToolInputEnd::CannotOpen, {}};
  // The text stopped at a NUL with more of the file behind it. A file read
  // line by line (nothing before its first NUL) was asked about already.
  if (!file.readLineWise && file.text.size() < file.size) {
    const std::size_t line =
        static_cast<std::size_t>(std::count(file.text.begin(), file.text.end(), '\n')) + 1;
    if (dialogs.show({"警告", nulCutQuestion(path, line), base::MessageButtons::YesNo,
                      base::MessageIcon::Warning}) != base::MessageAnswer::Yes)
      return {ToolInputEnd::Declined, {}};
  }
  return loadedInput(std::move(file.text));
}

} // namespace kestrovan::nctools
