#include "platform/IniFile.h"
#include "platform/PortNames.h"
#include "platform/SerialDevice.h"
#include "platform/SerialPort.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

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

TEST(SerialPort, BytesReadAheadComeOutInOrderAndCountAsWaiting) {
  Pty pty;
  termios raw{};
  tcgetattr(pty.master, &raw);
  cfmakeraw(&raw);
  tcsetattr(pty.master, TCSANOW, &raw);
  SerialPortOpen opened = openSerialPort(pty.slave);
  ASSERT_TRUE(opened.port) << opened.error;
  SerialPort& port = *opened.port;
  ASSERT_EQ(port.configure(LineConfig{}), PortStatus::Ok);
  port.setTimeouts({200, 200});

  // More than one block, with NULs (dropped on the way in) among the data.
  std::string sent;
  for (int i = 0; i < 1500; ++i)
    sent += static_cast<char>(i % 7 == 0 ? 0 : 'A' + i % 26);
  ASSERT_EQ(write(pty.master, sent.data(), sent.size()), static_cast<ssize_t>(sent.size()));
  std::string expected;
  for (char c : sent)
    if (c != 0) expected += c;

  std::string got;
  ReadResult first = port.readByte();
  ASSERT_EQ(first.status, ReadStatus::Byte);
  got += static_cast<char>(first.byte);
  // Everything not handed out yet still waits, read ahead or in the kernel.
  QueueLength waiting = port.inputQueueLength();
  ASSERT_EQ(waiting.status, PortStatus::Ok);
  EXPECT_EQ(waiting.bytes, static_cast<int>(sent.size()) - 2); // a NUL and one byte taken
  for (ReadResult r = port.readByte(); r.status == ReadStatus::Byte; r = port.readByte())
    got += static_cast<char>(r.byte);
  EXPECT_EQ(got, expected);
  EXPECT_EQ(port.inputQueueLength().bytes, 0);
  EXPECT_EQ(port.readByte().status, ReadStatus::TimedOut);

  // A purge drops what was read ahead as well.
  ASSERT_EQ(write(pty.master, "XYZ", 3), 3);
  ASSERT_EQ(port.readByte().byte, 'X');
  ASSERT_EQ(port.purge(), PortStatus::Ok);
  EXPECT_EQ(port.readByte().status, ReadStatus::TimedOut);
}
