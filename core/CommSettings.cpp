#include "core/CommSettings.h"

#include "base/SettingsRecord.h"
#include "platform/Text.h"
#include "serial/PortProbe.h"

#include <algorithm>
#include <cstring>

namespace kestrovan::core {
namespace {

bool startsWithNoCase(const std::string& entry, const std::string& prefix) {
  if (prefix.size() > entry.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i)
    if (platform::asciiUpper(entry[i]) != platform::asciiUpper(prefix[i])) return false;
  return true;
}

std::string upperAscii(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](char c) { return platform::asciiUpper(c); });
  return text;
}

} // namespace

const std::vector<std::string>& lineSettingsEntries() {
  static const std::vector<std::string> entries = [] {
    std::vector<std::string> list;
    for (const char* speed : {"1200", "2400", "4800", "9600", "14400", "19200"})
      for (const char* pattern :
           {",8,N,1", ",8,N,2", ",7,N,1", ",7,N,2", ",7,E,1", ",7,E,2", ",7,O,1", ",7,O,2"})
        list.push_back(std::string(speed) + pattern);
    return list;
  }();
  return entries;
}

std::vector<std::string> usablePortEntries(serial::PortOpener& opener, const std::string& modemPort1,
                                           const std::string& modemPort2) {
  std::vector<std::string> ports;
  for (int n = 1; n <= 30; ++n) {
    // A modem port is never even opened: probing it could disturb the modem.
    if (serial::isModemPort(n, modemPort1, modemPort2)) continue;
    if (serial::probePort(n, opener, modemPort1, modemPort2)) ports.push_back("COM" + std::to_string(n));
  }
  return ports;
}

Completion typeAhead(const std::vector<std::string>& entries, const std::string& text, std::size_t caret) {
  caret = std::min(caret, text.size());
  const std::string typed = text.substr(0, caret);
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (startsWithNoCase(entries[i], typed))
      return {entries[i], caret, entries[i].size(), static_cast<int>(i)};
  }
  return {typed, caret, caret, -1};
}

CommFields commFieldsFrom(const base::SettingsRecord& s) {
  return {s.Speed, s.Port, s.Signal, s.StartChar, s.EndChar, s.Code};
}

bool commFieldsChanged(const CommFields& f, const base::SettingsRecord& s) {
  return f.speed != s.Speed || f.port != s.Port || f.signal != s.Signal || f.startChar != s.StartChar ||
         f.endChar != s.EndChar || f.code != s.Code;
}

bool lineSettingsLengthOk(const std::string& speed) {
  return speed.empty() || (speed.size() >= 10 && speed.size() <= 12);
}

bool saveCommFields(const CommFields& f, base::SettingsRecord& s) {
  if (!lineSettingsLengthOk(f.speed)) return false;
  auto setIfTyped = [](const std::string& field, std::string& setting) {
    if (!field.empty()) setting = upperAscii(field);
  };
  setIfTyped(f.speed, s.Speed);
  if (!f.port.empty()) {
    const std::string port = upperAscii(f.port);
    s.Port = port.find("COM") != std::string::npos ? port : "COM" + port;
  }
  setIfTyped(f.signal, s.Signal);
  setIfTyped(f.startChar, s.StartChar);
  setIfTyped(f.endChar, s.EndChar);
  setIfTyped(f.code, s.Code);
  return true;
}

bool commFieldTakes(int tag, const std::string& typed) {
  const char* accepted = tag == 0 ? "0123456789,NEOneo" : tag == 1 ? "0123456789COMcom" : "YNyn";
  if (typed.empty()) return false;
  for (char c : typed)
    if (c == 0 || !std::strchr(accepted, c)) return false; // a byte of a non-ASCII character fails too
  return true;
}

bool commFieldHasRoom(int tag, int length, int selected, int typed) {
  return isCommList(tag) || length - selected + typed <= 1;
}

} // namespace kestrovan::core
