#pragma once
// The rules of the file information dialog (I): the lines it shows for an
// entry, the type name with its fallback, the six fields of the
// modification time with their checks, and writing a change back.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kestrovan::files {

inline constexpr const char* kFileInfoTitle = "ﾌｧｲﾙ情報";
inline constexpr const char* kFolderTypeName = "ﾌｧｲﾙ ﾌｫﾙﾀﾞ";
inline constexpr const char* kProgramTypeName = "ｱﾌﾟﾘｹｰｼｮﾝ";
inline constexpr const char* kIconlessProgramTypeName = "DOSｱﾌﾟﾘｹｰｼｮﾝ";

std::string typeLine(std::string_view type);       // "種類 :　　　" + type
std::string locationLine(std::string_view folder); // "場所 :　　　" + the folder with its "/"
// The size of a file from its full size: bytes below 1024, else KB, and MB
// or GB above one of those, each with the byte count behind it
// ("1.000KB (1,024ﾊﾞｲﾄ)").
std::string sizeLine(std::uint64_t bytes);
std::string folderSizeLine(); // "サイズ :　　0"
// A number with a comma between every three digits ("1,024").
std::string groupedDigits(std::uint64_t n);

// What the desktop knows of a file's type: its name (empty when it knows
// none) and whether it has an icon for it.
struct DesktopType {
  std::string name;
  bool icon = false;
};
// The type shown for a file that is not a program: the desktop's name, or
// the extension without its dot in upper case and " ﾌｧｲﾙ" when the desktop
// has no name or no icon for it ("NC ﾌｧｲﾙ"; just "ﾌｧｲﾙ" without an extension).
std::string fileTypeName(std::string_view fileName, const DesktopType& desktop);

// --- the modification time: year, month, day, hour, minute, second
inline constexpr int kTimeFieldCount = 6;
using TimeFields = std::array<std::string, kTimeFieldCount>;
inline constexpr std::array<int, kTimeFieldCount> kTimeFieldLength = {4, 2, 2, 2, 2, 2};

// The fields of a moment in local time, leading zeros kept; a file's time in
// the two-second steps of a packed file date (odd seconds go down), a
// folder's to the second. All empty when the time cannot be converted.
TimeFields timeFieldsOf(std::int64_t secondsSinceEpoch, bool twoSecondSteps);

// The check of one field (index 0 to 5): its message when the text is out
// of its range or empty, nothing when it passes.
std::optional<std::string> timeFieldRefusal(int field, std::string_view text);

struct TimeRefusal {
  int field; // 0 to 5
  std::string message;
};
// Checks the six fields in order, then the day against its month (31 April
// is refused like any out-of-range day, with the month's own range), and a
// time the local clocks skip (daylight saving time) with the message of the
// first field it would change, the hour for a skipped hour. The
// moment to write, in seconds since 1970-01-01 UTC, its local second taken
// down to an even one as a packed file date holds it.
struct TimeCheck {
  std::optional<std::int64_t> seconds;
  std::optional<TimeRefusal> refusal;
};
TimeCheck checkTimeFields(const TimeFields& fields);

// --- writing a change back
struct FileInfoChange {
  std::string path;
  std::optional<std::int64_t> modified; // set when the time fields were changed
  std::optional<bool> readOnly;         // set when the read-only box was changed
};
// The time is written first, then the read-only state. Each part that
// failed is named; nothing when all went through.
std::optional<std::string> applyFileInfo(const FileInfoChange& change);

} // namespace kestrovan::files
