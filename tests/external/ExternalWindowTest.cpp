// The external commands on the real window, driven by key events on the
// offscreen platform: the table dialog (Y) and what it leaves in
// OutApp_Sub.ini, the Alt list, and Alt+letter starting a real program.
#include "Recorder.h"
#include "core/StartedForm.h"
#include "external/ui/ExternalOperations.h"
#include "platform/Cp932.h"
#include "support/Keyboard.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

#include <filesystem>

using namespace kestrovan;
namespace keyboard = kestrovan::test::keyboard;

namespace {

// A key held down and let go (Alt for the list), each to whatever has the focus.
void keyDown(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
  keyboard::settle();
  ASSERT_NE(keyboard::target(), nullptr) << "no widget has the keyboard";
  keyboard::hold(key, mods);
  keyboard::settle();
}
void keyUp(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
  ASSERT_NE(keyboard::target(), nullptr) << "no widget has the keyboard";
  keyboard::letGo(key, mods);
  keyboard::settle();
}

std::string commandTablePath(const test::StartedForm& s) { return s.files().commandTablePath; }

// OutApp_Sub.ini as an editor on the shop's PC writes it: CP932, CR LF.
void writeTable(const test::StartedForm& s, const std::string& utf8Lines) {
  test::writeFile(commandTablePath(s), platform::utf8ToCp932("[Application]\r\n" + utf8Lines));
}

int rowOf(const test::StartedForm& s, const std::string& name) {
  const files::FileList& list = s.form->fileList();
  for (int row = 0; row < static_cast<int>(list.rows().size()); ++row)
    if (const files::FileEntry* e = list.entryAt(row); e && e->name == name) return row;
  return -1;
}

struct TableDialog {
  external::TAppopenForm* form;
  QTreeWidget* list() const { return form->findChild<QTreeWidget*>("ListView1"); }
  QLineEdit* name() const { return form->findChild<QLineEdit*>("LabeledEdit1"); }
  QCheckBox* flag() const { return form->findChild<QCheckBox*>("CheckBox1"); }
  QLineEdit* application() const { return form->findChild<QLineEdit*>("LabeledEdit2"); }
  QString key() const { return form->findChild<QLabel*>("Label1")->text(); }
  void click(const char* button) const {
    QTest::mouseClick(form->findChild<QPushButton*>(button), Qt::LeftButton);
  }
  QStringList row(int index) const {
    QTreeWidgetItem* item = list()->topLevelItem(index);
    return {item->text(0), item->text(1), item->text(2), item->text(3)};
  }
};

// Y on the main window's list opens the table dialog.
TableDialog openTable(test::StartedForm& s) {
  keyboard::press(Qt::Key_Y);
  auto* form = s.find<external::TAppopenForm>("AppopenForm");
  EXPECT_TRUE(form && form->isVisible());
  EXPECT_EQ(QApplication::activeModalWidget(), form);
  return {form};
}

external::CommandTable& table(test::StartedForm& s) { return s.form->commandTable(); }

// The window started with the table lines on a data folder that holds the
// one NC program `name`, which is selected.
void startOnFile(test::StartedForm& s, const std::string& name, const std::string& tableLines) {
  test::writeFile(s.data.file(name), "%\r\nO1234\r\n%\r\n");
  writeTable(s, tableLines);
  s.start();
  s.list()->selectRow(rowOf(s, name));
}

} // namespace

TEST(ExternalTable, WithoutAFileTheRowsAreEmptyAndTheCloseWritesAll79Keys) {
  test::StartedForm s;
  ASSERT_FALSE(test::fileExists(commandTablePath(s)));
  s.start();
  TableDialog d = openTable(s);
  ASSERT_EQ(d.list()->topLevelItemCount(), 26);
  EXPECT_EQ(d.row(0), (QStringList{"Alt+A", "", "N", ""}));
  EXPECT_EQ(d.row(25), (QStringList{"Alt+Z", "", "N", ""}));
  EXPECT_EQ(d.list()->currentItem(), d.list()->topLevelItem(0));
  EXPECT_TRUE(d.list()->topLevelItem(0)->isSelected());
  EXPECT_EQ(d.form->focusWidget(), d.list());
  EXPECT_EQ(d.key(), "Alt+A");
  d.click("Button2");
  EXPECT_FALSE(d.form->isVisible());
  s.form->close();

  std::string expected = "[Application]\r\nEditApp=\r\n";
  for (char c = 'A'; c <= 'Z'; ++c)
    expected += std::string("OutApp") + c + "=\r\nOutApp" + c + "_F=N\r\nOutApp" + c + "_N=\r\n";
  EXPECT_EQ(test::readFile(commandTablePath(s)), expected);
}

