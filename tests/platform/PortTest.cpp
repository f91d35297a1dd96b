#include "platform/IniFile.h"
#include "platform/PortNames.h"
#include "platform/SerialDevice.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>

using namespace kestrovan::platform;

TEST(PortNames, NumbersAndDefaultDevices) {
  EXPECT_EQ(portNumber("COM1"), 1);
  EXPECT_EQ(portNumber("com12"), 12);
  EXPECT_FALSE(portNumber("COM"));
  EXPECT_FALSE(portNumber("COMX"));
  EXPECT_FALSE(portNumber("/dev/ttyS0"));
  EXPECT_FALSE(portNumber("COM1 "));
  IniFile none;
  EXPECT_EQ(portDevice(1, none), "/dev/ttyS0");
  EXPECT_EQ(portDevice(10, none), "/dev/ttyS9");
  EXPECT_EQ(portDevice(11, none), "/dev/ttyUSB0");
  EXPECT_EQ(portDevice(30, none), "/dev/ttyACM9");
  EXPECT_EQ(portDevice(31, none), "");
}

TEST(PortNames, PortsSectionOverridesAnyNumber) {
  IniFile ini = IniFile::fromBytes("[ports]\ncom2=/dev/pts/7\nCOM31=/dev/serial/by-id/usb-FTDI\n");
  EXPECT_EQ(portDevice(2, ini), "/dev/pts/7");
  EXPECT_EQ(portDevice(31, ini), "/dev/serial/by-id/usb-FTDI");
  EXPECT_EQ(portDevice(3, ini), "/dev/ttyS2");
}

namespace {
struct Pty {
  int master = -1;
  std::string slave;
  Pty() {
    master = posix_openpt(O_RDWR | O_NOCTTY);
    grantpt(master);
    unlockpt(master);
    slave = ptsname(master);
  }
  ~Pty() { close(master); }
};
} // namespace

TEST(SerialDevice, OpensExclusivelyAndRestoresTheLineOnClose) {
  Pty pty;
  termios before{};
  {
    SerialOpen a = openSerialExclusive(pty.slave);
    ASSERT_TRUE(a.device) << a.error;
    tcgetattr(a.device->fd(), &before);
    termios changed = before;
    cfsetspeed(&changed, B1200);
    tcsetattr(a.device->fd(), TCSANOW, &changed);

    SerialOpen b = openSerialExclusive(pty.slave);
    EXPECT_FALSE(b.device);
    EXPECT_EQ(b.error, EBUSY);
  }
  SerialOpen again = openSerialExclusive(pty.slave);
  ASSERT_TRUE(again.device) << again.error;
  termios after{};
  tcgetattr(again.device->fd(), &after);
  EXPECT_EQ(cfgetospeed(&after), cfgetospeed(&before));
}

TEST(SerialDevice, MissingDeviceFails) {
  SerialOpen r = openSerialExclusive("/dev/does-not-exist");
  EXPECT_FALSE(r.device);
  EXPECT_EQ(r.error, ENOENT);
  EXPECT_FALSE(openSerialExclusive("").device);
}
