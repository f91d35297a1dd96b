#include "files/StatusLines.h"

#include "files/SizeText.h"
#include "platform/Cp932.h"
#include "platform/Paths.h"

namespace kestrovan::files {

std::string headerLine(const std::string& folder, const ListOptions& options,
                       std::optional<std::size_t> entryCount) {
  constexpr std::size_t kPathColumns = 67;
  const std::string path =
      " Path=" + platform::joinPath(folder, options.allFiles == "Y" ? "*.*" : options.mask);
  std::string line = platform::cp932Truncate(path, kPathColumns);
  // A two-byte character across the cut is dropped whole; the padding keeps
  // the count in its place.
  line.append(kPathColumns - platform::cp932Width(line), ' ');
  line += "     ﾌｧｲﾙ数 :";
  line += entryCount ? std::to_string(*entryCount) : std::string("????");
  return line;
}

std::string parentInfoLine() { return "　  一つ上のﾌｫﾙﾀﾞに移動(Enter)"; }

std::string folderInfoLine(const FileEntry& folder) {
  return "　  ﾌｫﾙﾀﾞ詳細:<DIR>" + folder.name + "  日付 :" + folder.dateText;
}

std::string fileInfoLine(const FileEntry& file) {
  return "　　ﾌｧｲﾙ詳細 :" + file.name + "  ｻｲｽﾞ :" + sizeText(file.size) + "  日付 :" + file.dateText;
}

} // namespace kestrovan::files
