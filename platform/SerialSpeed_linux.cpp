// Linux takes any speed through termios2 with BOTHER. This file includes the
// kernel's termbits instead of <termios.h>, whose struct termios it would clash with.
#include "platform/SerialSpeed.h"

#include <asm/ioctls.h>
#include <asm/termbits.h>

extern "C" int ioctl(int fd, unsigned long request, ...);

namespace kestrovan::platform {

bool setArbitrarySpeed(int fd, int speed) {
  struct termios2 t {};
  if (ioctl(fd, TCGETS2, &t) != 0) return false;
  t.c_cflag &= ~CBAUD;
  t.c_cflag |= BOTHER;
  t.c_ispeed = static_cast<speed_t>(speed);
  t.c_ospeed = static_cast<speed_t>(speed);
  return ioctl(fd, TCSETS2, &t) == 0;
}

} // namespace kestrovan::platform