// A change is kept at once, in the case it was typed (paths here are
// case-sensitive), and reaches the file at close; EditApp goes back as it came.
TEST(ExternalTable, AChangeKeepsItsLetterCaseAndEditAppSurvivesTheRun) {
  test::StartedForm s;
  writeTable(
      s,
      "EditApp=C:\\EDIT\\EDIT.EXE /r\r\nOutAppA=/opt/edit/edit $A\r\nOutAppA_F=Y\r\nOutAppA_N=エディタ\r\n");
  s.start();
  TableDialog d = openTable(s);
  EXPECT_EQ(d.row(0), (QStringList{"Alt+A", "エディタ", "Y", "/opt/edit/edit $A"}));
  keyboard::press(Qt::Key_Down);
  ASSERT_EQ(d.key(), "Alt+B");
  d.name()->setText("変換");
  d.flag()->setChecked(true);
  QTest::mouseClick(d.application(), Qt::LeftButton); // into the box, as the operator does
  keyboard::type("/usr/local/bin/nc2txt -o $D.txt $A");
  d.click("Button1");
  EXPECT_EQ(d.row(1), (QStringList{"Alt+B", "変換", "Y", "/usr/local/bin/nc2txt -o $D.txt $A"}));
  EXPECT_EQ(table(s).entry('B')->application, "/usr/local/bin/nc2txt -o $D.txt $A");
  d.click("Button2");
  s.form->close();

  const std::string file = platform::cp932ToUtf8(test::readFile(commandTablePath(s)));
  EXPECT_NE(file.find("\r\nEditApp=C:\\EDIT\\EDIT.EXE /r\r\n"), std::string::npos) << file;
  EXPECT_NE(file.find("\r\nOutAppA=/opt/edit/edit $A\r\nOutAppA_F=Y\r\nOutAppA_N=エディタ\r\n"),
            std::string::npos);
  EXPECT_NE(file.find("\r\nOutAppB=/usr/local/bin/nc2txt -o $D.txt $A\r\nOutAppB_F=Y\r\nOutAppB_N=変換\r\n"),
            std::string::npos);
}

TEST(ExternalTable, ARowWithNShowsAnUntickedBoxAfterATickedOne) {
  test::StartedForm s;
  writeTable(s, "OutAppA=/opt/a "
                "$A\r\nOutAppA_F=Y\r\nOutAppB=/opt/b\r\nOutAppB_F=N\r\nOutAppC=/opt/c\r\nOutAppC_F=y\r\n");
  s.start();
  TableDialog d = openTable(s);
  EXPECT_TRUE(d.flag()->isChecked());
  keyboard::press(Qt::Key_Down);
  EXPECT_EQ(d.key(), "Alt+B");
  EXPECT_FALSE(d.flag()->isChecked());
  EXPECT_EQ(d.application()->text(), "/opt/b");
  // Only "Y" ticks the box.
  keyboard::press(Qt::Key_Down);
  EXPECT_FALSE(d.flag()->isChecked());
  // A click on a row shows it too.
  QTreeWidgetItem* first = d.list()->topLevelItem(0);
  QTest::mouseClick(d.list()->viewport(), Qt::LeftButton, {}, d.list()->visualItemRect(first).center());
  EXPECT_EQ(d.key(), "Alt+A");
  EXPECT_TRUE(d.flag()->isChecked());
  d.click("Button2");
}

