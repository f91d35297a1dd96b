// Probing ports and releasing them at close: which devices are ever opened.
#include "serial/PortProbe.h"

#include "platform/IniFile.h"
#include "platform/SerialHardware.h"
#include "support/FakePorts.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <set>
#include <stdlib.h>
#include <unistd.h>

using namespace kestrovan;

namespace {

class KnownTtys : public platform::TtyRegistry {
public:
  explicit KnownTtys(std::set<std::string> withHardware) : withHardware_(std::move(withHardware)) {}
  bool hasHardware(const std::string& kernelName) const override {
    return withHardware_.count(kernelName) > 0;
  }

private:
  std::set<std::string> withHardware_;
};

} // namespace

TEST(PortProbe, OnlyADeviceThatIsAPortIsOpenedToSeeThatItOpens) {
  test::TempDir dir;
  const int master = posix_openpt(O_RDWR | O_NOCTTY);
  ASSERT_GE(master, 0);
  grantpt(master);
  unlockpt(master);
  test::writeFile(dir.file("plain"), "");
  ASSERT_EQ(symlink("/dev/null", dir.file("usb-adapter").c_str()), 0);
  const platform::IniFile profile = platform::IniFile::fromBytes(
      "[Ports]\nCOM4=" + std::string(ptsname(master)) + "\nCOM5=" + dir.file("plain") +
      "\nCOM6=" + dir.file("usb-adapter") + "\nCOM7=" + dir.file("missing") + "\n");

  const KnownTtys noHardware({});
  serial::DevicePortOpener ports(profile, noHardware);
  EXPECT_TRUE(ports.openAndClose(4)); // a pseudo-terminal is a virtual cable
  EXPECT_FALSE(ports.openAndClose(5));
  EXPECT_FALSE(ports.openAndClose(6));
  EXPECT_FALSE(ports.openAndClose(7));
  const KnownTtys behindTheLink({"null"});
  EXPECT_TRUE(serial::DevicePortOpener(profile, behindTheLink).openAndClose(6));
  close(master);
}

TEST(PortProbe, ClosingReleasesOnlyThePortsThisRunOpenedAndNeverAModemPort) {
  test::FakePorts devices; // COM1 to COM3 exist
  serial::RunPorts run(devices);
  for (int n = 1; n <= 5; ++n)
    serial::probePort(n, run, "COM2", "");
  EXPECT_EQ(devices.opened, (std::vector<int>{1, 3, 4, 5}));
  run.open(3);
  run.open(9);
  devices.opened.clear();
  serial::releasePorts(run, "COM2", "");
  EXPECT_EQ(devices.opened, (std::vector<int>{1, 3}));

  // A port opened while it was no modem port is not released once it is one.
  devices.opened.clear();
  run.openAndClose(2);
  serial::releasePorts(run, "", "com2");
  EXPECT_EQ(devices.opened, (std::vector<int>{2, 1, 3}));
}
