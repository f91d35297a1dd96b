#pragma once
// The shared sample NC programs, real programs kept beside the repository
// (../shared/samples). A clone without them still runs every test: a test
// that reads them skips, naming the folder, and the same properties are
// proved on the programs of support/WrittenPrograms.h.
//
// $KESTROVAN_SAMPLES names another folder for a run (set it to a missing
// folder to see the suite as a plain clone sees it).

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace kestrovan::test {

inline std::string samplesDir() {
  if (const char* env = std::getenv("KESTROVAN_SAMPLES"); env && *env) return env;
  return KESTROVAN_SAMPLES_DIR;
}

inline std::string samplePath(const std::string& name) { return samplesDir() + "/" + name; }

// Empty when the folder is there with `name` in it (or no name is asked);
// else why a test that needs it cannot run.
inline std::string samplesMissing(const std::string& name = {}) {
  std::error_code ec;
  if (!std::filesystem::is_directory(samplesDir(), ec))
    return "the shared sample programs are not here: no folder " + samplesDir() +
           " (set KESTROVAN_SAMPLES to the folder that holds them)";
  if (!name.empty() && !std::filesystem::is_regular_file(samplePath(name), ec))
    return "the shared sample " + name + " is not in " + samplesDir();
  return {};
}

} // namespace kestrovan::test

// Skips the running test when the samples (or the one named) are absent.
#define KESTROVAN_NEEDS_SAMPLES(...)                                                                         \
  do {                                                                                                       \
    if (const std::string why = ::kestrovan::test::samplesMissing(__VA_ARGS__); !why.empty())                \
      GTEST_SKIP() << why;                                                                                   \
  } while (false)
