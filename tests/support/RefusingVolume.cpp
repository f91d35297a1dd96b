#include "support/RefusingVolume.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <stdio.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kestrovan::test {

bool onRefusingVolume() {
  // The kernel says ENOENT for names that do not exist; the library says
  // EINVAL before it looks.
  return renameat2(AT_FDCWD, "/nonexistent-kestrovan-a", AT_FDCWD, "/nonexistent-kestrovan-b",
                   RENAME_NOREPLACE) != 0 &&
         errno == EINVAL;
}

ChildRun runOnRefusingVolume() {
  ChildRun run;
  const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
  char self[PATH_MAX] = {};
  const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
  if (n <= 0) {
    run.output = "cannot find the test program";
    return run;
  }
  const char* asan = std::getenv("ASAN_OPTIONS");
  // The sanitizer runtime wants to be first among the preloaded libraries;
  // the refusing one only replaces calls it does not intercept.
  const std::string command = std::string("LD_PRELOAD='") + KESTROVAN_REFUSING_SHIM + "' ASAN_OPTIONS='" +
                              (asan ? std::string(asan) + ":" : std::string()) +
                              "verify_asan_link_order=0' '" + self + "' --gtest_filter='" +
                              info->test_suite_name() + "." + info->name() + "' 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) {
    run.output = "cannot start the test program";
    return run;
  }
  char buffer[4096];
  for (std::size_t got; (got = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
    run.output.append(buffer, got);
  const int status = pclose(pipe);
  run.skipped = run.output.find("[  SKIPPED ] 1 test") != std::string::npos;
  run.passed = WIFEXITED(status) && WEXITSTATUS(status) == 0 &&
               run.output.find("[  PASSED  ] 1 test") != std::string::npos;
  return run;
}

} // namespace kestrovan::test
