#include "files/RenameTexts.h"

#include <cerrno>
#include <cstring>

namespace kestrovan::files {

RenameRefusal renameRefusal(int error) {
  switch (error) {
  case EEXIST:
  case ENOTEMPTY: return RenameRefusal::Exists;
  case EINVAL:
  case EILSEQ:
  case ENAMETOOLONG: return RenameRefusal::NotHere;
  case EROFS:
  case EACCES:
  case EPERM: return RenameRefusal::ReadOnly;
  case ENOENT:
  case ENOTDIR: return RenameRefusal::Gone;
  default: return RenameRefusal::Other;
  }
}

std::string_view refusalText(RenameRefusal why) {
  switch (why) {
  case RenameRefusal::Exists: return "同じ名前が既にあります";
  case RenameRefusal::NotAllowed: return "ファイル名に使えない名前です";
  case RenameRefusal::NotHere: return "このドライブでは使えない名前です";
  case RenameRefusal::ReadOnly: return "書き込みが禁止されています";
  case RenameRefusal::Gone: return "一覧を読んだ後に無くなりました";
  case RenameRefusal::Other: break;
  }
  return "変更できませんでした";
}

std::string renameRefusedText(const std::vector<RefusedName>& refused) {
  std::string text = "次の名前に変更できませんでした。";
  for (const RefusedName& r : refused) {
    text += "\n" + r.shown + " (" + std::string(refusalText(r.why));
    if (r.why == RenameRefusal::Other && r.error != 0) text += ": " + std::string(std::strerror(r.error));
    text += ")";
  }
  return text;
}

} // namespace kestrovan::files
