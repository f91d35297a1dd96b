// Which device nodes are ports: the kernel's record of terminals in a folder
// of the same shape as /sys/class/tty, and real device nodes and links.
#include "platform/SerialHardware.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <set>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace kestrovan;
using platform::isSerialPortDevice;

namespace {

// Answers for the terminals it is told of, and notes every name it is asked.
class KnownTtys : public platform::TtyRegistry {
public:
  explicit KnownTtys(std::set<std::string> withHardware = {}) : withHardware_(std::move(withHardware)) {}
  bool hasHardware(const std::string& kernelName) const override {
    asked.insert(kernelName);
    return withHardware_.count(kernelName) > 0;
  }
  mutable std::set<std::string> asked;

private:
  std::set<std::string> withHardware_;
};

void makeTty(const test::TempDir& root, const std::string& name, bool device, const char* type) {
  ASSERT_EQ(mkdir(root.file(name).c_str(), 0755), 0);
  if (device) {
    ASSERT_EQ(mkdir(root.file(name + "/device").c_str(), 0755), 0);
  }
  if (type) test::writeFile(root.file(name + "/type"), type);
}

} // namespace

TEST(SerialHardware, ATerminalHasHardwareWhenItHasADeviceAndASerialSlotOnlyWithAUart) {
  test::TempDir root;
  makeTty(root, "ttyS0", true, "4\n"); // a 16550A
  makeTty(root, "ttyS1", true, "0\n"); // a slot the kernel keeps, no UART behind it
  makeTty(root, "ttyUSB0", true, nullptr);
  makeTty(root, "tty1", false, nullptr); // a virtual console
  const platform::SysfsTtyRegistry ttys(root.path());
  EXPECT_TRUE(ttys.hasHardware("ttyS0"));
  EXPECT_FALSE(ttys.hasHardware("ttyS1"));
  EXPECT_TRUE(ttys.hasHardware("ttyUSB0"));
  EXPECT_FALSE(ttys.hasHardware("tty1"));
  EXPECT_FALSE(ttys.hasHardware("ttyACM0"));
  EXPECT_FALSE(ttys.hasHardware(".."));
}

TEST(SerialHardware, ADeviceIsAPortByWhatItsLinksLeadToAndAPseudoTerminalAlwaysIs) {
  test::TempDir dir;
  const KnownTtys none;
  const int master = posix_openpt(O_RDWR | O_NOCTTY);
  ASSERT_GE(master, 0);
  grantpt(master);
  unlockpt(master);
  EXPECT_TRUE(isSerialPortDevice(ptsname(master), none));
  close(master);

  test::writeFile(dir.file("plain"), "");
  EXPECT_FALSE(isSerialPortDevice(dir.file("plain"), none));
  EXPECT_FALSE(isSerialPortDevice(dir.file("missing"), none));
  EXPECT_FALSE(isSerialPortDevice("", none));

  // A link such as /dev/serial/by-id/usb-...: the terminal is the one it leads to.
  ASSERT_EQ(symlink("/dev/null", dir.file("usb-adapter").c_str()), 0);
  ASSERT_EQ(symlink(dir.file("usb-adapter").c_str(), dir.file("by-path").c_str()), 0);
  EXPECT_FALSE(isSerialPortDevice(dir.file("by-path"), none));
  EXPECT_EQ(none.asked, std::set<std::string>{"null"});
  EXPECT_TRUE(isSerialPortDevice(dir.file("by-path"), KnownTtys({"null"})));
}
