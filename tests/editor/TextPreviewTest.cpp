// What the open dialog's preview takes of real files; what it shows of them
// is read from the dialog's memo in OpenTextDialogTest.
#include "editor/TextPreview.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace kestrovan;
using editor::FilePreview;

TEST(TextPreview, IsTextFileLooksAtTheFirstHundredBytesOnly) {
  std::string bytes(200, 'G');
  EXPECT_TRUE(editor::IsTextFile(bytes.data(), bytes.size()));
  bytes[99] = '\0';
  EXPECT_FALSE(editor::IsTextFile(bytes.data(), bytes.size()));
  bytes[99] = 'G';
  bytes[100] = '\0';
  EXPECT_TRUE(editor::IsTextFile(bytes.data(), bytes.size()));
  EXPECT_TRUE(editor::IsTextFile(bytes.data(), 0));
  EXPECT_FALSE(editor::IsTextFile("\0", 1));
}

TEST(TextPreview, NulEarlyIsNotTextAndOtherThingsAreNoFiles) {
  test::TempDir dir;
  test::writeFile(dir.file("BIN.NC"), std::string("O1\0\x01\x02", 5) + std::string(300, 'A'));
  EXPECT_EQ(editor::previewFile(dir.file("BIN.NC")).kind, FilePreview::Kind::NotText);
  EXPECT_EQ(editor::previewFile(dir.path()).kind, FilePreview::Kind::NotAFile);
  EXPECT_EQ(editor::previewFile(dir.file("GONE.NC")).kind, FilePreview::Kind::NotAFile);
  // A pipe is never opened, so the preview cannot hang on it.
  ASSERT_EQ(::mkfifo(dir.file("PIPE.NC").c_str(), 0600), 0);
  EXPECT_EQ(editor::previewFile(dir.file("PIPE.NC")).kind, FilePreview::Kind::NotAFile);
}
