#include "core/CommandLine.h"

#include <gtest/gtest.h>

using kestrovan::core::cutCommandLine;
using Items = std::vector<std::string>;

namespace {
bool nothingExists(const std::string&) { return false; }
} // namespace

TEST(CommandLine, TheThreeWaysOfWritingTheSameTwoItems) {
  const Items expected{"S=A.NC", "COM2"};
  EXPECT_EQ(cutCommandLine({"/S=A.NC", "/COM2"}, nothingExists), expected);
  EXPECT_EQ(cutCommandLine({"S=A.NC", "COM2"}, nothingExists), expected);
  EXPECT_EQ(cutCommandLine({"/S=A.NC/COM2"}, nothingExists), expected);
}

TEST(CommandLine, SlashItemsAreTrimmedAndPlainArgumentsKeptAsTheyAre) {
  EXPECT_EQ(cutCommandLine({"/ S=A.NC \t/9600,7,E,2/END"}, nothingExists),
            (Items{"S=A.NC", "9600,7,E,2", "END"}));
  EXPECT_EQ(cutCommandLine({" S=A.NC ", "COM2"}, nothingExists), (Items{" S=A.NC ", "COM2"}));
  EXPECT_EQ(cutCommandLine({}, nothingExists), Items{});
}

TEST(CommandLine, AnExistingAbsolutePathIsOnePlainItem) {
  auto exists = [](const std::string& p) { return p == "/home/op/NC"; };
  EXPECT_EQ(cutCommandLine({"/home/op/NC", "COM2"}, exists), (Items{"/home/op/NC", "COM2"}));
  EXPECT_EQ(cutCommandLine({"/home/op/XX"}, exists), (Items{"home", "op", "XX"}));
}
