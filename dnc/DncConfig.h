#pragma once
// The DNC service's configuration file: one [Machine NAME] section per
// machine and an optional [Service] section, CP932 with CR LF line ends, read
// by the rules of the settings file (sections and keys without regard to
// letter case, blanks around names and values ignored, ";" only at the start
// of a line makes a comment, no comments after a value). Every key is
// checked; the first fault is told with the file, the line and the key.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrovan::dnc {

enum class ReceiveCode { Iso, Eia, Auto };

struct MachineConfig {
  std::string name;
  std::string port;   // as written: COMn, a device path, rfc2217:// or tcp://
  std::string device; // what is opened: the device COMn maps to, else the port itself
  std::string speed = "4800,8,N,2";
  ReceiveCode code = ReceiveCode::Auto;
  std::string sendFolder;
  std::string receiveFolder;
  long request = 0; // the program number that makes a punched program a request
  // The transfer keys, named and defaulted as in the main settings.
  int sendBefore = 0;
  std::string startChar = "N";
  int startCharType = 1;
  std::string endChar = "Y";
  int endCharType = 1;
  std::string dc3x93 = "Y";
  int line = 0; // of the section head
  // The section's keys and values as read, to tell whether a reload changed it.
  std::string fingerprint;
};

struct ServiceConfig {
  std::string statusFile; // empty: the default place
  std::string logFolder;  // empty: the configuration file's folder
  int retrySeconds = 3;   // an absent or failed port is tried again after this long
  std::vector<MachineConfig> machines;
};

struct ConfigError {
  std::string file;
  int line = 0;    // 0: the file as a whole
  std::string key; // empty: the line itself (a section head, a line that is no key)
  std::string message;
  std::string text() const; // "FILE:LINE: KEY: message"
};

struct ConfigParse {
  std::optional<ServiceConfig> config;
  std::optional<ConfigError> error;
};

// What the configuration needs from outside: the device a COMn names (the
// [Ports] section of the main settings file; empty when it names none).
struct ConfigContext {
  std::function<std::string(int number)> comDevice;
};

ConfigParse parseDncConfig(std::string_view cp932, const std::string& fileName, const ConfigContext& context);

// Reads the file; a file that cannot be read is an error naming it.
ConfigParse loadDncConfig(const std::string& path, const ConfigContext& context);

} // namespace kestrovan::dnc
