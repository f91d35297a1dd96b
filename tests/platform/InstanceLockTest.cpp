#include "platform/InstanceLock.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using kestrovan::platform::InstanceLock;

TEST(InstanceLock, SecondLockOfTheSameNameIsRefusedAnotherNameIsNot) {
  kestrovan::test::TempDir dir;
  InstanceLock first = InstanceLock::acquire(dir.path(), "kestrovan.lock");
  ASSERT_EQ(first.outcome(), InstanceLock::Outcome::Acquired);
  EXPECT_EQ(InstanceLock::acquire(dir.path(), "kestrovan.lock").outcome(),
            InstanceLock::Outcome::HeldByAnother);
  EXPECT_EQ(InstanceLock::acquire(dir.path(), "kestrovan2.lock").outcome(), InstanceLock::Outcome::Acquired);
  {
    InstanceLock moved = std::move(first); // the lock travels with its owner
    EXPECT_EQ(InstanceLock::acquire(dir.path(), "kestrovan.lock").outcome(),
              InstanceLock::Outcome::HeldByAnother);
  }
  EXPECT_EQ(InstanceLock::acquire(dir.path(), "kestrovan.lock").outcome(), InstanceLock::Outcome::Acquired);
}

TEST(InstanceLock, NoWritableFolderLetsTheProgramRun) {
  EXPECT_EQ(InstanceLock::acquire("/nonexistent-folder", "k.lock").outcome(),
            InstanceLock::Outcome::Unavailable);
}
