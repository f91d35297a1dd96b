#include "dnc/DncConfig.h"

#include "platform/Cp932.h"
#include "platform/PortNames.h"
#include "serial/LineSettings.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <system_error>
#include <set>

namespace kestrovan::dnc {
namespace {

std::string lower(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

// What is wrong with `path` as a folder, or "" when it is one. A name the
// system refuses (too long, a folder that may not be looked into) is told,
// never thrown.
std::string folderFault(const std::string& path) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) return {};
  if (!ec || ec == std::errc::no_such_file_or_directory || ec == std::errc::not_a_directory)
    return "the folder " + path + " does not exist";
  return "the folder " + path + " cannot be used: " + ec.message();
}

std::string_view trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
    text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
    text.remove_suffix(1);
  return text;
}

// The offset of the first byte that is not Shift-JIS (CP932), or npos.
std::size_t firstBadByte(std::string_view bytes) {
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (b < 0x80 || (b >= 0xA1 && b <= 0xDF)) continue;
    if (platform::isCp932LeadByte(b) && i + 1 < bytes.size() &&
        platform::isCp932TrailByte(static_cast<unsigned char>(bytes[i + 1]))) {
      ++i;
      continue;
    }
    return i;
  }
  return std::string_view::npos;
}

// Where `c` (an ASCII character) first stands on its own, not as the second
// byte of a two-byte character; npos when nowhere.
std::size_t findAscii(std::string_view bytes, char c) {
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (bytes[i] == c) return i;
    if (platform::isCp932LeadByte(b)) ++i;
  }
  return std::string_view::npos;
}

std::vector<std::string_view> splitLines(std::string_view bytes) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] != '\r' && bytes[i] != '\n') continue;
    lines.push_back(bytes.substr(start, i - start));
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < bytes.size()) lines.push_back(bytes.substr(start));
  return lines;
}

struct Entry {
  std::string key; // as written
  std::string value;
  int line = 0;
};

struct Section {
  enum class Kind { Machine, Service } kind = Kind::Machine;
  std::string name;
  int line = 0;
  std::vector<Entry> entries;
};

class Parser {
public:
  Parser(const std::string& file, const ConfigContext& context) : file_(file), context_(context) {}

  ConfigParse parse(std::string_view bytes) {
    std::vector<Section> sections;
    int number = 0;
    for (std::string_view raw : splitLines(bytes)) {
      ++number;
      const std::string_view text = trim(raw);
      if (text.empty() || text.front() == ';') continue;
      if (text.front() == '[') {
        if (!head(text, number, sections)) return fail();
        continue;
      }
      const std::size_t eq = findAscii(text, '=');
      const std::string_view key = trim(text.substr(0, eq));
      if (const std::size_t bad = firstBadByte(text); bad != std::string_view::npos)
        return error(number, eq != std::string_view::npos && bad > eq ? platform::cp932ToUtf8(key) : "",
                     "a byte that is not Shift-JIS (CP932) at column " + std::to_string(bad + 1));
      if (eq == std::string_view::npos) return error(number, "", "not a KEY=VALUE line");
      if (sections.empty()) return error(number, std::string(key), "a key before the first section");
      if (key.empty()) return error(number, "", "a value without a key");
      Section& section = sections.back();
      for (const Entry& e : section.entries)
        if (lower(e.key) == lower(key))
          return error(number, std::string(key),
                       "given twice (first on line " + std::to_string(e.line) + ")");
      section.entries.push_back(
          {platform::cp932ToUtf8(key), platform::cp932ToUtf8(trim(text.substr(eq + 1))), number});
    }

    ServiceConfig config;
    for (const Section& section : sections) {
      if (section.kind == Section::Kind::Service) {
        if (!service(section, config)) return fail();
      } else {
        MachineConfig machine;
        if (!this->machine(section, machine)) return fail();
        for (const MachineConfig& other : config.machines)
          if (samePort(other, machine))
            return error(portLine(section), "Port",
                         "the port " + machine.port + " is already the port of machine " + other.name);
        config.machines.push_back(std::move(machine));
      }
    }
    if (config.machines.empty()) return error(0, "", "no [Machine NAME] section");
    ConfigParse parsed;
    parsed.config = std::move(config);
    return parsed;
  }

private:
  bool head(std::string_view text, int number, std::vector<Section>& sections) {
    if (const std::size_t bad = firstBadByte(text); bad != std::string_view::npos)
      return setError(number, "",
                      "a byte that is not Shift-JIS (CP932) in the section name, column " +
                          std::to_string(bad + 1));
    const std::size_t close = findAscii(text, ']');
    if (close == std::string_view::npos || !trim(text.substr(close + 1)).empty())
      return setError(number, "", "a section head is [Machine NAME] or [Service]");
    const std::string_view inner = trim(text.substr(1, close - 1));
    Section section;
    section.line = number;
    if (lower(inner) == "service") {
      section.kind = Section::Kind::Service;
      for (const Section& s : sections)
        if (s.kind == Section::Kind::Service)
          return setError(number, "", "[Service] given twice (first on line " + std::to_string(s.line) + ")");
    } else if (lower(inner.substr(0, 8)) == "machine " || lower(inner.substr(0, 8)) == "machine\t") {
      section.name = platform::cp932ToUtf8(trim(inner.substr(8)));
      if (!goodName(section.name))
        return setError(number, "",
                        "a machine name is letters, digits, \"-\", \"_\" or \".\", not beginning with \".\"");
      for (const Section& s : sections)
        if (s.kind == Section::Kind::Machine && lower(s.name) == lower(section.name))
          return setError(number, "",
                          "machine " + section.name + " given twice (first on line " +
                              std::to_string(s.line) + ")");
    } else {
      return setError(number, "", "a section head is [Machine NAME] or [Service]");
    }
    sections.push_back(std::move(section));
    return true;
  }

