// Command-line items: any arguments are cut into items and each applied to
// the settings without a crash; the items of the slash form hold no "/" and
// no blanks or control characters at either end; whatever an item sets, the
// settings still save and read back.
//
// Input: arguments separated by NUL bytes. The file system is a fake: a path
// is a file or a folder by its length, so that every branch is reachable.

#include "FuzzSupport.h"
#include "base/Dialogs.h"
#include "base/RunState.h"
#include "base/SettingsRecord.h"
#include "core/CommandLine.h"
#include "core/CommandLineInterpreter.h"
#include "platform/IniFile.h"

#include <cstdint>
#include <string>
#include <vector>

using namespace kestrovan;

namespace {

class FakeFileSystem : public core::ItemFileSystem {
public:
  bool isDirectory(const std::string& path) override { return path.size() % 3 == 0; }
  bool isFile(const std::string& path) override { return path.size() % 3 == 1; }
  bool copyFile(const std::string& from, const std::string& to) override {
    fuzz::check(!from.empty() && !to.empty(), "a copy without a name");
    return from.size() % 2 == 0;
  }
  bool sameContents(const std::string& a, const std::string& b) override { return (a.size() + b.size()) % 2 == 0; }
  std::string workingFolder() override { return "/work/here"; }
};

class Answers : public base::Dialogs {
public:
  base::MessageAnswer show(const base::Message& message) override {
    fuzz::check(!message.text.empty(), "an empty message box");
    ++count;
    return count % 2 ? base::MessageAnswer::Yes : base::MessageAnswer::No;
  }
  int count = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string> args(1);
  for (size_t i = 0; i < size; ++i) {
    if (data[i] == 0)
      args.emplace_back();
    else
      args.back() += static_cast<char>(data[i]);
  }
  const bool slashForm = !args.front().empty() && args.front().front() == '/';
  const auto items = core::cutCommandLine(args, [](const std::string& p) { return p.size() % 5 == 0; });
  if (slashForm && args.front().size() % 5 != 0) {
    for (const std::string& item : items) {
      fuzz::check(!item.empty() && item.find('/') == std::string::npos, "a slash-form item holds a slash",
                  item);
      const auto front = static_cast<unsigned char>(item.front()),
                 back = static_cast<unsigned char>(item.back());
      fuzz::check(front > 0x20 && front != 0x7f && back > 0x20 && back != 0x7f, "an item is not trimmed",
                  item);
    }
  }

  FakeFileSystem fs;
  Answers dialogs;
  base::SettingsRecord settings = base::defaultSettings("/home/op");
  base::RunState run;
  (void)core::isUnattendedRun(items, fs);
  for (const std::string& item : items) {
    (void)core::itemKind(item, fs);
    core::interpretItem(item, settings, run, dialogs, fs);
  }

  platform::IniFile ini;
  base::saveSettings(settings, ini);
  const base::SettingsRecord again =
      base::loadSettings(platform::IniFile::fromBytes(ini.toBytes()), "/home/op");
  platform::IniFile second;
  base::saveSettings(again, second);
  // Blanks at the ends of a value do not survive the settings file (a folder
  // item "A " saves as "A"), so only a second trip must change nothing.
  platform::IniFile third;
  base::saveSettings(base::loadSettings(platform::IniFile::fromBytes(second.toBytes()), "/home/op"), third);
  fuzz::check(third.toBytes() == second.toBytes(), "settings did not save and read back", second.toBytes());
  return 0;
}
