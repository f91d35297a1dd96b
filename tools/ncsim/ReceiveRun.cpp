#include "ncsim/ReceiveRun.h"

#include "ncsim/LineClock.h"
#include "ncsim/PtyLine.h"
#include "ncsim/ReceiveMachine.h"

#include <fstream>
#include <iostream>
#include <string>
#include <unistd.h>

namespace kestrovan::ncsim {

int runReceive(const NcSimOptions& o, int master) {
  std::ofstream out(o.receiveFile, std::ios::binary | std::ios::trunc);
  if (!out) {
    std::cerr << "kestrovan-ncsim: cannot write " << o.receiveFile << "\n";
    return 1;
  }
  ReceiveMachine machine(o);
  bool wasOpen = false;
  long lastActivity = nowMs();
  LineClock clock(characterUs(o.baud), nowUs());
  auto report = [&] {
    for (const std::string& e : machine.takeEvents())
      say(e);
  };

  while (!machine.finished()) {
    if (gStop) {
      say("END signal " + std::to_string(machine.received()));
      break;
    }
    int wait = 5;
    if (o.baud > 0) {
      long long until = (clock.nextUs() - nowUs()) / 1000;
      if (until < wait) wait = until > 0 ? static_cast<int>(until) : 0;
    }
    LineState line = look(master, wait);
    if (!line.readable) clock.sawIdle(nowUs());
    const long now = nowMs();
    if (line.open != wasOpen) {
      say(line.open ? "OPEN" : "CLOSE");
      if (line.open) machine.lineOpened(now);
      wasOpen = line.open;
    }
    const bool stalled = o.stallAfter > 0 && machine.received() >= o.stallAfter;
    if (o.hangupAfter > 0 && machine.received() >= o.hangupAfter) {
      say("END hangup " + std::to_string(machine.received()));
      return kHungUp;
    }
    if (stalled) {
      // A controller that hangs: it neither reads nor answers, until stopped.
      ::usleep(5000);
      continue;
    }
    if (line.readable && clock.due(nowUs())) {
      unsigned char buf[4096];
      // Paced, or holding the PC off after a count: one byte at a time, so
      // that a DC3 leaves as the byte that calls for it arrives, not after a
      // whole chunk that a real line would still have been carrying.
      const bool counting = o.baud > 0 || o.dc3After > 0 || o.stallAfter > 0 || o.hangupAfter > 0;
      const std::size_t want = counting ? 1 : sizeof buf;
      ssize_t n = ::read(master, buf, want);
      long backlog = -1;
      for (ssize_t i = 0; i < n && !machine.finished(); ++i) {
        out.put(static_cast<char>(buf[i]));
        const std::string reply = machine.onByte(buf[i], now);
        if (machine.paused() && !reply.empty()) backlog = unreadBytes(master) + (n - i - 1);
        sendBytes(master, reply);
      }
      report();
      if (backlog >= 0) say("BACKLOG " + std::to_string(backlog));
      if (n > 0) {
        out.flush();
        lastActivity = now;
        // The line's clock, not the loop's (LineClock.h).
        clock.took(nowUs());
      }
    }
    sendBytes(master, machine.onTick(nowMs()));
    report();
    if (!machine.finished() && o.idleMs > 0 && nowMs() - lastActivity > o.idleMs) {
      say("END idle " + std::to_string(machine.received()));
      break;
    }
  }
  report();
  return 0;
}

} // namespace kestrovan::ncsim
