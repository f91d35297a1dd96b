#include "files/ui/CopyMoveCommands.h"

#include "base/Dialogs.h"
#include "base/SettingsRecord.h"
#include "files/CopyTargets.h"
#include "files/FileList.h"
#include "files/ui/QtCopyProgress.h"
#include "host/Host.h"
#include "platform/EntryOps.h"
#include "platform/FileCopy.h"
#include "platform/Paths.h"

namespace kestrovan::files {
namespace {
constexpr const char* kSelectFile = "ファイルを選択してください。!!";
constexpr const char* kCopyDone = "ファイルコピー完了";
} // namespace

CopyMoveCommands::CopyMoveCommands(host::Host& host, host::FolderBrowser& browser, Trash& trash)
    : host_(host), trash_(trash),
      form_(host, browser, [this](const std::vector<std::string>& sources, const std::string& destination) {
        CopyOrMoveFiles(sources, destination, form_.mode());
      }) {}

void CopyMoveCommands::openDialog(TransferMode mode, std::vector<std::string> names, bool marked) {
  host_.RecordWindowRect();
  form_.open(mode, std::move(names), [this, marked] {
    if (marked) host_.fileList().marks().clear();
  });
}

void CopyMoveCommands::copyCommand() {
  FileList& list = host_.fileList();
  if (list.marks().count() > 0) return openDialog(TransferMode::Copy, list.takeMarkedNames(), true);
  const int row = host_.selectedRow();
  switch (list.rowKind(row)) {
  case RowKind::Folder: return openDialog(TransferMode::Copy, {list.entryAt(row)->name}, false);
  case RowKind::Parent: return;
  case RowKind::None: return host_.showMessage(kSelectFile, host::MessageColour::Lime);
  case RowKind::File: break;
  }
  promptSource_ = list.entryPath(row);
  host_.OpenPrompt(host::PromptMode::CopyName, "コピー元 " + list.entryAt(row)->name + " -->>>コピー後 ");
}

void CopyMoveCommands::moveCommand() {
  FileList& list = host_.fileList();
  if (list.marks().count() > 0) return openDialog(TransferMode::Move, list.takeMarkedNames(), true);
  const int row = host_.selectedRow();
  const RowKind kind = list.rowKind(row);
  if (kind == RowKind::Folder || kind == RowKind::File)
    openDialog(TransferMode::Move, {list.entryAt(row)->name}, false);
}

CopyMoveCommands::CopyStep CopyMoveCommands::copyOver(const std::string& source, const std::string& target,
                                                      QtCopyProgress& progress, bool& replaceAll) {
  auto refuse = [&](const std::string& text) {
    host_.dialogs().show(
        {modeTitle(TransferMode::Copy), text, base::MessageButtons::Ok, base::MessageIcon::Error});
    return CopyStep::Failed;
  };
  const std::optional<platform::EntryStat> s = platform::statEntry(source);
  const std::optional<platform::EntryStat> t = platform::statEntry(target);
  if (!s) return refuse(source + " をコピーできませんでした。\n" + failureReason(ENOENT));
  if (!platform::isRegularFile(source)) return refuse(source + " はコピーできない種類のファイルです。");
  if (t && platform::sameEntry(*s, *t)) return refuse(source + " はコピー元とコピー先が同じファイルです。");
  if (t && t->kind == platform::EntryKind::Folder) return refuse(target + " は同じ名前のフォルダーです。");
  if (t && t->readOnly) return refuse(target + " は読み取り専用のため置き換えられません。");
  if (t && !replaceAll) {
    switch (progress.askOverwrite(source, target)) {
    case OverwriteAnswer::Yes: break;
    case OverwriteAnswer::All: replaceAll = true; break;
    case OverwriteAnswer::No: return CopyStep::Skipped;
    case OverwriteAnswer::Cancel: return CopyStep::Stopped;
    }
  }
  progress.copying(source, target, s->size);
  const platform::CopyResult r =
      platform::copyFile(source, target, {.replace = t.has_value(), .durable = t.has_value()},
                         [&progress](std::uint64_t copied) { return progress.keepGoing(copied); });
  if (r.end == platform::CopyEnd::Stopped) return CopyStep::Stopped;
  if (!r) return refuse(source + " をコピーできませんでした。\n" + failureReason(r.error));
  return CopyStep::Copied;
}

void CopyMoveCommands::promptCopy(const std::string& typed) {
  const base::SettingsRecord& s = host_.settings();
  const std::string target = copyPromptTarget(s.DirPath, typed, s.ALL_Files, s.Mask);
  host_.closePrompt();
  CopyStep step;
  {
    QtCopyProgress progress(host_, TransferMode::Copy);
    bool replaceAll = false;
    step = copyOver(promptSource_, target, progress, replaceAll);
  }
  host_.refreshFileList({});
  // However it ended, the prompt's text goes: a copy that did not happen
  // must not leave "コピー元 ... -->>>コピー後" standing over the list.
  host_.showMessage(step == CopyStep::Copied ? kCopyDone : "", host::MessageColour::Lime);
  host_.ReturnToIdle(1000);
  host_.setListEnabled(true);
  host_.focusList();
}

CopyMoveEnd CopyMoveCommands::CopyOrMoveFiles(const std::vector<std::string>& sources,
                                              const std::string& destination, TransferMode mode) {
  CopyMoveEnd end;
  {
    QtCopyProgress progress(host_, mode);
    end = copyOrMoveEntries(sources, destination, mode, progress, host_.dialogs());
  }
  if (end == CopyMoveEnd::Aborted) return end;
  if (mode == TransferMode::Move) host_.refreshFileList({.keepSelection = true});
  if (end == CopyMoveEnd::Done)
    host_.dialogs().show(
        {"完了", mode == TransferMode::Copy ? "ファイルをコピーしました。" : "ファイルを移動しました。",
         base::MessageButtons::Ok, base::MessageIcon::Information});
  return end;
}

void CopyMoveCommands::copyDroppedFiles(const std::vector<std::string>& paths) {
  const std::string& dir = host_.settings().DirPath;
  bool ended = false; // stopped, cancelled or failed
  {
    QtCopyProgress progress(host_, TransferMode::Copy);
    bool replaceAll = false;
    for (const std::string& path : paths) {
      if (!platform::statEntry(path) || platform::isDirectory(path)) continue;
      const CopyStep step =
          copyOver(path, platform::joinPath(dir, platform::baseNameOf(path)), progress, replaceAll);
      ended = step == CopyStep::Stopped || step == CopyStep::Failed;
      if (ended) break;
    }
  }
  host_.refreshFileList({});
  if (!ended) host_.showMessage(kCopyDone, host::MessageColour::Lime);
  host_.ReturnToIdle(1000);
  host_.setListEnabled(true);
}

void CopyMoveCommands::DeleteEntries() {
  FileList& list = host_.fileList();
  const int row = host_.selectedRow();
  if (list.rowKind(row) == RowKind::None) {
    host_.showMessage(kSelectFile, host::MessageColour::Lime);
    host_.focusList();
    return;
  }
  std::vector<std::string> paths;
  bool folder = false;
  if (list.marks().count() > 0) {
    for (const std::string& name : list.takeMarkedNames())
      paths.push_back(platform::joinPath(list.folder(), name));
    list.marks().clear();
  } else {
    if (list.rowKind(row) == RowKind::Parent) return;
    folder = list.rowKind(row) == RowKind::Folder;
    paths.push_back(list.entryPath(row));
  }
  if (files::DeleteEntries(paths, folder, host_.dialogs(), trash_) == DeleteEnd::Cancelled) return;
  host_.refreshFileList({});
  host_.ReturnToIdle(1000);
}

} // namespace kestrovan::files
