#pragma once
// Speeds that termios has no B-constant for (14400 among the NC speeds).

namespace kestrovan::platform {

// Sets input and output speed of an open terminal to `speed` bits per second.
// False when the system cannot (no arbitrary speeds, or the device refuses).
bool setArbitrarySpeed(int fd, int speed);

} // namespace kestrovan::platform
