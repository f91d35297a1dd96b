#include "core/CommandLineInterpreter.h"
#include "platform/Text.h"

#include "base/Dialogs.h"
#include "base/SettingsRecord.h"
#include "core/AppState.h"
#include "platform/FileCopy.h"
#include "platform/Paths.h"
#include "platform/StagedFile.h"

#include <fstream>

namespace kestrovan::core {
namespace {

std::string withoutFirstSlash(std::string s) {
  if (size_t p = s.find('/'); p != std::string::npos) s.erase(p, 1);
  return s;
}

bool contains(const std::string& s, const char* part) { return s.find(part) != std::string::npos; }

// "*" and the extension of a file name, from its last dot: "O1234.NC" and
// ".NC" give "*.NC".
std::string maskFor(const std::string& path) {
  const std::string name = platform::baseNameOf(path);
  const size_t dot = name.rfind('.');
  return dot == std::string::npos ? "*" : "*" + name.substr(dot);
}

// The path of an S= or R= item: the item without its two marker characters;
// a bare name is taken from the data folder, any other relative path is read
// against the working folder as every command-line program reads it. The "/"
// that ends an item of the slash form ("S=O1234.NC/") or stands before its
// marker ("/S=O1234.NC") is no part of the path: here "/" is also the
// separator inside a path.
std::string transferPath(const std::string& item, const std::string& marker, const std::string& dirPath,
                         ItemFileSystem& fs) {
  const size_t at = platform::asciiUpper(item).find(marker);
  std::string rest = item;
  rest.erase(at, 2);
  if (at == 1 && rest.front() == '/') rest.erase(0, 1);
  if (rest.size() > 1 && rest.back() == '/') rest.pop_back();
  if (!contains(rest, "/")) return platform::joinPath(dirPath, rest);
  return platform::pathFrom(fs.workingFolder(), rest);
}

// The question before an existing file is replaced, as R= asks it.
base::MessageAnswer askOverwrite(base::Dialogs& dialogs, const std::string& path) {
  return dialogs.show({"警告", "すでに" + path + "が有ります。\n上書きしますか？",
                       base::MessageButtons::YesNo, base::MessageIcon::Warning});
}

// A file named by its path is copied into the data folder. A different file
// of that name there is replaced only when the operator says so (a run with
// END answers No, keeping it, and says so); the same file, or the same
// bytes, is left as it is. A failed copy is not reported: the run goes on
// with what is there.
void bringIn(const std::string& from, const std::string& dirPath, base::Dialogs& dialogs,
             ItemFileSystem& fs) {
  const std::string to = platform::joinPath(dirPath, platform::baseNameOf(from));
  if (fs.isFile(to)) {
    if (fs.sameContents(from, to)) return;
    if (askOverwrite(dialogs, to) != base::MessageAnswer::Yes) return;
  }
  fs.copyFile(from, to);
}

} // namespace

bool RealItemFileSystem::isDirectory(const std::string& path) { return platform::isDirectory(path); }
bool RealItemFileSystem::isFile(const std::string& path) { return platform::isRegularFile(path); }
bool RealItemFileSystem::copyFile(const std::string& from, const std::string& to) {
  return static_cast<bool>(platform::copyFileReplacing(from, to));
}
bool RealItemFileSystem::sameContents(const std::string& a, const std::string& b) {
  if (platform::sameFile(a, b)) return true;
  std::ifstream x(a, std::ios::binary), y(b, std::ios::binary);
  if (!x || !y) return false;
  char bx[65536], by[65536];
  for (;;) {
    x.read(bx, sizeof bx);
    y.read(by, sizeof by);
    const std::streamsize n = x.gcount();
    if (n != y.gcount() || std::char_traits<char>::compare(bx, by, static_cast<size_t>(n)) != 0) return false;
    if (n == 0) return x.eof() && y.eof();
  }
}
std::string RealItemFileSystem::workingFolder() { return platform::currentFolder(); }

ItemKind itemKind(const std::string& item, ItemFileSystem& fs) {
  const std::string u = platform::asciiUpper(item);
  const bool hasSend = contains(u, "S="), hasReceive = contains(u, "R=");
  // An absolute path plays the part of a path with a drive colon. Here "/"
  // also begins the items of the slash form, so an item that names nothing
  // on disk ("/COM2", "/END", "/9600,7,E,2") is read by the other rules
  // first, and becomes the data folder (to be offered for creation) only
  // when none of them takes it.
  const bool absolute = platform::isAbsolutePath(item);
  const bool existingFolder = absolute && fs.isDirectory(item);

  if (existingFolder && !hasSend && !hasReceive) return ItemKind::Folder;
  if (hasSend) return ItemKind::Send;
  if (hasReceive) return ItemKind::Receive;
  if (contains(item, "COM") && item.size() <= 5) return ItemKind::Port;
  if (contains(item, ".") && contains(item, "*") && !contains(item, ":")) return ItemKind::Mask;
  if (contains(item, ",")) return ItemKind::LineSettings;
  if (absolute && fs.isFile(item)) return ItemKind::FileToBringIn;
  if (contains(u, "END") && item.size() <= 4) return ItemKind::End;
  if (absolute && !existingFolder) return ItemKind::MissingFolder;
  return ItemKind::Ignored;
}

bool isUnattendedRun(const std::vector<std::string>& items, ItemFileSystem& fs) {
  bool transfer = false, end = false;
  for (const std::string& item : items) {
    const ItemKind kind = itemKind(item, fs);
    transfer = transfer || kind == ItemKind::Send || kind == ItemKind::Receive;
    end = end || kind == ItemKind::End;
  }
  return transfer && end;
}

void interpretItem(const std::string& item, base::SettingsRecord& s, base::RunState& run,
                   base::Dialogs& dialogs, ItemFileSystem& fs) {
  const std::string u = platform::asciiUpper(item);
  switch (itemKind(item, fs)) {
  case ItemKind::Folder:
  case ItemKind::MissingFolder: s.DirPath = platform::stripTrailingSeparator(item); return;
  case ItemKind::Send: {
    const std::string path = transferPath(item, "S=", s.DirPath, fs);
    s.DirPath = platform::parentFolder(path);
    s.Mask = maskFor(path);
    run.sendFileName = platform::baseNameOf(path);
    if (fs.isFile(path)) {
      run.PendingSend = "Y";
    } else {
      dialogs.show({"エラー", "送信データ\n" + path + "が見つかりません。", base::MessageButtons::Ok,
                    base::MessageIcon::Error});
      run.PendingSend = "N";
    }
    return;
  }
  case ItemKind::Receive: {
    const std::string path = transferPath(item, "R=", s.DirPath, fs);
    s.DirPath = platform::parentFolder(path);
    s.Mask = maskFor(path);
    run.receivePath = path;
    run.PendingReceive = "Y";
    if (fs.isFile(path)) {
      run.PendingReceive = askOverwrite(dialogs, path) == base::MessageAnswer::Yes ? "Y" : "N";
    }
    return;
  }
  case ItemKind::Port: s.Port = withoutFirstSlash(u); return;
  case ItemKind::Mask: s.Mask = withoutFirstSlash(u); return;
  case ItemKind::LineSettings: s.Speed = withoutFirstSlash(u); return;
  case ItemKind::FileToBringIn:
    bringIn(item, s.DirPath, dialogs, fs);
    s.Mask = maskFor(item);
    return;
  case ItemKind::End: run.ExitAfterTransfer = true; return;
  case ItemKind::Ignored: return;
  }
}

} // namespace kestrovan::core
