#include "serial/SendTime.h"

#include <algorithm>

namespace kestrovan::serial {

bool estimateRemaining(SendCounters& c) {
  const std::int64_t sent = c.sent.load();
  const std::int64_t base = c.base.load();
  const std::int64_t moved = sent - base;
  if (moved <= 10) return false;
  const std::int64_t perSecond = moved / kEstimateIntervalSeconds; // at least 1
  // A file read line by line can count past its size on disk; nothing is left then.
  const std::int64_t left = std::max<std::int64_t>(c.total.load() - sent, 0);
  c.estimate = left / perSecond;
  c.base = sent;
  return true;
}

void TSendTime::tick() { estimateRemaining(counters_); }

void TSendTime::tickOnWorker() {
  join();
  worker_ = std::thread([this] { estimateRemaining(counters_); });
}

void TSendTime::join() {
  if (worker_.joinable()) worker_.join();
}

} // namespace kestrovan::serial
