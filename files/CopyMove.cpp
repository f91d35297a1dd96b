#include "files/CopyMove.h"

#include "base/Dialogs.h"
#include "platform/DirectoryEnum.h"
#include "platform/EntryOps.h"
#include "platform/FileCopy.h"
#include "platform/Paths.h"

#include <cerrno>
#include <cstring>
#include <optional>

namespace kestrovan::files {

using platform::EntryKind;
using platform::EntryStat;

const char* modeTitle(TransferMode mode) { return mode == TransferMode::Copy ? "ﾌｧｲﾙｺﾋﾟｰ" : "ﾌｧｲﾙ移動"; }

std::string failureReason(int error) {
  switch (error) {
  case ENOSPC:
  case EDQUOT: return "ディスクの空き容量が足りません。";
  case EACCES:
  case EPERM: return "アクセスが拒否されました。";
  case EROFS: return "書き込みが禁止されています。";
  case ENOENT: return "ファイルまたはフォルダーが見つかりません。";
  case EEXIST: return "同じ名前のファイルまたはフォルダーが既にあります。";
  case ENAMETOOLONG: return "名前が長すぎます。";
  case EIO: return "ディスクの読み書きに失敗しました。";
  default: break;
  }
  return "エラー " + std::to_string(error) + " (" + std::strerror(error) + ")";
}

namespace {

enum class Step { Ok, Skipped, Aborted, Failed };

class Transfer {
public:
  Transfer(TransferMode mode, CopyMoveScreen& screen, base::Dialogs& dialogs)
      : mode_(mode), screen_(screen), dialogs_(dialogs) {}

  Step top(const std::string& source, const std::string& destination) {
    const std::optional<EntryStat> s = platform::statEntry(source);
    if (!s) return fail(source, ENOENT);
    if (s->kind == EntryKind::Folder && insideItself(source, destination))
      return refuse("フォルダー " + source + " は、その中へは" + verb() + "できません。");
    const std::string target = platform::joinPath(destination, platform::baseNameOf(source));
    return mode_ == TransferMode::Copy ? copy(source, target, false, false) : move(source, target);
  }

private:
  std::string verb() const { return mode_ == TransferMode::Copy ? "コピー" : "移動"; }

  Step refuse(const std::string& text) {
    dialogs_.show({modeTitle(mode_), text, base::MessageButtons::Ok, base::MessageIcon::Error});
    return Step::Failed;
  }
  Step fail(const std::string& path, int error) {
    return refuse(path + " を" + verb() + "できませんでした。\n" + failureReason(error));
  }

  static bool insideItself(const std::string& folder, const std::string& destination) {
    const std::string f = platform::canonicalPath(folder);
    const std::string d = platform::canonicalPath(destination);
    if (f.empty() || d.empty()) return false;
    return d == f ||
           (d.size() > f.size() && d.compare(0, f.size(), f) == 0 && (f == "/" || d[f.size()] == '/'));
  }

  // `target` exists and is to be replaced by `source`: may it?
  Step replaceTarget(const std::string& source, const std::string& target, const EntryStat& s,
                     const EntryStat& t) {
    if (platform::sameEntry(s, t))
      return refuse(source + " は" + verb() + "元と" + verb() + "先が同じファイルです。");
    if ((s.kind == EntryKind::Folder) != (t.kind == EntryKind::Folder)) return fail(target, EEXIST);
    if (t.readOnly) return refuse(target + " は読み取り専用のため置き換えられません。");
    if (all_) return Step::Ok;
    switch (screen_.askOverwrite(source, target)) {
    case OverwriteAnswer::Yes: return Step::Ok;
    case OverwriteAnswer::All: all_ = true; return Step::Ok;
    case OverwriteAnswer::No: return Step::Skipped;
    case OverwriteAnswer::Cancel: break;
    }
    return Step::Aborted;
  }

