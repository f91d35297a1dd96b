// kestrovan-nctool as a shell runs it: what it prints and its exit status.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <sys/wait.h>

namespace {

struct Outcome {
  std::string out;
  int status = -1;
};

// Standard output only; standard error goes to /dev/null.
Outcome run(const std::string& args) {
  Outcome r;
  std::FILE* p = ::popen((std::string(KESTROVAN_NCTOOL) + " " + args + " 2>/dev/null").c_str(), "r");
  if (!p) return r;
  char buffer[512];
  for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, p)) > 0;)
    r.out.append(buffer, n);
  const int w = ::pclose(p);
  r.status = WIFEXITED(w) ? WEXITSTATUS(w) : -1;
  return r;
}

} // namespace

TEST(NcToolProgram, HelpAndShortHelpPrintTheUsageAndSucceed) {
  for (const char* option : {"--help", "-h"}) {
    const Outcome r = run(option);
    EXPECT_EQ(r.status, 0) << option;
    EXPECT_EQ(r.out.rfind("Usage: kestrovan-nctool split FILE FOLDER [MASK]\n", 0), 0u)
        << option << ": " << r.out;
    EXPECT_NE(r.out.find("kestrovan-nctool double FILE LETTER OUTPUT"), std::string::npos) << option;
  }
}

TEST(NcToolProgram, MissingOrUnknownArgumentsFailWithTheUsageOnStandardError) {
  for (const char* args : {"", "split", "--helpme"}) {
    const Outcome r = run(args);
    EXPECT_EQ(r.status, 2) << args;
    EXPECT_EQ(r.out, "") << args;
  }
}
