#pragma once
// Time stamps of the listing as text, in the computer's local time.

#include <cstdint>
#include <string>
#include <string_view>

namespace kestrovan::files {

// A folder's last write as "YYYY-MM-DD HH:NN:SS"; empty when the time is zero
// or cannot be converted.
std::string folderDateText(std::int64_t secondsSinceEpoch);

// A file's modification time as "YYYY-MM-DD HH:NN:SS" in the two-second steps
// of a packed file date (odd seconds round down), as file managers on the
// shop floor have always shown it. Empty outside the years 1980 to 2107,
// which a packed date cannot hold.
std::string fileDateText(std::int64_t secondsSinceEpoch);

// "YYYY-MM-DD HH:NN:SS" -> "YY-MM-DD HH:NN", the form of the list's date
// column; shorter input gives what there is of that range.
std::string_view shortDateText(std::string_view dateText);

} // namespace kestrovan::files