  // The name becomes the name of the machine's log file.
  static bool goodName(const std::string& name) {
    if (name.empty() || name.front() == '.') return false;
    for (char c : name) {
      const auto b = static_cast<unsigned char>(c);
      if (b >= 0x80) continue; // a Japanese name
      if (!std::isalnum(b) && c != '-' && c != '_' && c != '.') return false;
    }
    return true;
  }

  bool service(const Section& section, ServiceConfig& config) {
    for (const Entry& e : section.entries) {
      const std::string key = lower(e.key);
      if (key == "statusfile") {
        config.statusFile = e.value;
      } else if (key == "logfolder") {
        if (const std::string fault = folderFault(e.value); !fault.empty()) return setError(e.line, e.key, fault);
        config.logFolder = e.value;
      } else if (key == "retryseconds") {
        std::optional<int> n = integer(e.value, 1, 3600);
        if (!n) return setError(e.line, e.key, "a number of seconds from 1 to 3600");
        config.retrySeconds = *n;
      } else {
        return setError(e.line, e.key, "not a key of [Service] (StatusFile, LogFolder, RetrySeconds)");
      }
    }
    return true;
  }

  bool machine(const Section& section, MachineConfig& m) {
    m.name = section.name;
    m.line = section.line;
    std::set<std::string> seen;
    for (const Entry& e : section.entries) {
      const std::string key = lower(e.key);
      seen.insert(key);
      m.fingerprint += key + "=" + e.value + "\n";
      if (key == "port") {
        if (!port(e, m)) return false;
      } else if (key == "speed") {
        const serial::LineSettingsParse parsed = serial::parseLineSettings(e.value);
        if (parsed.error == serial::LineSettingsError::Speed)
          return setError(e.line, e.key, "the speed is 1200, 2400, 4800, 9600, 14400 or 19200");
        if (!parsed.settings) return setError(e.line, e.key, "speed,data bits,parity,stop bits (4800,7,E,2)");
        m.speed = e.value;
      } else if (key == "code") {
        const std::string v = lower(e.value);
        if (v == "iso")
          m.code = ReceiveCode::Iso;
        else if (v == "eia")
          m.code = ReceiveCode::Eia;
        else if (v == "auto")
          m.code = ReceiveCode::Auto;
        else
          return setError(e.line, e.key, "ISO, EIA or AUTO");
      } else if (key == "sendfolder" || key == "receivefolder") {
        if (e.value.empty() || e.value.front() != '/')
          return setError(e.line, e.key, "a folder from the root (/srv/nc/...)");
        if (const std::string fault = folderFault(e.value); !fault.empty()) return setError(e.line, e.key, fault);
        (key == "sendfolder" ? m.sendFolder : m.receiveFolder) = e.value;
      } else if (key == "request") {
        std::string_view v = e.value;
        if (!v.empty() && (v.front() == 'O' || v.front() == 'o')) v.remove_prefix(1);
        std::optional<int> n = v.size() <= 8 ? integer(v, 1, 99999999) : std::nullopt;
        if (!n || v.empty() || !std::all_of(v.begin(), v.end(), [](char c) { return c >= '0' && c <= '9'; }))
          return setError(e.line, e.key, "a program number such as O9999");
        m.request = *n;
      } else if (key == "send_before") {
        std::optional<int> n = integer(e.value, 0, 2);
        if (!n) return setError(e.line, e.key, "0 (none), 1 (blanks) or 2 (a pause)");
        m.sendBefore = *n;
      } else if (key == "startchar_type") {
        std::optional<int> n = integer(e.value, 1, 5);
        if (!n) return setError(e.line, e.key, "1 to 5");
        m.startCharType = *n;
      } else if (key == "endchar_type") {
        std::optional<int> n = integer(e.value, 1, 4);
        if (!n) return setError(e.line, e.key, "1 to 4");
        m.endCharType = *n;
      } else if (key == "startchar" || key == "endchar" || key == "dc3_0x93") {
        const std::string v = e.value == "y" ? "Y" : e.value == "n" ? "N" : e.value;
        if (v != "Y" && v != "N") return setError(e.line, e.key, "Y or N");
        (key == "startchar" ? m.startChar : key == "endchar" ? m.endChar : m.dc3x93) = v;
      } else {
        return setError(e.line, e.key,
                        "not a key of a machine (Port, Speed, Code, SendFolder, ReceiveFolder, Request, "
                        "Send_Before, StartChar, StartChar_Type, EndChar, EndChar_Type, DC3_0X93)");
      }
    }
    for (const char* required : {"Port", "SendFolder", "ReceiveFolder", "Request"})
      if (!seen.count(lower(required))) return setError(section.line, required, "missing");
    return true;
  }

