#pragma once
// The virtual NC's end of its pseudo-terminal: the master, how the line looks
// from it (the PC's end open or closed, bytes to read, the PC's line
// settings), writing to it, and the run's clock, stop signals and output.

#include <csignal>
#include <string>

namespace kestrovan::ncsim {

// Set by SIGTERM/SIGINT (stop) and SIGUSR1 (the operator's trigger).
extern volatile std::sig_atomic_t gStop;
extern volatile std::sig_atomic_t gTrigger;
void installSignals();

// Time since the program started.
long nowMs();
long long nowUs();

// One line to standard output, flushed: tests and scripts read it as it comes.
void say(const std::string& line);

struct Pty {
  int master = -1;
  std::string slave;
};

// A raw pseudo-terminal whose slave end has been opened and closed once, so
// that the master reports a hang-up exactly while no one has the slave open.
bool makePty(Pty& pty);

// One look at the line: is the PC's end open, and is there something to read.
struct LineState {
  bool open = false;
  bool readable = false;
};

// The line settings the PC's end has now, as "9600 8N1".
std::string lineSettings(int master);

// Waits at most `timeoutMs` for the line to change; says "LINE <settings>"
// whenever the PC's end changes its settings while it has the line open.
LineState look(int master, int timeoutMs);

// Writes all of `bytes` unless the run is stopped or the line fails.
void sendBytes(int master, const std::string& bytes);

// Bytes the PC has written that this end has not read yet.
long unreadBytes(int master);

// Microseconds one character takes on a line of `baud` (start, 8 bits, stop).
long long characterUs(int baud);

} // namespace kestrovan::ncsim
