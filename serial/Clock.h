#pragma once
// The wall clock, behind a seam so that tests can fix the moment a log entry
// is written.

#include "platform/LocalTime.h"

namespace kestrovan::serial {

class Clock {
public:
  virtual ~Clock() = default;
  virtual platform::CivilTime now() = 0;
};

// The computer's local time.
class SystemClock : public Clock {
public:
  platform::CivilTime now() override;
};

} // namespace kestrovan::serial
