// The keyboard in the program's dialogs, driven as a keyboard drives them:
// every key to whatever has the focus. Enter presses the dialog's OK whatever
// field, box or choice has the focus, and a focused button when a button has
// it; a box opened with a remembered name has it selected, so typing replaces
// it; and when a dialog closes, the next key reaches the file list.

#include "ToolWindow.h"
#include "core/ui/OptionForm.h"
#include "files/ui/CopyMoveForm.h"
#include "files/ui/RenameForms.h"
#include "support/Keyboard.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <filesystem>

using namespace kestrovan;
namespace keyboard = kestrovan::test::keyboard;
using test::readFile;
using test::writeFile;

namespace {

QWidget* focus() { return QApplication::focusWidget(); }

// The list has the keyboard again: Down, sent to the focus, moves its selection.
void expectListHasTheKeyboard(test::FileOpsWindow& w) {
  ASSERT_TRUE(QTest::qWaitFor([&] { return focus() == w.list(); }, 2000)) << keyboard::focusName();
  w.list()->selectRow(0);
  keyboard::press(Qt::Key_Down);
  EXPECT_EQ(w.list()->selectedRow(), 1);
}

} // namespace

TEST(DialogKeys, CopyDialogTakesEnterFromItsBoxAndTypingReplacesTheRememberedFolder) {
  test::FileOpsWindow w;
  test::TempDir dest;
  std::filesystem::create_directory(dest.file("OLD"));
  std::filesystem::create_directory(dest.file("NEW"));
  writeFile(w.home.file("Path.lst"), dest.file("OLD") + "\r\n");
  writeFile(w.data.file("A.NC"), "a");
  writeFile(w.data.file("B.NC"), "b");
  w.open();
  w.mark({"A.NC", "B.NC"});
  w.key(Qt::Key_F4);
  auto* form = w.form->findChild<files::TCopyForm*>("CopyForm");
  ASSERT_TRUE(form->isVisible());
  auto* box = form->findChild<QComboBox*>("ComboBox1");
  EXPECT_EQ(box->currentText().toStdString(), dest.file("OLD"));
  EXPECT_TRUE(box->isAncestorOf(focus()) || focus() == box) << keyboard::focusName();

  w.type(dest.file("NEW"));
  EXPECT_EQ(box->currentText().toStdString(), dest.file("NEW"));
  keyboard::press(Qt::Key_Return);
  EXPECT_FALSE(form->isVisible());
  EXPECT_EQ(readFile(dest.file("NEW/A.NC")), "a");
  EXPECT_EQ(readFile(dest.file("NEW/B.NC")), "b");
  EXPECT_FALSE(test::fileExists(dest.file("OLD/A.NC")));
  expectListHasTheKeyboard(w);
}

TEST(DialogKeys, JoinDialogTakesEnterAndAfterItsCompletionBoxTheListHasTheKeyboard) {
  test::ToolWindow w;
  writeFile(w.home.file("NAME.lst"), "OLD\r\n");
  writeFile(w.data.file("A.NC"), "O1\r\n");
  writeFile(w.data.file("B.NC"), "O2\r\n");
  w.open();
  w.mark({"A.NC", "B.NC"});
  w.key(Qt::Key_K);
  QDialog* form = w.dialog("PlusForm");
  ASSERT_TRUE(form->isVisible());
  w.type("NEW");
  keyboard::press(Qt::Key_Return);
  EXPECT_EQ(readFile(w.data.file("NEW.NC")), "O1\r\nO2\r\n");
  EXPECT_FALSE(test::fileExists(w.data.file("OLDNEW.NC")));
  ASSERT_FALSE(w.dialogs.shown.empty());
  EXPECT_EQ(w.dialogs.shown.back().title, "完了");
  EXPECT_FALSE(form->isVisible());
  expectListHasTheKeyboard(w);
}

TEST(DialogKeys, SplitDialogTakesEnterFromItsFolderBox) {
  test::ToolWindow w;
  test::TempDir dest;
  writeFile(w.data.file("P.NC"), "%\r\nO0001\r\nM30\r\nO0002\r\nM30\r\n%\r\n");
  w.open();
  w.select("P.NC");
  w.key(Qt::Key_B);
  QDialog* form = w.dialog("DividesForm");
  ASSERT_TRUE(form->isVisible());
  w.type(dest.path());
  keyboard::press(Qt::Key_Return);
  EXPECT_EQ(test::namesIn(dest.path()).size(), 2u);
  keyboard::press(Qt::Key_Escape);
  EXPECT_FALSE(form->isVisible());
  expectListHasTheKeyboard(w);
}

TEST(DialogKeys, EnterOnAFocusedButtonPressesIt) {
  test::FileOpsWindow w;
  writeFile(w.data.file("A.NC"), "a");
  writeFile(w.data.file("B.NC"), "b");
  w.open();
  w.key(Qt::Key_O);
  auto* options = w.form->findChild<core::TOptionForm*>("OptionForm");
  ASSERT_TRUE(options->isVisible());
  QLineEdit* field = options->field("InvTime");
  field->setFocus(); // a click into the field
  w.type("5");
  auto* apply = options->findChild<QPushButton*>("Button1");
  ASSERT_TRUE(apply->isEnabled());
  for (int i = 0; i < 60 && focus() != apply; ++i)
    keyboard::press(Qt::Key_Tab);
  ASSERT_EQ(focus(), apply) << keyboard::focusName();
  keyboard::press(Qt::Key_Return);
  EXPECT_FALSE(apply->isEnabled()) << "Enter on 変更 did not apply";
  EXPECT_EQ(w.settings().InvTime, field->text().toInt());
  auto* back = options->findChild<QPushButton*>("Button2");
  back->setFocus();
  keyboard::press(Qt::Key_Return);
  EXPECT_FALSE(options->isVisible());
  expectListHasTheKeyboard(w);
}

TEST(DialogKeys, EnterWithAKindChosenInTheSeveralFilesRenamePressesOk) {
  test::FileOpsWindow w;
  writeFile(w.data.file("a.nc"), "a");
  writeFile(w.data.file("b.nc"), "b");
  w.open();
  w.mark({"a.nc", "b.nc"});
  w.select("b.nc"); // R does nothing on the ".." row
  test::whenShown<files::TRenameMultiForm>(w.form, [](files::TRenameMultiForm* f) {
    ASSERT_TRUE(QTest::qWaitFor([f] { return f->isAncestorOf(focus()); }, 2000));
    keyboard::press(Qt::Key_Down); // the arrow moves to the next kind: upper case
    EXPECT_TRUE(f->findChild<QRadioButton*>("RadioButton2")->isChecked());
    keyboard::press(Qt::Key_Return);
    if (f->isVisible()) {
      ADD_FAILURE() << "Enter left the dialog open";
      f->reject();
    }
  });
  w.key(Qt::Key_R);
  EXPECT_EQ(readFile(w.data.file("A.NC")), "a");
  EXPECT_EQ(readFile(w.data.file("B.NC")), "b");
  expectListHasTheKeyboard(w);
}
