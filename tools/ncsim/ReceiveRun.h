#pragma once
// The virtual NC taking a program from the PC (the default mode): every byte
// to the receive file, DC3/DC1 and the end as ReceiveMachine says.

#include "ncsim/NcSimOptions.h"

namespace kestrovan::ncsim {

// A pulled cable: the run ends at once, and with the program the line goes.
inline constexpr int kHungUp = 0;

int runReceive(const NcSimOptions& o, int master);

} // namespace kestrovan::ncsim
