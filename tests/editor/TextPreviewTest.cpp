// What the open dialog's preview takes of real files.
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

TEST(TextPreview, ReadsTheFirst1023BytesUpToALaterNul) {
  test::TempDir dir;
  std::string big;
  for (int i = 0; big.size() < 5000; ++i)
    big += "N" + std::to_string(i) + "G01X1.\r\n";
  big.resize(5000);
  test::writeFile(dir.file("BIG.NC"), big);
  FilePreview p = editor::previewFile(dir.file("BIG.NC"));
  ASSERT_EQ(p.kind, FilePreview::Kind::Text);
  EXPECT_EQ(p.bytes, big.substr(0, 1023));

  std::string later = "O1234\r\n" + std::string(150, 'X');
  later += '\0';
  later += "AFTER";
  test::writeFile(dir.file("LATER.NC"), later);
  p = editor::previewFile(dir.file("LATER.NC"));
  ASSERT_EQ(p.kind, FilePreview::Kind::Text);
  EXPECT_EQ(p.bytes, later.substr(0, later.find('\0')));

  test::writeFile(dir.file("EMPTY.NC"), "");
  p = editor::previewFile(dir.file("EMPTY.NC"));
  EXPECT_EQ(p.kind, FilePreview::Kind::Text);
  EXPECT_EQ(p.bytes, "");
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
