#pragma once
// The receiving end's clock of the line: when the next character can have
// arrived, at the line's rate. While characters wait to be read, the line
// kept carrying them whatever this end was doing (a UART receives while its
// owner is busy), so a late reader takes them back to back until it has
// caught up. Only a line seen idle starts the clock again: the next
// character cannot have arrived before one character time after that.

namespace kestrovan::ncsim {

class LineClock {
public:
  // `characterUs`: one character's time on the line; 0 reads as fast as it can.
  LineClock(long long characterUs, long long startUs) : characterUs_(characterUs), idleSeenUs_(startUs) {}

  // Nothing was waiting to be read at `nowUs`.
  void sawIdle(long long nowUs) { idleSeenUs_ = nowUs; }
  // Whether a waiting character can have arrived by `nowUs`.
  bool due(long long nowUs) const { return characterUs_ <= 0 || nowUs >= nextUs(); }
  long long nextUs() const;
  // One character was taken at `nowUs`.
  void took(long long nowUs);

private:
  long long characterUs_;
  long long idleSeenUs_;
  long long lastUs_ = -1; // when the last character taken arrived; -1 before the first
};

} // namespace kestrovan::ncsim