TEST(ExternalTable, AfterBrowsingChangeWritesTheRowSelectedBeforeAndWithoutARowNothing) {
  test::StartedForm s;
  s.start();
  TableDialog d = openTable(s);
  std::optional<std::string> chosen = "/opt/Plot Tools/plot";
  d.form->setProgramChooser([&](QWidget*) { return chosen; });
  keyboard::press(Qt::Key_Down);
  keyboard::press(Qt::Key_Down);
  d.click("BitBtn1");
  EXPECT_EQ(d.application()->text(), "/opt/Plot Tools/plot");
  EXPECT_TRUE(d.list()->topLevelItem(2)->isSelected());
  EXPECT_EQ(d.form->focusWidget(), d.list());
  d.click("Button1");
  EXPECT_EQ(table(s).entry('C')->application, "/opt/Plot Tools/plot");
  EXPECT_EQ(table(s).entry('A')->application, "");
  // A cancelled browse leaves the box as it was.
  chosen.reset();
  d.click("BitBtn1");
  EXPECT_EQ(d.application()->text(), "/opt/Plot Tools/plot");

  d.list()->clearSelection();
  d.application()->setText("/opt/other");
  d.name()->setText("other");
  d.click("Button1");
  for (char c = 'A'; c <= 'Z'; ++c) {
    EXPECT_EQ(table(s).entry(c)->application, c == 'C' ? "/opt/Plot Tools/plot" : "") << c;
    EXPECT_EQ(table(s).entry(c)->name, "") << c;
  }
  d.click("Button2");
}

TEST(AltList, HoldingAltShowsBothColumnsAndReleasingHidesIt) {
  test::StartedForm s;
  writeTable(s, "OutAppA_N=エディタ\r\nOutAppM=/opt/m\r\nOutAppM_N=M番\r\nOutAppZ_N=最後\r\n");
  s.start();
  auto* box = s.find<QGroupBox>("GroupBox6");
  ASSERT_TRUE(box);
  EXPECT_FALSE(box->isVisible());
  auto* ops = s.window->operation<external::ExternalOperations>();
  keyDown(Qt::Key_Alt, Qt::AltModifier);
  EXPECT_TRUE(box->isVisible());
  EXPECT_TRUE(ops->altListShown());
  QString left = "ALT+A : エディタ\n", right;
  for (char c = 'B'; c <= 'L'; ++c)
    left += QString("ALT+%1 : \n").arg(c);
  left += "ALT+M : M番\n";
  for (char c = 'N'; c <= 'Y'; ++c)
    right += QString("ALT+%1 : \n").arg(c);
  right += "ALT+Z : 最後\n";
  EXPECT_EQ(s.find<QLabel>("Label30")->text(), left);
  EXPECT_EQ(s.find<QLabel>("Label31")->text(), right);
  keyUp(Qt::Key_Alt);
  EXPECT_FALSE(box->isVisible());
  EXPECT_FALSE(ops->altListShown());
  // A name changed in the table shows the next time.
  table(s).entry('B')->name = "新";
  keyDown(Qt::Key_Alt, Qt::AltModifier);
  EXPECT_TRUE(s.find<QLabel>("Label30")->text().contains("ALT+B : 新\n"));
  keyUp(Qt::Key_Alt);
  // Y hides a list that still shows.
  keyDown(Qt::Key_Alt, Qt::AltModifier);
  keyDown(Qt::Key_Y);
  EXPECT_FALSE(box->isVisible());
  s.find<external::TAppopenForm>("AppopenForm")->close();
}

