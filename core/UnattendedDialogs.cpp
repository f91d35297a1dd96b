#include "core/UnattendedDialogs.h"

namespace kestrovan::core {

base::MessageAnswer closedAnswer(base::MessageButtons buttons) {
  switch (buttons) {
  case base::MessageButtons::YesNo: return base::MessageAnswer::No;
  case base::MessageButtons::OkCancel:
  case base::MessageButtons::YesNoAllCancel:
  case base::MessageButtons::YesNoCancel: return base::MessageAnswer::Cancel;
  case base::MessageButtons::Yes: return base::MessageAnswer::Yes;
  case base::MessageButtons::Ok: break;
  }
  return base::MessageAnswer::Ok;
}

std::string unattendedLine(const base::Message& message) {
  std::string line = "kestrovan: ";
  for (char c : message.text)
    line += c == '\n' ? ' ' : c;
  switch (closedAnswer(message.buttons)) {
  case base::MessageAnswer::No: line += " -> いいえ"; break;
  case base::MessageAnswer::Cancel: line += " -> キャンセル"; break;
  case base::MessageAnswer::Yes: line += " -> はい"; break;
  case base::MessageAnswer::Ok:
  case base::MessageAnswer::All: break;
  }
  return line + "\n";
}

base::MessageAnswer UnattendedDialogs::show(const base::Message& message) {
  std::fputs(unattendedLine(message).c_str(), out_);
  std::fflush(out_);
  return closedAnswer(message.buttons);
}

} // namespace kestrovan::core
