// Closing a line lets its last bytes go out at the transfer's settings first,
// and never waits for ever on a line the far end holds.

#include "platform/OutputDrain.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>

using namespace kestrovan::platform;

namespace {

// A device whose queue shrinks as the test says, with a clock of its own.
class ScriptedQueue : public OutputQueue {
public:
  std::deque<int> lengths; // successive answers; the last one stays
  bool known = true;
  int waitedMs = 0;
  std::string calls;

  std::optional<int> queuedBytes() override {
    if (!known) return std::nullopt;
    const int n = lengths.front();
    if (lengths.size() > 1) lengths.pop_front();
    return n;
  }
  void discard() override { calls += "discard@" + std::to_string(waitedMs) + " "; }
  void waitMs(int ms) override { waitedMs += ms; }
};

} // namespace

TEST(OutputDrain, WaitsUntilTheQueueIsEmpty) {
  ScriptedQueue q;
  q.lengths = {259, 200, 200, 120, 1, 0};
  EXPECT_EQ(drainOutput(q), DrainResult::Drained);
  EXPECT_EQ(q.waitedMs, 5 * kDrainPollMs);
  EXPECT_EQ(q.calls, "");

  ScriptedQueue empty;
  empty.lengths = {0};
  EXPECT_EQ(drainOutput(empty), DrainResult::Drained);
  EXPECT_EQ(empty.waitedMs, 0);
}

TEST(OutputDrain, AHeldLineIsGivenUpAndItsBytesThrownAway) {
  // Nothing leaves: after the stall limit the rest is discarded rather than
  // sent at the settings put back.
  ScriptedQueue held;
  held.lengths = {259};
  EXPECT_EQ(drainOutput(held), DrainResult::Discarded);
  EXPECT_EQ(held.calls, "discard@" + std::to_string(kDrainStallMs) + " ");

  // A slow line that keeps moving is waited for, up to the overall limit.
  ScriptedQueue slow;
  for (int n = 100000; n > 0; n -= 1)
    slow.lengths.push_back(n);
  EXPECT_EQ(drainOutput(slow, 1000, 3000), DrainResult::Discarded);
  EXPECT_EQ(slow.waitedMs, 3000);

  // A device that cannot tell its queue: nothing to wait for.
  ScriptedQueue unknown;
  unknown.known = false;
  EXPECT_EQ(drainOutput(unknown), DrainResult::Unknown);
  EXPECT_EQ(unknown.waitedMs, 0);
}
