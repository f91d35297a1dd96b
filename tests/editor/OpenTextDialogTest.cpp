// COpenTextDialog: the program's file chooser with the preview memo, driven
// by selecting files in it, on real files.
#include "editor/ui/OpenTextDialog.h"

#include "platform/Cp932.h"
#include "support/FakeDialogs.h"
#include "support/Keyboard.h"
#include "support/TempDir.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace kestrovan;
namespace keyboard = kestrovan::test::keyboard;

namespace {

struct Folder {
  test::TempDir dir;
  std::string big;
  Folder() {
    for (int i = 0; big.size() < 5000; ++i)
      big += "N" + std::to_string(i) + "G01X1.\r\n";
    big.resize(5000);
    test::writeFile(dir.file("BIG.NC"), big);
    test::writeFile(dir.file("EMPTY.NC"), "");
    test::writeFile(dir.file("SJIS.NC"), platform::utf8ToCp932("O1001(荒加工 ｻﾌﾞ)\r\nM99\r\n"));
    std::string later = "O1234\r\n" + std::string(150, 'X');
    later += std::string("\0AFTER", 6);
    test::writeFile(dir.file("LATER.NC"), later);
    test::writeFile(dir.file("BIN.NC"), std::string("O1\0\x01", 4) + std::string(300, 'A'));
    test::writeFile(dir.file("lower.nc"), "O1\r\n");
    test::writeFile(dir.file("NOTE.TXT"), "text\r\n");
  }
};

struct Dialog {
  Folder& folder;
  test::FakeDialogs dialogs;
  editor::COpenTextDialog dialog{nullptr, folder.dir.path(), "*.NC", dialogs};

  explicit Dialog(Folder& f) : folder(f) { dialog.show(); }
  // The file list as the dialog shows it.
  QAbstractItemView* view() const { return dialog.findChild<QAbstractItemView*>("FileList"); }
  QPlainTextEdit* memo() const { return dialog.findChild<QPlainTextEdit*>("PreviewMemo"); }
  QModelIndex indexOf(const char* name) const {
    const QModelIndex root = view()->rootIndex();
    for (int r = 0; r < view()->model()->rowCount(root); ++r)
      if (view()->model()->index(r, 0, root).data().toString() == name)
        return view()->model()->index(r, 0, root);
    ADD_FAILURE() << "not listed: " << name;
    return {};
  }
  // A click on the file's row, as the operator selects it.
  void select(const char* name) {
    const QModelIndex index = indexOf(name);
    QTest::mouseClick(view()->viewport(), Qt::LeftButton, {}, view()->visualRect(index).center());
  }
  QStringList listed() const {
    QStringList names;
    const QModelIndex root = view()->rootIndex();
    for (int r = 0; r < view()->model()->rowCount(root); ++r)
      names << view()->model()->index(r, 0, root).data().toString();
    names.sort();
    return names;
  }
};

} // namespace

TEST(OpenTextDialog, TheMemoBelowTheFileList) {
  Folder f;
  Dialog d(f);
  ASSERT_NE(d.memo(), nullptr);
  EXPECT_TRUE(d.memo()->isVisible());
  EXPECT_EQ(d.memo()->height(), 80);
  EXPECT_TRUE(d.memo()->isReadOnly());
  EXPECT_EQ(d.memo()->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  EXPECT_EQ(d.memo()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  // Below the file list, across the dialog less 6 pixels or more each side.
  EXPECT_GT(d.memo()->y(), d.view()->mapTo(&d.dialog, QPoint(0, d.view()->height())).y());
  EXPECT_GE(d.memo()->x(), 6);
  EXPECT_LE(d.memo()->geometry().right(), d.dialog.width() - 6);
  // The mask lists as the file list does, letters without case.
  EXPECT_EQ(d.listed(), (QStringList{"BIG.NC", "BIN.NC", "EMPTY.NC", "LATER.NC", "SJIS.NC", "lower.nc"}));
}

TEST(OpenTextDialog, SelectingFilesPreviewsTheirBeginning) {
  Folder f;
  Dialog d(f);
  d.select("BIG.NC");
  // 1023 bytes: the CR of line N93 is the last, a line end of its own in the memo.
  EXPECT_EQ(d.memo()->toPlainText(),
            QString::fromStdString(f.big.substr(0, 1023)).replace("\r\n", "\n").replace('\r', '\n'));
  EXPECT_TRUE(d.memo()->toPlainText().endsWith("N93G01X1.\n"));
  d.select("SJIS.NC");
  EXPECT_EQ(d.memo()->toPlainText().toStdString(), "O1001(荒加工 ｻﾌﾞ)\nM99\n");
  d.select("LATER.NC");
  EXPECT_EQ(d.memo()->toPlainText().toStdString(), "O1234\n" + std::string(150, 'X'));
  d.select("EMPTY.NC");
  EXPECT_TRUE(d.memo()->toPlainText().isEmpty());
  EXPECT_TRUE(d.dialogs.shown.empty());
}

TEST(OpenTextDialog, ANulInTheFirstHundredBytesIsRefusedAndTheMemoKeepsItsText) {
  Folder f;
  Dialog d(f);
  d.select("SJIS.NC");
  d.select("BIN.NC");
  ASSERT_EQ(d.dialogs.shown.size(), 1u);
  EXPECT_EQ(d.dialogs.shown[0].text, "ファイルのプレビューが出来ません。\n(ファイルタイプが違います。)");
  EXPECT_EQ(d.dialogs.shown[0].icon, base::MessageIcon::Warning);
  EXPECT_EQ(d.dialogs.shown[0].buttons, base::MessageButtons::Ok);
  EXPECT_EQ(d.memo()->toPlainText().toStdString(), "O1001(荒加工 ｻﾌﾞ)\nM99\n");
  EXPECT_TRUE(d.dialog.isVisible());
}

TEST(OpenTextDialog, KeysInTheListPreviewTheCurrentFile) {
  Folder f;
  Dialog d(f);
  d.select("BIG.NC");
  ASSERT_EQ(keyboard::target(), d.view()); // the click gave the list the keyboard
  // BIG, BIN, EMPTY: Down twice passes the binary file (its message) to EMPTY.
  keyboard::press(Qt::Key_Down);
  keyboard::press(Qt::Key_Down);
  EXPECT_TRUE(d.memo()->toPlainText().isEmpty());
  EXPECT_EQ(d.dialogs.shown.size(), 1u);
}

TEST(OpenTextDialog, ChooseTextFileGivesThePathOrNothing) {
  Folder f;
  test::FakeDialogs dialogs;
  const std::string path = f.dir.file("SJIS.NC");
  QTimer::singleShot(0, [&] {
    auto* dialog = dynamic_cast<editor::COpenTextDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    // The name typed where the dialog has the keyboard (its name field), then Enter.
    auto* name = dialog->findChild<QLineEdit*>("FileNameEdit");
    ASSERT_NE(name, nullptr);
    EXPECT_TRUE(QTest::qWaitFor([&] { return keyboard::target() == name; }, 2000)) << keyboard::focusName();
    keyboard::type("SJIS.NC");
    keyboard::press(Qt::Key_Return);
  });
  EXPECT_EQ(editor::chooseTextFile(nullptr, f.dir.path(), "*.NC", dialogs), path);
  QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
  EXPECT_EQ(editor::chooseTextFile(nullptr, f.dir.path(), "*.NC", dialogs), std::nullopt);
}
