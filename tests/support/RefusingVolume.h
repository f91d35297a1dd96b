#pragma once
// Volumes that refuse the no-replace rename (EINVAL) and hard links (EPERM),
// as FUSE file systems do (exFAT sticks, SMB shares mounted by the desktop).
// A test that needs one starts with KESTROVAN_ON_REFUSING_VOLUME(): in the
// ordinary run it runs itself again in a child process with a small library
// preloaded that refuses both calls, and passes, fails or skips as the child
// did; in the child it goes on. There, setting KESTROVAN_SHIM_UNREADABLE
// (folders and files that cannot be opened) or KESTROVAN_SHIM_READ_ONLY (a
// folder standing for a read-only volume) adds those faults; see
// RefusingVolumeShim.cpp.

#include <gtest/gtest.h>

#include <string>

namespace kestrovan::test {

// True in a process where the refusing library is loaded.
bool onRefusingVolume();

struct ChildRun {
  bool passed = false;
  bool skipped = false;
  std::string output;
};
// The running test again, in a child process with the refusing library.
ChildRun runOnRefusingVolume();

} // namespace kestrovan::test

#define KESTROVAN_ON_REFUSING_VOLUME()                                                                       \
  do {                                                                                                       \
    if (!::kestrovan::test::onRefusingVolume()) {                                                            \
      const ::kestrovan::test::ChildRun child = ::kestrovan::test::runOnRefusingVolume();                    \
      if (child.skipped) GTEST_SKIP() << child.output;                                                       \
      EXPECT_TRUE(child.passed) << child.output;                                                             \
      return;                                                                                                \
    }                                                                                                        \
  } while (false)
