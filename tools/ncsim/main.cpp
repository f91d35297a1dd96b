// kestrovan-ncsim: plays an NC controller on a pseudo-terminal (see --help).
//
// The PC side opens the pseudo-terminal's slave end as its serial port. This
// program keeps the master end. It opens the slave once itself at start and
// closes it again: from then on the master reports a hang-up exactly while no
// one has the slave open, which is how it sees the PC open and close the line.
// With --listen, a TCP client takes the PC's place (TcpBridge.h).

#include "ncsim/LineClock.h"
#include "ncsim/NcSimOptions.h"
#include "ncsim/PtyLine.h"
#include "ncsim/PunchStream.h"
#include "ncsim/ReceiveMachine.h"
#include "ncsim/ReceiveRun.h"
#include "ncsim/ServeSession.h"
#include "ncsim/TcpBridge.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

using namespace kestrovan::ncsim;

namespace {

// Reads what the PC sends while punching: DC3 pauses, DC1 resumes, DC4 ends.
struct PcBytes {
  bool paused = false;
  bool dc4 = false;
};

void readPc(int master, PcBytes& pc, std::ofstream* record, long punched) {
  unsigned char buf[256];
  ssize_t n = ::read(master, buf, sizeof buf);
  for (ssize_t i = 0; i < n; ++i) {
    const unsigned char b = buf[i];
    if (record) record->put(static_cast<char>(b));
    if ((b == 0x13 || b == 0x93) && !pc.paused) {
      pc.paused = true;
      say("PAUSE " + std::to_string(punched));
    } else if (b == 0x11 && pc.paused) {
      pc.paused = false;
      say("RESUME " + std::to_string(punched));
    } else if (b == 0x14) {
      pc.dc4 = true;
    }
  }
  if (record && n > 0) record->flush();
}

int runPunch(const NcSimOptions& o, int master) {
  std::ifstream in(o.punchFile, std::ios::binary);
  if (!in) {
    std::cerr << "kestrovan-ncsim: cannot read " << o.punchFile << "\n";
    return 1;
  }
  const std::string program((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::string stream = punchStream(program, o);
  // A controller that falls silent in the middle of its punch.
  if (o.silentAfter > 0 && static_cast<std::size_t>(o.silentAfter) < stream.size())
    stream.resize(static_cast<std::size_t>(o.silentAfter));
  std::ofstream recordFile;
  if (!o.recordFile.empty()) recordFile.open(o.recordFile, std::ios::binary | std::ios::trunc);
  std::ofstream* record = recordFile.is_open() ? &recordFile : nullptr;

  bool wasOpen = false;
  long openedAt = -1;
  auto watch = [&](int timeoutMs) {
    LineState line = look(master, timeoutMs);
    if (line.open != wasOpen) {
      say(line.open ? "OPEN" : "CLOSE");
      wasOpen = line.open;
      // A line opened and closed again (a PC checking its ports at start)
      // is not the opening the punch waits for: the delay counts from the
      // latest opening.
      openedAt = line.open ? nowMs() : -1;
    }
    return line;
  };

  // The start: the PC's line open (and settled), and the operator's key.
  for (;;) {
    if (gStop) {
      say("END signal 0");
      return 0;
    }
    const LineState line = watch(5);
    const bool opened = !o.waitOpen || (line.open && openedAt >= 0 && nowMs() - openedAt >= o.startDelayMs);
    if (opened && (!o.waitSignal || gTrigger)) break;
  }

  PcBytes pc;
  std::size_t sent = 0;
  long long nextWriteUs = 0;
  long lastActivity = nowMs();
  std::string reason;
  std::mt19937 pieces(static_cast<std::mt19937::result_type>(o.chunkSeed));
  while (sent < stream.size()) {
    if (gStop) {
      reason = "signal";
      break;
    }
    LineState line = watch(pc.paused ? 5 : 0);
    if (line.readable) readPc(master, pc, record, static_cast<long>(sent));
    if (pc.dc4) {
      reason = "dc4";
      break;
    }
    if (o.waitOpen && !line.open) {
      reason = "closed";
      break;
    }
    if (pc.paused || nowUs() < nextWriteUs) {
      if (!pc.paused) ::usleep(200);
      continue;
    }
    if (o.hangupAfter > 0 && sent >= static_cast<std::size_t>(o.hangupAfter)) {
      // A pseudo-terminal throws away what its far end has not read yet when
      // it hangs up; a real line would have delivered those bytes before the
      // cable came out. So the PC gets a moment to read them.
      ::usleep(500'000);
      say("END hangup " + std::to_string(sent));
      return kHungUp;
    }
    std::size_t chunk = o.baud > 0 ? 1 : stream.size() - sent;
    if (o.chunkSeed != 0) chunk = std::min(chunk, static_cast<std::size_t>(pieces() % 256 + 1));
    if (o.hangupAfter > 0) chunk = std::min(chunk, static_cast<std::size_t>(o.hangupAfter) - sent);
    ssize_t n = ::write(master, stream.data() + sent, chunk);
    if (n > 0) {
      sent += static_cast<std::size_t>(n);
      lastActivity = nowMs();
      if (o.baud > 0) nextWriteUs = nowUs() + characterUs(o.baud);
      if (o.chunkSeed != 0)
        nextWriteUs = std::max(nextWriteUs, nowUs() + static_cast<long long>(pieces() % 3001));
    } else {
      ::usleep(1000);
    }
  }
  if (reason.empty()) {
    say("PUNCHED " + std::to_string(sent));
    // The PC ends a reception with DC4; wait for it as long as asked.
    reason = "done";
    while (o.idleMs > 0 && !pc.dc4) {
      if (gStop) {
        reason = "signal";
        break;
      }
      LineState line = watch(5);
      if (line.readable) {
        readPc(master, pc, record, static_cast<long>(sent));
        lastActivity = nowMs();
      }
      if (pc.dc4) reason = "dc4";
      if (nowMs() - lastActivity > o.idleMs) {
        reason = "idle";
        break;
      }
    }
  }
  say("END " + reason + " " + std::to_string(sent));
  return 0;
}

// Session after session until stopped: each opening of the line by the PC is
// a reception or a punch, as ServeSession decides.
class Server {
public:
  Server(const NcSimOptions& o, int master) : o_(o), master_(master) {}

  int run() {
    std::error_code ec;
    std::filesystem::create_directories(o_.serveDir, ec);
    if (!std::filesystem::is_directory(o_.serveDir)) {
      std::cerr << "kestrovan-ncsim: cannot make the folder " << o_.serveDir << "\n";
      return 1;
    }
    // Read every program now: a missing file is a bad start, not a failed
    // session in the middle of a demonstration.
    for (const std::string& file : o_.punchFiles) {
      std::ifstream in(file, std::ios::binary);
      if (!in) {
        std::cerr << "kestrovan-ncsim: cannot read " << file << "\n";
        return 1;
      }
      programs_.emplace_back((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }

    bool wasOpen = false;
    while (!gStop) {
      LineState line = look(master_, pollWaitMs());
      if (line.open && !wasOpen) {
        say("OPEN");
        session_.emplace(o_, nowMs());
      }
      // What the PC wrote before it closed the line still belongs to its session.
      if (line.readable) readPc();
      if (!line.open && wasOpen) {
        say("CLOSE");
        if (session_) session_->end("closed");
        report();
        session_.reset();
      }
      wasOpen = line.open;
      if (!session_) continue;
      const SessionKind before = session_->kind();
      sendBytes(master_, session_->onTick(nowMs()));
      if (before == SessionKind::Undecided && session_->kind() == SessionKind::Punch) startPunch();
      report();
      punchSome();
    }
    if (session_) session_->end("signal");
    report();
    return 0;
  }

private:
  bool punching() const {
    return session_ && session_->kind() == SessionKind::Punch && !session_->punchPaused() &&
           !session_->punchComplete();
  }

  int pollWaitMs() const {
    if (punching()) return 1;
    if (o_.baud > 0 && session_ && session_->kind() == SessionKind::Reception) {
      const long long until = (nextReadUs_ - nowUs()) / 1000;
      return until <= 0 ? 0 : until < 5 ? static_cast<int>(until) : 5;
    }
    return 5;
  }

  void readPc() {
    const bool reading = session_ && session_->kind() != SessionKind::Punch;
    if (reading && o_.baud > 0 && nowUs() < nextReadUs_) return;
    unsigned char buf[4096];
    // As in a plain reception: paced or counting towards a DC3, byte by byte.
    const std::size_t want = reading && (o_.baud > 0 || o_.dc3After > 0) ? 1 : sizeof buf;
    const ssize_t n = ::read(master_, buf, want);
    if (n <= 0 || !session_) return; // nobody's session: dropped
    const long now = nowMs();
    long backlog = -1;
    for (ssize_t i = 0; i < n; ++i) {
      const SessionKind before = session_->kind();
      ServeSession::ByteResult r = session_->onByte(buf[i], now);
      if (before == SessionKind::Undecided && session_->kind() == SessionKind::Reception) startReception();
      if (r.recorded) {
        recorded_ += static_cast<char>(buf[i]);
        if (bin_) bin_.put(static_cast<char>(buf[i]));
      }
      if (session_->receptionPaused() && !r.reply.empty()) backlog = unreadBytes(master_) + (n - i - 1);
      sendBytes(master_, r.reply);
    }
    if (bin_) bin_.flush();
    if (reading && o_.baud > 0) nextReadUs_ = nowUs() + characterUs(o_.baud);
    report();
    if (backlog >= 0) say("BACKLOG " + std::to_string(backlog));
  }

  void startReception() {
    int number = 1;
    std::error_code ec;
    while (std::filesystem::exists(base(number) + ".bin", ec) ||
           std::filesystem::exists(base(number) + ".nc", ec))
      ++number;
    binPath_ = base(number) + ".bin";
    ncPath_ = base(number) + ".nc";
    recorded_.clear();
    bin_.open(binPath_, std::ios::binary | std::ios::trunc);
    if (!bin_) std::cerr << "kestrovan-ncsim: cannot write " << binPath_ << "\n";
    receiving_ = true;
    say("RECEIVE " + binPath_);
  }

  void finishReception() {
    if (!receiving_) return;
    receiving_ = false;
    bin_.close();
    std::ofstream nc(ncPath_, std::ios::binary | std::ios::trunc);
    nc << readableProgram(recorded_);
    say("RECEIVED " + binPath_ + " " + std::to_string(recorded_.size()));
  }

  void startPunch() {
    const std::size_t index = nextPunch_++ % programs_.size();
    stream_ = punchStream(programs_[index], o_);
    nextWriteUs_ = 0;
    say("PUNCH " + o_.punchFiles[index]);
    session_->punchStarted(stream_.size());
  }

  void punchSome() {
    if (!punching() || nowUs() < nextWriteUs_) return;
    const std::size_t sent = session_->punchSent();
    const std::size_t chunk = o_.baud > 0 ? 1 : stream_.size() - sent;
    const ssize_t n = ::write(master_, stream_.data() + sent, chunk);
    if (n <= 0) return; // the PC's buffer is full: again after the next look
    session_->punched(static_cast<std::size_t>(n));
    if (o_.baud > 0) nextWriteUs_ = nowUs() + characterUs(o_.baud);
    report();
  }

  void report() {
    if (!session_) return;
    for (const std::string& e : session_->takeEvents())
      say(e);
    if (session_->receptionEnded()) finishReception();
  }

  std::string base(int number) const {
    return (std::filesystem::path(o_.serveDir) / receivedName(number)).string();
  }

  const NcSimOptions& o_;
  int master_;
  std::vector<std::string> programs_;
  std::size_t nextPunch_ = 0;
  std::optional<ServeSession> session_;
  // The reception under way.
  bool receiving_ = false;
  std::string binPath_;
  std::string ncPath_;
  std::ofstream bin_;
  std::string recorded_;
  long long nextReadUs_ = 0;
  // The punch under way.
  std::string stream_;
  long long nextWriteUs_ = 0;
};

// The operator at a controller whose line the PC holds open: punches and
// readings one after another, step by step.
class Operator {
public:
  Operator(const NcSimOptions& o, int master) : o_(o), master_(master) {}

  int run() {
    std::error_code ec;
    std::filesystem::create_directories(o_.operateDir, ec);
    for (const OperateStep& step : o_.steps) {
      if (step.kind != OperateStep::Kind::Punch) continue;
      std::ifstream in(step.file, std::ios::binary);
      if (!in) {
        std::cerr << "kestrovan-ncsim: cannot read " << step.file << "\n";
        return 1;
      }
      programs_.emplace_back((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }
    // The PC's service opens the line once and keeps it.
    long openedAt = -1;
    while (!gStop && (openedAt < 0 || nowMs() - openedAt < o_.startDelayMs)) {
      LineState line = look(master_, 5);
      if (line.open && openedAt < 0) {
        say("OPEN");
        openedAt = nowMs();
      }
      if (line.readable) drain();
    }
    do {
      std::size_t program = 0;
      for (const OperateStep& step : o_.steps) {
        if (gStop) break;
        switch (step.kind) {
        case OperateStep::Kind::Punch: punch(programs_[program++]); break;
        case OperateStep::Kind::Read: read(); break;
        case OperateStep::Kind::Pause: pause(step.ms); break;
        case OperateStep::Kind::Signal: waitForKey(); break;
        }
      }
    } while (o_.repeat && !gStop);
    if (!gStop) say("STEPS DONE");
    while (!gStop) {
      LineState line = look(master_, 5);
      if (line.readable) drain();
    }
    say("END signal 0");
    return 0;
  }

private:
  // Between steps the controller takes nothing in; a DC4 is still noted.
  void drain() {
    unsigned char buf[256];
    const ssize_t n = ::read(master_, buf, sizeof buf);
    for (ssize_t i = 0; i < n; ++i)
      if (buf[i] == 0x14) say("DC4 0");
  }

  void pause(int ms) {
    const long until = nowMs() + ms;
    while (!gStop && nowMs() < until) {
      LineState line = look(master_, 5);
      if (line.readable) drain();
    }
  }

  void waitForKey() {
    say("WAITING");
    while (!gStop && !gTrigger) {
      LineState line = look(master_, 5);
      if (line.readable) drain();
    }
    gTrigger = 0;
  }

  void punch(const std::string& program) {
    const std::string stream = punchStream(program, o_);
    PcBytes pc;
    std::size_t sent = 0;
    long long nextWriteUs = 0;
    while (sent < stream.size() && !gStop) {
      LineState line = look(master_, pc.paused ? 5 : 0);
      if (line.readable) readPc(master_, pc, nullptr, static_cast<long>(sent));
      if (pc.dc4) {
        say("DC4 " + std::to_string(sent));
        return;
      }
      if (pc.paused || nowUs() < nextWriteUs) {
        if (!pc.paused) ::usleep(200);
        continue;
      }
      const std::size_t chunk = o_.baud > 0 ? 1 : stream.size() - sent;
      const ssize_t n = ::write(master_, stream.data() + sent, chunk);
      if (n > 0) {
        sent += static_cast<std::size_t>(n);
        if (o_.baud > 0) nextWriteUs = nowUs() + characterUs(o_.baud);
      } else {
        ::usleep(1000);
      }
    }
    if (gStop) return;
    say("PUNCHED " + std::to_string(sent));
    const long until = nowMs() + o_.dc4WaitMs;
    while (!gStop && !pc.dc4 && nowMs() < until) {
      LineState line = look(master_, 5);
      if (line.readable) readPc(master_, pc, nullptr, static_cast<long>(sent));
    }
    if (pc.dc4) say("ACK " + std::to_string(sent));
  }

  void read() {
    const std::string path =
        (std::filesystem::path(o_.operateDir) / ("read-" + std::to_string(++reads_) + ".bin")).string();
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    ReceiveMachine machine(o_);
    machine.lineOpened(nowMs() - o_.startDelayMs); // the operator switched to input: DC1 now
    long long nextReadUs = 0;
    while (!machine.finished() && !gStop) {
      LineState line = look(master_, 2);
      if (line.readable && (o_.baud <= 0 || nowUs() >= nextReadUs)) {
        unsigned char buf[4096];
        const ssize_t n = ::read(master_, buf, o_.baud > 0 ? 1 : sizeof buf);
        for (ssize_t i = 0; i < n && !machine.finished(); ++i) {
          out.put(static_cast<char>(buf[i]));
          sendBytes(master_, machine.onByte(buf[i], nowMs()));
        }
        if (n > 0 && o_.baud > 0) nextReadUs = nowUs() + characterUs(o_.baud);
      }
      sendBytes(master_, machine.onTick(nowMs()));
      machine.takeEvents();
    }
    out.close();
    say("READ " + path + " " + std::to_string(machine.received()) + " " +
        (machine.finished() ? machine.endReason() : std::string("signal")));
  }

  const NcSimOptions& o_;
  int master_;
  std::vector<std::string> programs_;
  int reads_ = 0;
};

} // namespace

int main(int argc, char** argv) {
  NcSimParse parsed = parseNcSimOptions(std::vector<std::string>(argv + 1, argv + argc));
  if (parsed.options.help) {
    std::cout << ncSimHelp();
    return 0;
  }
  if (!parsed.error.empty()) {
    std::cerr << "kestrovan-ncsim: " << parsed.error << "\n(--help lists the options)\n";
    return 2;
  }
  const NcSimOptions& o = parsed.options;
  installSignals();

  Pty pty;
  if (!makePty(pty)) {
    std::cerr << "kestrovan-ncsim: cannot make a pseudo-terminal: " << std::strerror(errno) << "\n";
    return 1;
  }
  if (!o.link.empty()) {
    ::unlink(o.link.c_str());
    if (::symlink(pty.slave.c_str(), o.link.c_str()) != 0)
      std::cerr << "kestrovan-ncsim: cannot link " << o.link << ": " << std::strerror(errno) << "\n";
  }
  // The first line names the line the PC opens: the device, or the TCP port.
  TcpBridge bridge;
  std::string line = pty.slave, error;
  if (!o.listen.empty() && (line = bridge.start(o.listen, pty.slave, error)).empty()) {
    std::cerr << "kestrovan-ncsim: " << error << "\n";
    return 1;
  }
  say(line);

  int rc = 0;
  switch (o.mode) {
  case SimMode::Receive: rc = runReceive(o, pty.master); break;
  case SimMode::Punch: rc = runPunch(o, pty.master); break;
  case SimMode::Serve: rc = Server(o, pty.master).run(); break;
  case SimMode::Operate: rc = Operator(o, pty.master).run(); break;
  }

  if (!o.link.empty()) ::unlink(o.link.c_str());
  ::close(pty.master);
  return rc;
}
