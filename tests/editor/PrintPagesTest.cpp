#include "editor/PrintPages.h"

#include <gtest/gtest.h>

using namespace kestrovan::editor;

// The pages themselves are read back from PDF files in PrintFormTest.
TEST(PrintPages, AFontTallerThanAPageStillPrintsALineOnEach) {
  EXPECT_EQ(linesPerPage(-16), 64);
  EXPECT_EQ(linesPerPage(2000), 1);
  EXPECT_EQ(pageCount(3, linesPerPage(2000)), 4);
  EXPECT_EQ(linesPerPage(0), kPageHeightPixels);
}
