#include "files/RowText.h"
#include "platform/Text.h"

#include "files/DateText.h"
#include "files/NameText.h"
#include "platform/Cp932.h"

namespace kestrovan::files {
namespace {

constexpr std::string_view kDir = "<DIR>";
constexpr std::size_t kSizeEnd = 21;   // the size column ends here
constexpr std::size_t kDateStart = 23; // the date column starts here

// The part of a short name before its extension ("LONGNA~1.NC" -> "LONGNA~1").
std::string_view shortBase(std::string_view shortName) {
  const std::size_t dot = shortName.rfind('.');
  return dot == std::string_view::npos ? shortName : shortName.substr(0, dot);
}

} // namespace

RowLayout RowLayout::from(const ListOptions& options) {
  RowLayout layout;
  layout.columns = options.listColumn >= 1 && options.listColumn <= 5 ? options.listColumn : 5;
  layout.allFiles = options.allFiles == "Y";
  layout.longNames = options.op4 == "Y";
  return layout;
}

void insertAtColumn(std::string& row, std::size_t position, std::string_view text) {
  const std::size_t wanted = position > 0 ? position - 1 : 0;
  std::size_t width = 0;
  std::size_t pos = 0;
  while (pos < row.size() && width < wanted) {
    if (static_cast<unsigned char>(row[pos]) < 0x80) {
      ++width;
      ++pos;
      continue;
    }
    const std::size_t len = platform::utf8CharLength(row, pos);
    width += platform::cp932Width(std::string_view(row).substr(pos, len));
    pos += len;
  }
  row.insert(pos, text);
}

std::string entryText(const std::string& longName, const std::string* shortName, std::string_view sizeText,
                      std::string_view dateText, const RowLayout& layout) {
  if (layout.longNames) return layout.allFiles ? longName : std::string(withoutExtension(longName));
  if (!shortName) return longName;

  std::string row(36, ' ');
  row.reserve(72);
  insertAtColumn(row, 1, shortBase(*shortName));
  if (layout.allFiles) insertAtColumn(row, 9, platform::cp932Truncate(fileExtension(longName), 4));
  if (layout.columns <= 3) {
    const std::string_view size = platform::cp932Width(sizeText) > 8 ? "********" : sizeText;
    insertAtColumn(row, kSizeEnd + 1 - platform::cp932Width(size), size);
  }
  if (layout.columns <= 2) insertAtColumn(row, kDateStart, shortDateText(dateText));
  return row;
}

std::string parentRow(const RowLayout& layout, std::string_view folderDate) {
  if (layout.columns >= 4) return " ..";
  std::string row = " ..              <DIR>";
  if (layout.columns <= 2) {
    row += ' ';
    row += shortDateText(folderDate);
  }
  return row;
}

std::string folderRow(const FileEntry& folder, const std::string* shortName, const RowLayout& layout) {
  std::string row(layout.columns >= 4 ? " <DIR>" : " ");
  if (layout.columns >= 4)
    row += entryText(folder.name, shortName, {}, {}, layout);
  else
    row += entryText(folder.name, shortName, kDir, folder.dateText, layout);
  return row;
}

std::string fileRow(const FileEntry& file, const std::string* shortName, const RowLayout& layout) {
  std::string row(" ");
  row += entryText(file.name, shortName, file.sizeText, file.dateText, layout);
  return row;
}

} // namespace kestrovan::files
