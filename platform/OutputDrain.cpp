#include "platform/OutputDrain.h"

namespace kestrovan::platform {

DrainResult drainOutput(OutputQueue& queue, int stallMs, int limitMs) {
  std::optional<int> queued = queue.queuedBytes();
  if (!queued) return DrainResult::Unknown;
  int waited = 0;
  int sinceProgress = 0;
  while (*queued > 0) {
    if (sinceProgress >= stallMs || waited >= limitMs) {
      queue.discard();
      return DrainResult::Discarded;
    }
    queue.waitMs(kDrainPollMs);
    waited += kDrainPollMs;
    const std::optional<int> now = queue.queuedBytes();
    if (!now) return DrainResult::Unknown;
    sinceProgress = *now < *queued ? 0 : sinceProgress + kDrainPollMs;
    queued = now;
  }
  return DrainResult::Drained;
}

} // namespace kestrovan::platform