  // Copies `source` to `target`; removeSource: a move across file systems,
  // each source goes once its copy is complete. confirmed: the overwrite
  // question was answered already.
  Step copy(const std::string& source, const std::string& target, bool removeSource, bool confirmed) {
    const std::optional<EntryStat> s = platform::statEntry(source);
    if (!s) return fail(source, ENOENT);
    const std::optional<EntryStat> t = platform::statEntry(target);
    if (s->kind == EntryKind::Folder) return copyFolder(source, target, *s, t, removeSource);
    if (s->kind == EntryKind::Other) return refuse(source + " は" + verb() + "できない種類のファイルです。");
    if (t && !confirmed)
      if (const Step step = replaceTarget(source, target, *s, *t); step != Step::Ok) return step;
    if (s->kind == EntryKind::Link) {
      if (const int r = platform::copyLink(source, target, t.has_value()); r != 0) return fail(source, r);
    } else {
      screen_.copying(source, target, s->size);
      // A replaced file or a moved one must be on the disk before the old
      // one (or the source) is gone.
      const platform::CopyResult r = platform::copyFile(
          source, target, {.replace = t.has_value(), .durable = t.has_value() || removeSource},
          [this](std::uint64_t copied) { return screen_.keepGoing(copied); });
      if (r.end == platform::CopyEnd::Stopped) return Step::Aborted;
      if (!r) return fail(source, r.error);
    }
    if (removeSource)
      if (const int r = platform::removeFile(source); r != 0) return fail(source, r);
    return Step::Ok;
  }

  Step copyFolder(const std::string& source, const std::string& target, const EntryStat& s,
                  const std::optional<EntryStat>& t, bool removeSource) {
    if (t && t->kind != EntryKind::Folder) return fail(target, EEXIST);
    if (t && platform::sameEntry(s, *t))
      return refuse(source + " は" + verb() + "元と" + verb() + "先が同じフォルダーです。");
    if (!t)
      if (const int r = platform::makeFolder(target); r != 0) return fail(target, r);
    for (const std::string& name : platform::listNames(source)) {
      const Step step =
          copy(platform::joinPath(source, name), platform::joinPath(target, name), removeSource, false);
      if (step == Step::Aborted || step == Step::Failed) return step;
    }
    platform::copyFolderAttributes(source, target);
    // Emptied by the move unless something was skipped; then it stays.
    if (removeSource) platform::removeEmptyFolder(source);
    return Step::Ok;
  }

  Step move(const std::string& source, const std::string& target) {
    const std::optional<EntryStat> s = platform::statEntry(source);
    if (!s) return fail(source, ENOENT);
    const std::optional<EntryStat> t = platform::statEntry(target);
    if (!t) {
      const int r = platform::renameNoReplace(source, target);
      if (r == 0) return Step::Ok;
      if (r == EXDEV) return copy(source, target, true, false);
      return fail(source, r);
    }
    if (s->kind == EntryKind::Folder && t->kind == EntryKind::Folder && !platform::sameEntry(*s, *t)) {
      // Into the folder of the same name: entry by entry.
      for (const std::string& name : platform::listNames(source)) {
        const Step step = move(platform::joinPath(source, name), platform::joinPath(target, name));
        if (step == Step::Aborted || step == Step::Failed) return step;
      }
      platform::removeEmptyFolder(source);
      return Step::Ok;
    }
    if (const Step step = replaceTarget(source, target, *s, *t); step != Step::Ok) return step;
    const int r = platform::renameReplacing(source, target);
    if (r == 0) return Step::Ok;
    if (r == EXDEV) return copy(source, target, true, true);
    return fail(source, r);
  }

  TransferMode mode_;
  CopyMoveScreen& screen_;
  base::Dialogs& dialogs_;
  bool all_ = false;
};

} // namespace

CopyMoveEnd copyOrMoveEntries(const std::vector<std::string>& sources, const std::string& destination,
                              TransferMode mode, CopyMoveScreen& screen, base::Dialogs& dialogs) {
  Transfer transfer(mode, screen, dialogs);
  for (const std::string& source : sources) {
    switch (transfer.top(source, destination)) {
    case Step::Aborted: return CopyMoveEnd::Aborted;
    case Step::Failed: return CopyMoveEnd::Failed;
    case Step::Ok:
    case Step::Skipped: break;
    }
  }
  return CopyMoveEnd::Done;
}

} // namespace kestrovan::files
