// Command-line items as the real program binary receives them from a shell or
// a shortcut: its own working folder, items that look like toolkit options.
#include "support/NcSimProcess.h"
#include "support/ProgramProcess.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <sys/stat.h>

using namespace kestrovan;
using namespace std::chrono_literals;

TEST(ProgramItems, ARelativeReceivePathIsReadAgainstTheWorkingFolder) {
  test::TempDir home, work;
  ASSERT_EQ(mkdir(work.file("sub").c_str(), 0777), 0);
  const std::string program = home.file("punch.nc");
  test::writeFile(program, "%\nO3000\nG00X0\nM30\n%\n");
  test::NcSimProcess nc(KESTROVAN_NCSIM, {"--punch", program, "--wait-open", "--idle-ms", "5000"});
  ASSERT_FALSE(nc.path().empty());
  const std::string settings = "[Ports]\r\nCOM2=" + nc.path() + "\r\n[Setting]\r\nDirPath=" + home.path() +
                               "\r\nStartChar=Y\r\nEndChar=Y\r\n";
  test::writeFile(home.file("kestrovan.INI"), settings);

  test::ProgramProcess run(KESTROVAN_BINARY, home, home, {"R=sub/REL.NC", "COM2", "END"},
                           {.workingFolder = work.path()});
  EXPECT_EQ(run.waitExit(60s), 0);
  EXPECT_EQ(test::readFile(work.file("sub/REL.NC")), "%\r\nO3000\r\nG00 X0\r\nM30\r\n%\r\n");
  EXPECT_NE(test::readFile(home.file("kestrovan.log")).find(work.file("sub/REL.NC")), std::string::npos);
}
