#pragma once
// One session of the serving NC: the time between the PC opening the line and
// closing it. The NC cannot be told which way the PC wants to go, so it acts
// like a controller standing ready to read: it announces itself with DC1 and
// waits. A PC that sends answers within the wait and the session becomes a
// reception; a PC that waits to receive says nothing, and once the wait is
// over the session becomes a punch. Pure logic over bytes and milliseconds;
// the pseudo-terminal and the files are main()'s.
//
// The DC1s of the wait reach a PC that turns out to be receiving. Its receive
// job reads the line from the opening on and starts only at one of
// "%OP:LNG$" or a line feed; the line hands a 0x11 over as DC1 before any
// code decoding, so the byte neither starts the reception nor fixes the code
// the job may still be detecting, and it only sets the ready flag, which a
// receive never looks at. They cannot spoil the punch that follows. DC1 stops
// all the same once the punch is decided: after the start of the data a DC1
// behind a closing "%" would end it early, like any byte there, and an NC
// that punches has no reason to say it is ready to read.

#include "ncsim/NcSimOptions.h"
#include "ncsim/ReceiveMachine.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kestrovan::ncsim {

enum class SessionKind {
  Undecided, // announcing readiness, waiting for the PC's data
  Reception, // recording what the PC sends
  Punch,     // punching a program out to the PC
  Over,      // nothing more to do until the PC closes the line
};

class ServeSession {
public:
  ServeSession(const NcSimOptions& options, long openedMs);

  struct ByteResult {
    std::string reply;     // to send back at once
    bool recorded = false; // part of the reception: goes to its file
  };
  ByteResult onByte(unsigned char byte, long nowMs);
  // Time passed: what is due to be sent (DC1s). Decides a punch when the wait
  // is over.
  std::string onTick(long nowMs);
  // The PC closed the line ("closed"), or the NC is stopped ("signal"): the
  // END line of a session that had not ended yet.
  void end(const std::string& reason);

  // Punch progress, as main() gets the bytes out.
  void punchStarted(std::size_t total);
  void punched(std::size_t bytes);
  bool punchPaused() const { return paused_; }
  std::size_t punchSent() const { return sent_; }
  bool punchComplete() const { return kind_ == SessionKind::Punch && sent_ >= total_; }

  SessionKind kind() const { return kind_; }
  // The reception is over (its END line is among the events); main() closes
  // the files once.
  bool receptionEnded() const { return receptionEnded_; }
  long received() const { return machine_.received(); }
  bool receptionPaused() const { return machine_.paused(); }
  // Event lines since the last call, in order.
  std::vector<std::string> takeEvents();

private:
  void collectMachineEvents();
  void event(const std::string& line) { events_.push_back(line); }
  void checkReceptionEnd();

  NcSimOptions o_;
  ReceiveMachine machine_;
  SessionKind kind_ = SessionKind::Undecided;
  long decideAtMs_ = -1; // -1: the first DC1 has not gone out yet
  bool receptionEnded_ = false;
  std::size_t total_ = 0;
  std::size_t sent_ = 0;
  bool paused_ = false;
  std::vector<std::string> events_;
};

// "received-007" for 7: the name of a reception's files, without extension.
std::string receivedName(int number);

// A recorded stream as plain text: ISO parity removed or EIA translated (the
// code is told from the bytes' parity, as a reader of punched tape would),
// leader, carriage returns and control characters left out, lines ending in
// a line feed. Bytes that fit neither code are taken as they are (a line
// with 7 data bits carries plain ASCII).
std::string readableProgram(std::string_view bytes);

} // namespace kestrovan::ncsim
