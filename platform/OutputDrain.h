#pragma once
// Letting a line's last bytes go out before it is closed.
//
// A terminal device sends what waits in its output queue at the line's speed
// and format as they are when each byte leaves, so the original settings can
// be put back only once the queue is empty: otherwise the NC receives the end
// of the data (a DC4) as garbage. A line held off by the far end never
// empties its queue, so the wait gives up once the queue has not shrunk for a
// while, and what is left is thrown away rather than sent wrongly.

#include <optional>

namespace kestrovan::platform {

class OutputQueue {
public:
  virtual ~OutputQueue() = default;
  // Bytes still waiting to go out; nothing when the device cannot tell.
  virtual std::optional<int> queuedBytes() = 0;
  virtual void discard() = 0;
  virtual void waitMs(int ms) = 0;
};

enum class DrainResult { Drained, Unknown, Discarded };

inline constexpr int kDrainPollMs = 10;
inline constexpr int kDrainStallMs = 1000;   // no byte left in this long: the line is held
inline constexpr int kDrainLimitMs = 10'000; // and never longer than this in all

DrainResult drainOutput(OutputQueue& queue, int stallMs = kDrainStallMs, int limitMs = kDrainLimitMs);

} // namespace kestrovan::platform
