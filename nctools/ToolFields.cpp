#include "nctools/ToolFields.h"

#include "platform/Paths.h"
#include "serial/ProgramFile.h"

#include <cstring>

namespace kestrovan::nctools {

int refusedCount(std::string_view text, const char* refused) {
  int count = 0;
  for (char c : text)
    if (c != 0 && static_cast<unsigned char>(c) < 0x80 && std::strchr(refused, c)) ++count;
  return count;
}

bool joinNameRefused(std::string_view name) {
  if (name == "." || name == "..") return true;
  for (char c : name)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return true;
  return refusedCount(name, "/:,;*?<>|") > 0;
}

SplitDestination splitDestination(const std::string& typed, const std::string& dirPath) {
  std::string text = typed;
  if (text.size() > 1 && text.back() == '/') text.pop_back();
  if (platform::isRootFolder(text)) return {"/", false};
  return {platform::pathFrom(dirPath, text), true};
}

std::size_t programLineCount(std::string_view text) {
  serial::ProgramLines lines(text);
  serial::ProgramLine line;
  std::size_t n = 0;
  while (lines.next(line))
    ++n;
  return n;
}

std::string cannotCreateText(const std::string& path) { return "ファイル " + path + " を作成できません"; }

std::string cannotOpenText(const std::string& path) { return "ファイル " + path + " は開けません"; }

std::string overwriteQuestion(const std::string& path) {
  return "すでに" + path + "が有ります。\n" + "上書きしますか？";
}

std::string notANumberText(const std::string& number) {
  return "'" + number + "' は浮動小数点数ではありません";
}

std::string doublingDoneText(char letter, const std::string& outputName) {
  return std::string(1, letter) + "軸を２倍に変換しました。\n" + "変換ファイル名は " + outputName + "です。";
}

} // namespace kestrovan::nctools
