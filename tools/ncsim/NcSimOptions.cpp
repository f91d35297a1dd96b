#include "ncsim/NcSimOptions.h"

#include <charconv>
#include <optional>

namespace kestrovan::ncsim {
namespace {

std::optional<long> number(const std::string& text) {
  long value = 0;
  int base = 10;
  std::string_view digits = text;
  if (digits.starts_with("0x") || digits.starts_with("0X")) {
    digits.remove_prefix(2);
    base = 16;
  }
  auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
  if (ec != std::errc() || end != digits.data() + digits.size() || digits.empty() || value < 0)
    return std::nullopt;
  return value;
}

} // namespace

std::string ncSimHelp() {
  return R"(kestrovan-ncsim: a virtual NC machine on a pseudo-terminal.

Prints the path of its end of the line as the first line of standard output;
give that path to the program as a port ([Ports] COMn=PATH in the settings).
Then it prints one line per event: OPEN, CLOSE, DC1 n, DC3 n, PAUSE n,
RESUME n, PUNCHED n and finally END reason n (n: bytes received or punched).
Each DC3 is followed by BACKLOG k: bytes the PC had written but the NC had
not read yet as the DC3 left (as far as the pseudo-terminal tells, <= 4095).

Receive (the NC reads a program from the PC):
  --receive FILE        record every byte from the PC into FILE
  --dc3-after N         send DC3 after N bytes came in
  --dc3-every N         send DC3 again every N bytes after that
  --dc1-after-ms M      send DC1 M ms after each DC3 (default 500)
  --dc3-byte B          the DC3 byte: 0x93 (default, ISO parity) or 0x13
  --no-dc1              do not announce readiness with DC1
  --dc1-repeat-ms M     repeat the ready DC1 every M ms until data comes
                        (default 1000, 0: once)
  --end-on-percent      end at a "%" that follows program data
  --no-end-on-dc4       do not end at DC4

Punch (the NC punches a program out to the PC):
  --punch FILE          the program to send
  --code iso|eia        ISO with even parity (default) or EIA RS-244
  --leader N            leader bytes before the program (default 20)
  --no-frame            send the file's lines as they are, no "%" lines added
  --no-dc4              no DC4 after the program
  --wait-open           start only once the PC opened the line
  --wait-signal         start only after SIGUSR1
  --record FILE         record what the PC sends meanwhile
  A DC3 (0x13 or 0x93) from the PC pauses the punch, DC1 resumes it, DC4
  ends it. After the program it waits for the PC's DC4 up to --idle-ms.

Both:
  --start-delay-ms M    wait M ms after the PC opened the line (default 200)
  --baud B              pace bytes like a line of B baud (10 bits a byte)
  --idle-ms T           end after T ms without a byte (default: never)
  --link PATH           make PATH a symbolic link to the line while running
  --help                this text

It ends on DC4, on --end-on-percent, on --idle-ms, or on SIGTERM/SIGINT, and
exits with 0 (2 for a bad command line, 1 when the line cannot be made).
)";
}

NcSimParse parseNcSimOptions(const std::vector<std::string>& args) {
  NcSimParse r;
  NcSimOptions& o = r.options;
  bool haveMode = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&]() -> std::optional<std::string> {
      if (i + 1 >= args.size()) return std::nullopt;
      return args[++i];
    };
    auto numberValue = [&](long& out) {
      std::optional<std::string> v = value();
      std::optional<long> n = v ? number(*v) : std::nullopt;
      if (!n) {
        r.error = a + " needs a number";
        return false;
      }
      out = *n;
      return true;
    };
    auto intValue = [&](int& out) {
      long n = 0;
      if (!numberValue(n)) return false;
      out = static_cast<int>(n);
      return true;
    };
    long n = 0;
    if (a == "--help" || a == "-h") {
      o.help = true;
    } else if (a == "--receive" || a == "--punch") {
      std::optional<std::string> v = value();
      if (!v) {
        r.error = a + " needs a file";
        return r;
      }
      if (haveMode) {
        r.error = "give either --receive or --punch, once";
        return r;
      }
      haveMode = true;
      o.mode = a == "--receive" ? SimMode::Receive : SimMode::Punch;
      (a == "--receive" ? o.receiveFile : o.punchFile) = *v;
    } else if (a == "--record" || a == "--link") {
      std::optional<std::string> v = value();
      if (!v) {
        r.error = a + " needs a path";
        return r;
      }
      (a == "--record" ? o.recordFile : o.link) = *v;
    } else if (a == "--code") {
      std::optional<std::string> v = value();
      if (v == "iso")
        o.code = PunchCode::Iso;
      else if (v == "eia")
        o.code = PunchCode::Eia;
      else {
        r.error = "--code is iso or eia";
        return r;
      }
    } else if (a == "--dc3-byte") {
      if (!numberValue(n)) return r;
      if (n != 0x13 && n != 0x93) {
        r.error = "--dc3-byte is 0x13 or 0x93";
        return r;
      }
      o.dc3Byte = static_cast<unsigned char>(n);
    } else if (a == "--dc3-after") {
      if (!numberValue(o.dc3After)) return r;
    } else if (a == "--dc3-every") {
      if (!numberValue(o.dc3Every)) return r;
    } else if (a == "--dc1-after-ms") {
      if (!intValue(o.dc1AfterMs)) return r;
    } else if (a == "--dc1-repeat-ms") {
      if (!intValue(o.dc1RepeatMs)) return r;
    } else if (a == "--leader") {
      if (!intValue(o.leader)) return r;
    } else if (a == "--start-delay-ms") {
      if (!intValue(o.startDelayMs)) return r;
    } else if (a == "--baud") {
      if (!intValue(o.baud)) return r;
    } else if (a == "--idle-ms") {
      if (!intValue(o.idleMs)) return r;
    } else if (a == "--no-dc1") {
      o.sendDc1 = false;
    } else if (a == "--end-on-percent") {
      o.endOnPercent = true;
    } else if (a == "--no-end-on-dc4") {
      o.endOnDc4 = false;
    } else if (a == "--no-frame") {
      o.frame = false;
    } else if (a == "--no-dc4") {
      o.dc4 = false;
    } else if (a == "--wait-open") {
      o.waitOpen = true;
    } else if (a == "--wait-signal") {
      o.waitSignal = true;
    } else {
      r.error = "unknown option " + a;
      return r;
    }
  }
  if (!haveMode && !o.help) r.error = "give --receive FILE or --punch FILE";
  return r;
}

} // namespace kestrovan::ncsim
