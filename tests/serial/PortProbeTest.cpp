// Probing ports and releasing them at close: which devices are ever opened.
#include "serial/PortProbe.h"

#include "platform/DeviceAccess.h"
#include "platform/IniFile.h"
#include "platform/SerialDevice.h"
#include "platform/SerialHardware.h"
#include "support/DeviceHolder.h"
#include "support/FakePorts.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <grp.h>
#include <set>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
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

using test::DeviceHolder;

// A port that does not open names its device and why: missing, no port
// behind it, in use by another program, or not allowed.
TEST(PortProbe, ACheckNamesTheDeviceAndWhyItDoesNotOpen) {
  test::TempDir dir;
  const int master = posix_openpt(O_RDWR | O_NOCTTY);
  ASSERT_GE(master, 0);
  grantpt(master);
  unlockpt(master);
  const std::string pty = ptsname(master);
  test::writeFile(dir.file("plain"), "");
  const platform::IniFile profile = platform::IniFile::fromBytes(
      "[Ports]\nCOM4=" + pty + "\nCOM5=" + dir.file("plain") + "\nCOM7=" + dir.file("missing") + "\n");
  const KnownTtys noHardware({});
  serial::DevicePortOpener ports(profile, noHardware);

  EXPECT_TRUE(ports.check(4).usable());
  const serial::PortCheck missing = ports.check(7);
  EXPECT_EQ(missing.problem, serial::PortProblem::Missing);
  EXPECT_EQ(serial::portProblemText(missing), "デバイス " + dir.file("missing") + " がありません。");
  const serial::PortCheck plain = ports.check(5);
  EXPECT_EQ(plain.problem, serial::PortProblem::NotAPort);
  EXPECT_EQ(serial::portProblemText(plain), dir.file("plain") + " にはシリアルポートの機器がありません。");
  {
    DeviceHolder other(pty);
    ASSERT_TRUE(other.holding());
    const serial::PortCheck busy = ports.check(4);
    EXPECT_EQ(busy.problem, serial::PortProblem::Busy);
    EXPECT_EQ(serial::portProblemText(busy), pty + " は他のプログラムが使用中です。");
    EXPECT_FALSE(ports.openAndClose(4));
  }
  EXPECT_TRUE(ports.check(4).usable()) << "free again once the other program has ended";

  // Root opens a device whatever its mode; then only the errno's reading is
  // checked (the box with it: LineTest).
  if (geteuid() != 0) {
    ASSERT_EQ(chmod(pty.c_str(), 0), 0);
    const serial::PortCheck forbidden = ports.check(4);
    EXPECT_EQ(forbidden.problem, serial::PortProblem::NoPermission);
    EXPECT_NE(serial::portProblemText(forbidden).find("dialout"), std::string::npos);
  }
  EXPECT_EQ(serial::problemOfOpenError(EACCES), serial::PortProblem::NoPermission);
  EXPECT_EQ(serial::problemOfOpenError(EPERM), serial::PortProblem::NoPermission);
  EXPECT_EQ(serial::problemOfOpenError(EBUSY), serial::PortProblem::Busy);
  EXPECT_EQ(serial::problemOfOpenError(ENOENT), serial::PortProblem::Missing);
  close(master);
}

namespace {

// Opens port 4 (a pseudo-terminal given to GROUP with MODE) as an ordinary
// user (nobody, with no supplementary group) in a child process, and returns
// the port's problem text there, "" when it opened.
std::string forbiddenTextAsNobody(gid_t group, mode_t mode) {
  const int master = posix_openpt(O_RDWR | O_NOCTTY);
  if (master < 0) return "no pty";
  grantpt(master);
  unlockpt(master);
  const std::string pty = ptsname(master);
  if (chown(pty.c_str(), 0, group) != 0 || chmod(pty.c_str(), mode) != 0) return "no chown";
  int out[2];
  if (pipe(out) != 0) return "no pipe";
  const pid_t child = fork();
  if (child == 0) {
    close(out[0]);
    std::string text = "could not become nobody";
    if (setgroups(0, nullptr) == 0 && setgid(65534) == 0 && setuid(65534) == 0) {
      const platform::IniFile profile = platform::IniFile::fromBytes("[Ports]\nCOM4=" + pty + "\n");
      const KnownTtys noHardware({});
      serial::DevicePortOpener ports(profile, noHardware);
      const serial::PortCheck check = ports.check(4);
      text = check.problem == serial::PortProblem::NoPermission ? serial::portProblemText(check)
                                                                : "not a permission problem";
    }
    const ssize_t written = write(out[1], text.data(), text.size());
    _exit(written == static_cast<ssize_t>(text.size()) ? 0 : 1);
  }
  close(out[1]);
  std::string text;
  char buffer[512];
  for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;)
    text.append(buffer, static_cast<size_t>(n));
  close(out[0]);
  int status = 0;
  waitpid(child, &status, 0);
  close(master);
  return text;
}

class FixedAccess : public platform::DeviceAccessProbe {
public:
  explicit FixedAccess(platform::DeviceAccess a) : a_(std::move(a)) {}
  platform::DeviceAccess of(const std::string&) const override { return a_; }

private:
  platform::DeviceAccess a_;
};

} // namespace

// A device of the dialout group refused to a user outside it: the box names
// the group, the user and the command that adds him. A device no group of
// users may open is not told as a dialout matter.
TEST(PortProbe, ARefusedDeviceSaysWhetherJoiningDialoutHelps) {
  if (geteuid() != 0)
    GTEST_SKIP() << "needs root to hand a pseudo-terminal to another user and become nobody";
  const group* dialout = getgrnam("dialout");
  if (!dialout) GTEST_SKIP() << "no dialout group on this machine";

  const std::string inDialout = forbiddenTextAsNobody(dialout->gr_gid, 0660);
  EXPECT_NE(inDialout.find("dialout グループのデバイス"), std::string::npos) << inDialout;
  EXPECT_NE(inDialout.find("ユーザー nobody はこのグループに入っていません。"), std::string::npos)
      << inDialout;
  EXPECT_NE(inDialout.find("（sudo usermod -aG dialout nobody）"), std::string::npos) << inDialout;

  const std::string rootOnly = forbiddenTextAsNobody(0, 0600);
  EXPECT_NE(rootOnly.find("を開く権限がありません。"), std::string::npos) << rootOnly;
  EXPECT_EQ(rootOnly.find("dialout"), std::string::npos) << rootOnly;
  EXPECT_NE(rootOnly.find("ls -l "), std::string::npos) << rootOnly;
}

TEST(PortProbe, AUserAddedToDialoutButNotLoggedInAgainIsToldToLogInAgain) {
  const serial::PortCheck refused{serial::PortProblem::NoPermission, "/dev/ttyUSB0", EACCES};
  const FixedAccess added({"dialout", true, false, true, "op"});
  EXPECT_EQ(serial::portProblemText(refused, added),
            "/dev/ttyUSB0 を開く権限がありません。\nユーザー op は dialout グループに加えられていますが、"
            "このログインではまだ有効ではありません。ログインし直してください。");
  const FixedAccess outside({"dialout", true, false, false, "op"});
  EXPECT_EQ(serial::portProblemText(refused, outside),
            "/dev/ttyUSB0 は dialout グループのデバイスで、ユーザー op はこのグループに入っていません。\n"
            "ユーザーを dialout グループに加えて（sudo usermod -aG dialout op）、ログインし直してください。");
  const FixedAccess unknown({});
  EXPECT_EQ(serial::portProblemText(refused, unknown),
            std::string("/dev/ttyUSB0 を開く権限がありません。\n") + serial::kDialoutRemedy);
}
