// The settings reader and writer: any bytes parse; what is read and written
// back unchanged stays byte for byte; a value written reads back as written.

#include "FuzzSupport.h"
#include "platform/Cp932.h"
#include "platform/IniFile.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

using namespace kestrovan;

namespace {

// The section heads of the file, as a reader would name them in UTF-8: only
// those whose name survives the trip through UTF-8 (the others cannot be
// asked for by name).
std::vector<std::string> sectionNames(std::string_view bytes) {
  std::vector<std::string> names;
  size_t pos = 0;
  while (pos < bytes.size()) {
    size_t end = bytes.find_first_of("\r\n", pos);
    std::string_view raw = bytes.substr(pos, end == bytes.npos ? bytes.npos : end - pos);
    pos = end == bytes.npos ? bytes.size() : end + 1;
    while (!raw.empty() && (raw.front() == ' ' || raw.front() == '\t'))
      raw.remove_prefix(1);
    if (raw.empty() || raw.front() != '[') continue;
    raw.remove_prefix(1);
    raw = raw.substr(0, raw.find(']'));
    std::string utf8 = platform::cp932ToUtf8(raw);
    if (platform::utf8ToCp932(utf8) == raw) names.push_back(utf8);
  }
  return names;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const platform::IniFile ini = platform::IniFile::fromBytes(input);
  const std::string written = ini.toBytes();

  // Only line ends change: a file already in CR LF comes back as it was.
  fuzz::check(platform::IniFile::fromBytes(written).toBytes() == written,
              "a second read and write changed the file", input);
  bool crlfOnly = input.empty() || input.ends_with("\r\n");
  for (size_t i = 0; crlfOnly && i < input.size(); ++i)
    if ((input[i] == '\n' && (i == 0 || input[i - 1] != '\r')) ||
        (input[i] == '\r' && (i + 1 >= input.size() || input[i + 1] != '\n')))
      crlfOnly = false;
  if (crlfOnly) fuzz::check(written == input, "a CR LF file did not come back byte for byte", input);

  // Every value read and written back leaves the bytes as they were.
  platform::IniFile rewritten = ini;
  for (const std::string& section : sectionNames(input)) {
    for (const auto& [key, value] : ini.sectionEntries(section)) {
      (void)platform::parseProfileInteger(value);
      // A key with bytes that are no CP932, or a character CP932 has two codes
      // for, cannot be asked for by the name it reads as; nor can the second
      // of two keys of one name. Keys are looked up by their bytes.
      if (key.find("\xEF\xBF\xBD") != std::string::npos || ini.value(section, key) != value) continue;
      rewritten.writeString(section, key, value);
      (void)rewritten.readInteger(section, key, 7);
      (void)rewritten.readBool(section, key, true);
    }
  }
  fuzz::check(rewritten.toBytes() == written, "writing back the values read changed the file", input);

  // A value written reads back as written (CP932 can hold every character of
  // ASCII; line breaks become blanks), and the rest of the file stays.
  if (!input.empty()) {
    const size_t cut = static_cast<unsigned char>(input[0]) % input.size();
    std::string value(input.substr(cut, 40));
    bool ascii = true;
    for (char& c : value) {
      if (static_cast<unsigned char>(c) >= 0x80) ascii = false;
      if (c == '\r' || c == '\n') c = ' ';
    }
    while (!value.empty() && (value.front() == ' ' || value.front() == '\t'))
      value.erase(0, 1);
    while (!value.empty() && (value.back() == ' ' || value.back() == '\t'))
      value.pop_back();
    if (ascii) {
      rewritten.writeString("Fuzz Section", "Fuzz_Key", value);
      fuzz::check(rewritten.readString("fuzz section", "FUZZ_KEY", "-") == value,
                  "a written value did not read back", value);
      rewritten.writeInteger("Fuzz Section", "Number", static_cast<int32_t>(size) - 1000);
      fuzz::check(rewritten.readInteger("Fuzz Section", "Number", 0) == static_cast<int32_t>(size) - 1000,
                  "a written number did not read back");
      const std::string again = rewritten.toBytes();
      fuzz::check(platform::IniFile::fromBytes(again).toBytes() == again,
                  "a written file did not read back whole");
    }
  }
  return 0;
}