  bool port(const Entry& e, MachineConfig& m) {
    m.port = e.value;
    if (std::optional<int> number = platform::portNumber(e.value)) {
      if (*number < platform::kFirstPort || *number > platform::kLastPort)
        return setError(e.line, e.key, "COM1 to COM30, a device path or an rfc2217:// or tcp:// address");
      m.device = context_.comDevice ? context_.comDevice(*number) : std::string();
      if (m.device.empty()) return setError(e.line, e.key, e.value + " names no device");
      return true;
    }
    if (e.value.starts_with("/") || e.value.starts_with("rfc2217://") || e.value.starts_with("tcp://")) {
      m.device = e.value;
      return true;
    }
    return setError(e.line, e.key, "COM1 to COM30, a device path or an rfc2217:// or tcp:// address");
  }

  static std::optional<int> integer(std::string_view text, int low, int high) {
    if (text.empty() || text.size() > 9) return std::nullopt;
    int value = 0;
    for (char c : text) {
      if (c < '0' || c > '9') return std::nullopt;
      value = value * 10 + (c - '0');
    }
    if (value < low || value > high) return std::nullopt;
    return value;
  }

  // Two machines on one device, however it is named (a link to it too).
  static bool samePort(const MachineConfig& a, const MachineConfig& b) {
    auto resolved = [](const std::string& device) {
      if (!device.starts_with("/")) return device;
      std::error_code ec;
      std::filesystem::path p = std::filesystem::weakly_canonical(device, ec);
      return ec ? device : p.string();
    };
    return resolved(a.device) == resolved(b.device);
  }

  int portLine(const Section& section) const {
    for (const Entry& e : section.entries)
      if (lower(e.key) == "port") return e.line;
    return section.line;
  }

  bool setError(int line, const std::string& key, const std::string& message) {
    error_ = ConfigError{file_, line, key, message};
    return false;
  }
  ConfigParse error(int line, const std::string& key, const std::string& message) {
    setError(line, key, message);
    return fail();
  }
  ConfigParse fail() {
    ConfigParse parsed;
    parsed.error = error_;
    return parsed;
  }

  std::string file_;
  const ConfigContext& context_;
  ConfigError error_;
};

} // namespace

std::string ConfigError::text() const {
  std::string out = file;
  if (line > 0) out += ":" + std::to_string(line);
  out += ": ";
  if (!key.empty()) out += key + ": ";
  return out + message;
}

ConfigParse parseDncConfig(std::string_view cp932, const std::string& fileName,
                           const ConfigContext& context) {
  return Parser(fileName, context).parse(cp932);
}

ConfigParse loadDncConfig(const std::string& path, const ConfigContext& context) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    ConfigParse parsed;
    parsed.error = ConfigError{path, 0, "", "cannot be read"};
    return parsed;
  }
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return parseDncConfig(bytes, path, context);
}

} // namespace kestrovan::dnc