TEST(AltLetter, WithoutAFileRowItAsksForAFileAndWithoutTheAltListItDoesNothing) {
  test::StartedForm s;
  std::filesystem::create_directory(s.data.file("SUB"));
  test::writeFile(s.data.file("O0001.NC"), "%\r\nO1\r\n%\r\n");
  test::Recorder r;
  writeTable(s, "OutAppA=" + r.script + " $A\r\nOutAppA_F=Y\r\n");
  s.start();
  for (int row : {rowOf(s, "SUB"), 0 /* .. */}) {
    s.list()->selectRow(row);
    s.dialogs.shown.clear();
    keyboard::press(Qt::Key_A, Qt::AltModifier);
    ASSERT_EQ(s.dialogs.shown.size(), 1u) << row;
    EXPECT_EQ(s.dialogs.shown[0].title, "確認");
    EXPECT_EQ(s.dialogs.shown[0].text, "ﾌｧｲﾙを選択して下さい。\n(複数のﾌｧｲﾙ選択は不可です。)");
    EXPECT_EQ(s.dialogs.shown[0].icon, base::MessageIcon::Stop);
    EXPECT_FALSE(s.find<QGroupBox>("GroupBox6")->isVisible());
  }
  // Alt+A that comes without Alt having gone down in the list finds the
  // shortcuts detached: no box, no dialog, no letter command.
  s.dialogs.shown.clear();
  QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::AltModifier, "a");
  QApplication::sendEvent(keyboard::target(), &press);
  EXPECT_TRUE(s.dialogs.shown.empty());
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(AltLetter, OnAFileWithoutArgumentsStartsTheProgramAlone) {
  test::StartedForm s;
  test::Recorder r;
  startOnFile(s, "O1234.NC", "OutAppK=" + r.script + " $A\r\nOutAppK_F=N\r\n");
  keyboard::press(Qt::Key_K, Qt::AltModifier);
  ASSERT_TRUE(r.ran());
  EXPECT_TRUE(r.arguments().empty());
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(AltLetter, WithArgumentsTheBoxShowsTheFileAndEnterStartsTheProgramWithItUnchanged) {
  test::StartedForm s;
  const std::string name = "O 1\"2';3 $B.NC";
  test::Recorder r;
  startOnFile(s, name, "OutAppA=" + r.script + " $A\r\nOutAppA_F=Y\r\nOutAppA_N=記録\r\n");
  keyboard::press(Qt::Key_A, Qt::AltModifier);
  auto* form = s.find<external::TOutAppForm>("OutAppForm");
  ASSERT_TRUE(form->isVisible());
  EXPECT_EQ(QApplication::activeModalWidget(), form);
  EXPECT_EQ(form->windowTitle(), "引数");
  EXPECT_EQ(form->findChild<QLabel*>("Label1")->text(), "記録");
  EXPECT_EQ(form->findChild<QLabel*>("Label3")->text().toStdString(), r.script + " $A");
  auto* box = form->findChild<QLineEdit*>("LabeledEdit1");
  EXPECT_EQ(box->text().toStdString(), s.data.file(name));
  EXPECT_EQ(form->focusWidget(), box);
  keyboard::press(Qt::Key_Return);
  EXPECT_FALSE(form->isVisible());
  ASSERT_TRUE(r.ran());
  EXPECT_EQ(r.arguments(), std::vector<std::string>{s.data.file(name)});
}

TEST(AltLetter, ClearingTheBoxStartsTheProgramWithoutArgumentsAndCancelClosesTheDialog) {
  test::StartedForm s;
  test::Recorder r;
  startOnFile(s, "O1234.NC", "OutAppD=" + r.script + " -o $D.TXT\r\nOutAppD_F=Y\r\n");
  keyboard::press(Qt::Key_D, Qt::AltModifier);
  auto* form = s.find<external::TOutAppForm>("OutAppForm");
  auto* box = form->findChild<QLineEdit*>("LabeledEdit1");
  EXPECT_EQ(box->text(), "O1234");
  keyboard::press(Qt::Key_Escape);
  EXPECT_FALSE(form->isVisible());
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

  // The offscreen platform has no window manager to give the keyboard back
  // to the main window once the dialog has gone; a desktop's does.
  if (!QApplication::activeWindow()) s.form->activateWindow();
  keyboard::press(Qt::Key_D, Qt::AltModifier);
  ASSERT_TRUE(form->isVisible());
  box->clear();
  QTest::mouseClick(form->findChild<QPushButton*>("Button1"), Qt::LeftButton);
  ASSERT_TRUE(r.ran());
  EXPECT_TRUE(r.arguments().empty());
}

// A program whose name is bytes of no UTF-8 (テスト.nc in CP932, copied over
// from an older computer): the box shows it read as CP932, and the program
// gets the path's very bytes.
TEST(AltLetter, AFileWhoseNameIsNoUtf8ReachesTheProgramWithItsBytes) {
  test::StartedForm s;
  const std::string name = "\x83\x65\x83\x58\x83\x67.nc";
  test::Recorder r;
  startOnFile(s, name, "OutAppA=" + r.script + " $A\r\nOutAppA_F=Y\r\n");
  ASSERT_NE(rowOf(s, name), -1);
  keyboard::press(Qt::Key_A, Qt::AltModifier);
  auto* form = s.find<external::TOutAppForm>("OutAppForm");
  ASSERT_TRUE(form->isVisible());
  EXPECT_EQ(form->findChild<QLineEdit*>("LabeledEdit1")->text().toStdString(), s.data.file("テスト.nc"));
  keyboard::press(Qt::Key_Return);
  ASSERT_TRUE(r.ran());
  EXPECT_EQ(r.arguments(), std::vector<std::string>{s.data.file(name)});
}
