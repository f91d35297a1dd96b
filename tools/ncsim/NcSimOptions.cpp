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
  --stall-after N       stop reading after N bytes came in, as a controller
                        that hangs; the line stays open (END signal n)

Punch (the NC punches a program out to the PC):
  --punch FILE          the program to send
  --code iso|eia        ISO with even parity (default) or EIA RS-244
  --leader N            leader bytes before the program (default 20)
  --no-frame            send the file's lines as they are, no "%" lines added
  --no-dc4              no DC4 after the program
  --wait-open           start only once the PC opened the line
  --wait-signal         start only after SIGUSR1
  --record FILE         record what the PC sends meanwhile
  --chunks SEED         punch in pieces of 1 to 256 bytes with 0 to 3 ms between
                        them, sizes and gaps drawn from SEED (as a reader that
                        hands the tape over in bursts)
  --silent-after N      punch only the first N bytes of the stream, then fall
                        silent with the line open (no "%", no DC4)
  A DC3 (0x13 or 0x93) from the PC pauses the punch, DC1 resumes it, DC4
  ends it. After the program it waits for the PC's DC4 up to --idle-ms.

Serve (a machine for the program's F1 and F2, session after session):
  --serve DIR           run until SIGTERM/SIGINT; every opening of the line
                        by the PC is one session. The NC announces readiness
                        with DC1 (--start-delay-ms, --dc1-repeat-ms). Data
                        from the PC within --serve-wait-ms of the first DC1
                        makes the session a reception: every byte goes to
                        DIR/received-NNN.bin and, decoded to plain text (ISO
                        parity removed, EIA translated), DIR/received-NNN.nc;
                        it ends at DC4, at a "%" after program data, or when
                        the PC closes the line. No data by then: the PC waits
                        to receive, DC1 stops, and the next --punch file is
                        punched as with --punch (files in turn, round robin).
  --punch FILE          repeat for more programs to punch in turn
  --serve-wait-ms M     how long to wait for the PC's data (default 1500)
  Events: OPEN, then RECEIVE path (reception, with DC1/DC3 and END lines as
  above, then RECEIVED path n with the .bin path) or PUNCH file (punch, with
  PAUSE/RESUME, PUNCHED n, END reason n), then CLOSE. A session the PC closes
  before its end prints CLOSE, then END closed n (and RECEIVED for a
  reception). A send the operator confirms without waiting for DC1 must
  start within the wait. --wait-open, --wait-signal, --record and --idle-ms
  do not apply.
  Example: kestrovan-ncsim --serve /tmp/nc --punch O1000.NC --link /tmp/ttyNC

Operate (the operator at a controller whose line the PC holds open, as a
DNC service does):
  --operate DIR         wait until the PC opens the line, then do every
                        --step in turn, then stay until SIGTERM/SIGINT
  --step punch:FILE     punch FILE as --punch does, then wait up to
                        --dc4-wait-ms for the PC's DC4 (PUNCHED n, then
                        ACK n, or DC4 n when the PC stopped the punch)
  --step read           switch to input: DC1 (repeated as --dc1-repeat-ms)
                        until data comes, every byte to DIR/read-NNN.bin
                        until DC4 or a "%" after program data (READ path n)
  --step pause:MS       wait MS ms
  --step signal         wait for SIGUSR1 (the operator's key)
  --repeat              do the steps again and again until stopped
  --dc4-wait-ms M       default 5000

Both:
  --start-delay-ms M    wait M ms after the PC opened the line (default 200)
  --baud B              pace bytes like a line of B baud (10 bits a byte)
  --idle-ms T           end after T ms without a byte (default: never)
  --hangup-after N      after N bytes punched or received, close this end of
                        the line at once, as a pulled cable (END hangup n)
  --link PATH           make PATH a symbolic link to the line while running
  --listen [HOST:]PORT  be reached over raw TCP on PORT (host 127.0.0.1; 0
                        picks a free port), as an NC behind a device server:
                        a client's connection opens the line, its end closes
                        it; the first line out is then tcp://HOST:PORT
  --help                this text

It ends on DC4, on --end-on-percent, on --idle-ms, or on SIGTERM/SIGINT (in
serve mode only on the signals), and exits with 0 (2 for a bad command line,
1 when the line cannot be made).
)";
}

