#pragma once
// The remaining-time estimate of a send. Every 10 seconds while a file goes
// out, the rate of the last interval (bytes per second, whole numbers) gives
// the seconds still needed. The send job writes the total and sent counts on
// the user-interface thread; the estimate may be computed on a worker thread,
// so the four counts are atomics, each read and written whole, without a lock.

#include <atomic>
#include <cstdint>
#include <thread>

namespace kestrovan::serial {

inline constexpr int kEstimateIntervalSeconds = 10;

struct SendCounters {
  std::atomic<std::int64_t> total{0};    // bytes of the current file
  std::atomic<std::int64_t> sent{0};     // bytes of it sent so far
  std::atomic<std::int64_t> base{0};     // sent at the previous estimate
  std::atomic<std::int64_t> estimate{0}; // seconds still needed

  // A new file: nothing sent, no estimate yet.
  void startFile(std::int64_t totalBytes) {
    total = totalBytes;
    sent = 0;
    base = 0;
    estimate = 0;
  }
};

class TSendTime {
public:
  explicit TSendTime(SendCounters& counters) : counters_(counters) {}
  ~TSendTime() { join(); }
  TSendTime(const TSendTime&) = delete;
  TSendTime& operator=(const TSendTime&) = delete;

  // One estimate, on the calling thread. Call it every 10 seconds while a
  // file is being sent (the Qt timer of the transfer panel does).
  void tick();
  // The same on a short-lived worker thread of its own; a worker still
  // running from the previous tick is waited for first.
  void tickOnWorker();
  void join();

private:
  SendCounters& counters_;
  std::thread worker_;
};

// The arithmetic of one tick: nothing when at most 10 bytes went out since
// the base; otherwise the seconds for what is left at the last interval's
// rate. Returns whether the estimate and base changed.
bool estimateRemaining(SendCounters& counters);

} // namespace kestrovan::serial
