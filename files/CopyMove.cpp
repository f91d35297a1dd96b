#include "files/CopyMove.h"

#include "base/Dialogs.h"
#include "platform/DirectoryEnum.h"
#include "platform/EntryOps.h"
#include "platform/FileCopy.h"
#include "platform/Paths.h"

#include <algorithm>
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
  case ELOOP: return "リンクが、それを含むフォルダーを指しています。";
  default: break;
  }
  return "エラー " + std::to_string(error) + " (" + std::strerror(error) + ")";
}

namespace {

const char* verbOf(TransferMode mode) { return mode == TransferMode::Copy ? "コピー" : "移動"; }

// `destination` (resolved) is `folder` (resolved) or lies below it.
bool holds(const std::string& folder, const std::string& destination) {
  if (folder.empty() || destination.empty()) return false;
  return destination == folder ||
         (destination.size() > folder.size() && destination.compare(0, folder.size(), folder) == 0 &&
          (folder == "/" || destination[folder.size()] == '/'));
}

// A folder being copied, by what it is on the disk.
struct FolderId {
  std::uint64_t device, inode;
  bool operator==(const FolderId&) const = default;
};

// The most unreadable folders a box names one by one.
constexpr std::size_t kNamedUnreadable = 10;

enum class Step { Ok, Skipped, Aborted, Failed };

class Transfer {
public:
  Transfer(TransferMode mode, CopyMoveScreen& screen, base::Dialogs& dialogs)
      : mode_(mode), screen_(screen), dialogs_(dialogs) {}

  Step top(const std::string& source, const std::string& destination) {
    if (!platform::statEntry(source)) return fail(source, ENOENT);
    if (!folderHoldingDestination({source}, destination, mode_).empty())
      return refuse(intoItselfText(source, mode_));
    const std::string target = platform::joinPath(destination, platform::baseNameOf(source));
    return mode_ == TransferMode::Copy ? copy(source, target, false, false) : move(source, target);
  }

  // The folders that could not be read, told in one box; true when there
  // were any.
  bool tellUnreadable() {
    if (unreadable_.empty()) return false;
    std::string names;
    for (std::size_t i = 0; i < unreadable_.size() && i < kNamedUnreadable; ++i)
      names += unreadable_[i].first + "\n";
    if (unreadable_.size() > kNamedUnreadable)
      names += "ほか " + std::to_string(unreadable_.size() - kNamedUnreadable) + " 個のフォルダー\n";
    refuse(names + "を読み取れないため、" + verb() + "できませんでした。\n" +
           failureReason(unreadable_.front().second));
    return true;
  }

private:
  std::string verb() const { return verbOf(mode_); }

  Step refuse(const std::string& text) {
    dialogs_.show({modeTitle(mode_), text, base::MessageButtons::Ok, base::MessageIcon::Error});
    return Step::Failed;
  }
  Step fail(const std::string& path, int error) {
    return refuse(path + " を" + verb() + "できませんでした。\n" + failureReason(error));
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
    std::optional<EntryStat> s = platform::statEntry(source);
    if (!s) return fail(source, ENOENT);
    // A copy takes what the link points to; a move takes the link along.
    const bool followed = s->kind == EntryKind::Link && !removeSource;
    if (followed) {
      s = platform::statFollowing(source);
      if (!s) return fail(source, ENOENT);
    }
    const std::optional<EntryStat> t = platform::statEntry(target);
    if (s->kind == EntryKind::Folder) {
      if (followed) {
        if (holds(platform::canonicalPath(source), platform::resolvedPath(platform::parentFolder(target))))
          return refuse(intoItselfText(source, mode_));
        if (std::find(walked_.begin(), walked_.end(), FolderId{s->device, s->inode}) != walked_.end())
          return fail(source, ELOOP);
      }
      return copyFolder(source, target, *s, t, removeSource);
    }
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
      if (const int r = platform::removeFile(source); r != 0) return keptBoth(source, target, r);
    return Step::Ok;
  }

  // A move across file systems copied `source` but could not remove it.
  Step keptBoth(const std::string& source, const std::string& target, int error) {
    return refuse(source + " を " + target + " にコピーしましたが、移動元から削除できなかったため、" +
                  "移動元にも残っています。\n" + failureReason(error));
  }

  // The names in `folder`; nothing, and the folder noted for the box at the
  // end, when it cannot be read.
  std::optional<std::vector<std::string>> namesIn(const std::string& folder) {
    platform::NameList list = platform::readNames(folder);
    if (list.error == 0) return std::move(list.names);
    unreadable_.emplace_back(folder, list.error);
    return std::nullopt;
  }

  Step copyFolder(const std::string& source, const std::string& target, const EntryStat& s,
                  const std::optional<EntryStat>& t, bool removeSource) {
    if (t && t->kind != EntryKind::Folder) return fail(target, EEXIST);
    if (t && platform::sameEntry(s, *t))
      return refuse(source + " は" + verb() + "元と" + verb() + "先が同じフォルダーです。");
    // Read before anything is made: a folder that cannot be read leaves no
    // empty one at the destination.
    const std::optional<std::vector<std::string>> names = namesIn(source);
    if (!names) return Step::Skipped;
    if (!t)
      if (const int r = platform::makeFolder(target); r != 0) return fail(target, r);
    walked_.push_back({s.device, s.inode});
    Step end = Step::Ok;
    for (const std::string& name : *names) {
      const Step step =
          copy(platform::joinPath(source, name), platform::joinPath(target, name), removeSource, false);
      if (step == Step::Aborted || step == Step::Failed) {
        end = step;
        break;
      }
    }
    walked_.pop_back();
    if (end != Step::Ok) return end;
    // Made here, and everything in it passed over (it could not be read):
    // no empty folder stands for it.
    if (!t && !names->empty() && platform::listNames(target).empty()) {
      platform::removeEmptyFolder(target);
      return Step::Skipped;
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
      const std::optional<std::vector<std::string>> names = namesIn(source);
      if (!names) return Step::Skipped;
      for (const std::string& name : *names) {
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
  std::vector<FolderId> walked_;                        // the folders being copied, outermost first
  std::vector<std::pair<std::string, int>> unreadable_; // folder, errno
};

} // namespace

std::string folderHoldingDestination(const std::vector<std::string>& sources, const std::string& destination,
                                     TransferMode mode) {
  const std::string d = platform::resolvedPath(destination);
  for (const std::string& source : sources) {
    const std::optional<EntryStat> s =
        mode == TransferMode::Copy ? platform::statFollowing(source) : platform::statEntry(source);
    if (s && s->kind == EntryKind::Folder && holds(platform::canonicalPath(source), d)) return source;
  }
  return {};
}

std::string intoItselfText(const std::string& folder, TransferMode mode) {
  return "フォルダー " + folder + " は、その中へは" + verbOf(mode) + "できません。";
}

CopyMoveEnd copyOrMoveEntries(const std::vector<std::string>& sources, const std::string& destination,
                              TransferMode mode, CopyMoveScreen& screen, base::Dialogs& dialogs) {
  Transfer transfer(mode, screen, dialogs);
  CopyMoveEnd end = CopyMoveEnd::Done;
  for (const std::string& source : sources) {
    const Step step = transfer.top(source, destination);
    if (step == Step::Aborted) return CopyMoveEnd::Aborted;
    if (step == Step::Failed) {
      end = CopyMoveEnd::Failed;
      break;
    }
  }
  if (transfer.tellUnreadable()) end = CopyMoveEnd::Failed;
  return end;
}

} // namespace kestrovan::files