NcSimParse parseNcSimOptions(const std::vector<std::string>& args) {
  NcSimParse r;
  NcSimOptions& o = r.options;
  std::size_t receives = 0;
  bool serve = false;
  bool operate = false;
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
      if (a == "--receive") {
        if (receives++ > 0) {
          r.error = "give either --receive or --punch, once";
          return r;
        }
        o.receiveFile = *v;
      } else {
        o.punchFiles.push_back(*v);
      }
    } else if (a == "--serve") {
      std::optional<std::string> v = value();
      if (!v) {
        r.error = a + " needs a folder";
        return r;
      }
      o.serveDir = *v;
      serve = true;
    } else if (a == "--operate" || a == "--step") {
      std::optional<std::string> v = value();
      if (!v) {
        r.error = a + (a == "--operate" ? " needs a folder" : " needs punch:FILE, read, pause:MS or signal");
        return r;
      }
      if (a == "--operate") {
        o.operateDir = *v;
        operate = true;
      } else if (v->starts_with("punch:") && v->size() > 6) {
        o.steps.push_back({OperateStep::Kind::Punch, v->substr(6), 0});
      } else if (*v == "signal") {
        o.steps.push_back({OperateStep::Kind::Signal, {}, 0});
      } else if (*v == "read") {
        o.steps.push_back({OperateStep::Kind::Read, {}, 0});
      } else if (std::optional<long> ms = v->starts_with("pause:") ? number(v->substr(6)) : std::nullopt) {
        o.steps.push_back({OperateStep::Kind::Pause, {}, static_cast<int>(*ms)});
      } else {
        r.error = "--step is punch:FILE, read, pause:MS or signal";
        return r;
      }
    } else if (a == "--repeat") {
      o.repeat = true;
    } else if (a == "--dc4-wait-ms") {
      if (!intValue(o.dc4WaitMs)) return r;
    } else if (a == "--serve-wait-ms") {
      if (!intValue(o.serveWaitMs)) return r;
    } else if (a == "--record" || a == "--link" || a == "--listen") {
      std::optional<std::string> v = value();
      if (!v) {
        r.error = a + (a == "--listen" ? " needs a port" : " needs a path");
        return r;
      }
      (a == "--record" ? o.recordFile : a == "--link" ? o.link : o.listen) = *v;
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
    } else if (a == "--stall-after") {
      if (!numberValue(o.stallAfter)) return r;
    } else if (a == "--silent-after") {
      if (!numberValue(o.silentAfter)) return r;
    } else if (a == "--chunks") {
      if (!numberValue(o.chunkSeed)) return r;
    } else if (a == "--hangup-after") {
      if (!numberValue(o.hangupAfter)) return r;
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
  if (!o.punchFiles.empty()) o.punchFile = o.punchFiles.front();
  if (operate) {
    o.mode = SimMode::Operate;
    o.endOnPercent = true;
    if (serve || receives > 0 || !o.punchFiles.empty())
      r.error = "--operate takes its programs from --step punch:FILE";
    else if (o.steps.empty())
      r.error = "--operate needs at least one --step";
  } else if (!o.steps.empty()) {
    r.error = "--step goes with --operate";
  } else if (serve) {
    o.mode = SimMode::Serve;
    // A send from the PC ends with its end characters ("%") or DC4; the NC
    // reading it ends there too, so that the next session finds it idle.
    o.endOnPercent = true;
    if (receives > 0)
      r.error = "--serve records into its folder; --receive does not go with it";
    else if (o.punchFiles.empty())
      r.error = "--serve needs at least one --punch FILE";
  } else if (receives + o.punchFiles.size() > 1) {
    r.error = "give either --receive or --punch, once";
  } else if (receives == 0 && o.punchFiles.empty()) {
    if (!o.help) r.error = "give --receive FILE, --punch FILE or --serve DIR --punch FILE";
  } else {
    o.mode = receives > 0 ? SimMode::Receive : SimMode::Punch;
  }
  return r;
}

} // namespace kestrovan::ncsim
