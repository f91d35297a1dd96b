// The folder fields of the main window and its dialogs take a folder as this
// system names it: dots are ordinary in folder names here.

#include "FileOpsWindow.h"

#include <QComboBox>
#include <QDialog>

using namespace kestrovan;
using test::writeFile;

namespace {

QComboBox* fieldOf(const char* dialog) {
  for (QWidget* top : QApplication::topLevelWidgets())
    if (top->objectName() == dialog && top->isVisible()) return top->findChild<QComboBox*>("ComboBox1");
  return nullptr;
}

bool hasKeyboard(QComboBox* box) {
  QWidget* w = QApplication::focusWidget();
  return w && (w == box || w == box->lineEdit());
}

} // namespace

TEST(FolderFieldsWindow, TheFolderPromptAndTheSplitDialogTakeAFolderNameWithDots) {
  test::FileOpsWindow w;
  writeFile(w.data.file("O1.NC"), "%\r\nO1\r\nG00X1.\r\nM30\r\n%\r\n");
  w.open();

  // The folder prompt (F5).
  test::keyboard::press(Qt::Key_F5);
  test::keyboard::type("/v1.2");
  EXPECT_TRUE(w.dialogs.shown.empty()) << w.dialogs.shown.front().text;
  EXPECT_EQ(w.prompt()->text().toStdString(), w.settings().DirPath + "/v1.2");
  test::keyboard::press(Qt::Key_Escape);

  // The split dialog (B) and its destination folder.
  w.select("O1.NC");
  test::keyboard::press(Qt::Key_B);
  QComboBox* split = fieldOf("DividesForm");
  ASSERT_NE(split, nullptr);
  test::keyboard::settle();
  ASSERT_TRUE(hasKeyboard(split)) << test::keyboard::focusName();
  // The remembered folder is selected: what is typed replaces it.
  test::keyboard::type(w.settings().DirPath + "/v1.2");
  EXPECT_TRUE(w.dialogs.shown.empty()) << w.dialogs.shown.front().text;
  EXPECT_EQ(split->currentText().toStdString(), w.settings().DirPath + "/v1.2");
  test::keyboard::press(Qt::Key_Escape);
  ASSERT_TRUE(QTest::qWaitFor([&] { return fieldOf("DividesForm") == nullptr; }, 2000));
}
