// main() of the tests that need a real display: an X server of their own
// (Xvfb) and the xcb platform, so that the desktop's services (the opener
// behind QDesktopServices) are the ones a user's session has. Listing the
// tests needs neither.
#include "support/XServer.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
  kestrovan::test::XServer x(XVFB);
  if (x.display().empty()) {
    std::fprintf(stderr, "Xvfb did not start\n");
    return 1;
  }
  setenv("DISPLAY", x.display().c_str(), 1);
  setenv("QT_QPA_PLATFORM", "xcb", 1);
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
