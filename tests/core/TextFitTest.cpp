// Every text of every screen, box and dialog fits its place: the real main
// window with every operation, opened through its keys as an operator does,
// each text measured in the IPA fonts the screen is drawn in.
#include "support/TextFit.h"
#include "StartedForm.h"
#include "app/Translations.h"
#include "platform/Cp932.h"
#include "support/Keyboard.h"

#include <QAction>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTimer>

#include <sys/stat.h>

#include <cstdlib>
#include <functional>
#include <iostream>
#include <string>

using namespace kestrovan;
namespace keyboard = test::keyboard;

namespace {

std::string lines(const std::vector<std::string>& faults) {
  std::string all;
  for (const std::string& f : faults)
    all += "\n  " + f;
  return all;
}

// The texts of every window on screen that do not fit, named by `screen`.
void expectAllFit(const char* screen) {
  std::vector<std::string> faults;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->isVisible()) {
      const std::vector<std::string> some = test::textfit::cutTexts(w);
      faults.insert(faults.end(), some.begin(), some.end());
    }
  EXPECT_TRUE(faults.empty()) << screen << ":" << lines(faults);
  if (const char* shots = std::getenv("TEXTFIT_SHOTS")) {
    static int n = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w->isVisible()) w->grab().save(QString("%1/%2.png").arg(shots).arg(n++));
  }
}

// Presses `key`; once `shown` holds (at once for a box, inside the loop of a
// dialog or a transfer that the key runs), `inside` runs. `inside` ends what
// the key opened, so that the key's handling returns.
void whileOpenBy(const std::function<void()>& keys, const std::function<bool()>& shown,
                 const std::function<void()>& inside) {
  bool done = false;
  QTimer poll;
  poll.setInterval(20);
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (done || !shown()) return;
    done = true;
    poll.stop();
    inside();
  });
  poll.start();
  keys();
  ASSERT_TRUE(QTest::qWaitFor([&] { return done; }, 10000)) << "nothing opened";
}

void whileOpen(Qt::Key key, Qt::KeyboardModifiers mods, const std::function<bool()>& shown,
               const std::function<void()>& inside) {
  SCOPED_TRACE("key " + QKeySequence(key | mods).toString().toStdString());
  whileOpenBy([&] { keyboard::press(key, mods); }, shown, inside);
}

bool modalShown() { return QApplication::activeModalWidget() != nullptr; }

struct Screens : ::testing::Test {
  test::StartedForm s;

  void SetUp() override {
    if (!test::textfit::screenFontsInstalled())
      FAIL() << "the IPA fonts (Debian's fonts-ipafont-gothic, see the README) are not installed: "
                "every width measured here would be another font's";
    // Qt's own dialogs (print, preview) in Japanese, as main() has them.
    static const bool translated = app::installQtTranslations(*QCoreApplication::instance());
    (void)translated;
  }
  // A data folder as a shop floor has one: a long name, a level down, and
  // program names with underscores; entered through the list as an operator does.
  void start(int columns = 2) {
    const std::string folder = s.data.file("PROGRAMS_LATHE_LINE_2");
    ASSERT_EQ(mkdir(folder.c_str(), 0777), 0);
    test::writeFile(folder + "/LATHE_MAIN_SPINDLE_FINISH_0001.NC", "%\r\nO0001\r\nG00X0\r\nM30\r\n%\r\n");
    test::writeFile(folder + "/O1234_ROUGH_A.NC", "%\r\nO1234\r\nG01X1.\r\nM30\r\n%\r\n");
    // Over ten thousand lines, the last of them long.
    std::string big = "%\r\n";
    for (int n = 1; n <= 12000; ++n)
      big += "N" + std::to_string(n) + "G01X123.456Y-78.9F300\r\n";
    test::writeFile(folder + "/MOLD_CAVITY_FINISH.NC",
                    big + "M30(END OF THE FINISHING PASS OVER THE CAVITY WALL)\r\n%\r\n");
    test::writeFile(s.files().settingsPath, "[Options]\r\nListColumn=" + std::to_string(columns) + "\r\n");
    s.start();
    QApplication::setActiveWindow(s.form);
    s.list()->setFocus();
    select("PROGRAMS_LATHE_LINE_2");
    keyboard::press(Qt::Key_Return);
    ASSERT_GE(rowOf("MOLD_CAVITY_FINISH.NC"), 0) << "the folder was not entered";
  }
  int rowOf(const std::string& name) {
    const files::FileList& list = s.form->fileList();
    for (int r = 0; r < static_cast<int>(list.rows().size()); ++r)
      if (const files::FileEntry* e = list.entryAt(r); e && e->name == name) return r;
    return -1;
  }
  void select(const char* name) {
    const int row = rowOf(name);
    ASSERT_GE(row, 0) << name;
    s.list()->selectRow(row);
  }
  void mark(const char* name) {
    select(name);
    keyboard::press(Qt::Key_Return);
  }
  // A closed dialog hands the keyboard back to the main window, as the
  // window manager does on a desktop.
  void dialogClosed() {
    keyboard::settle();
    if (!QApplication::activeWindow()) QApplication::setActiveWindow(s.form);
    idleAgain();
  }
  void idleAgain() {
    ASSERT_TRUE(QTest::qWaitFor([&] { return s.list()->isEnabled() && s.list()->hasFocus(); }, 5000))
        << "still in " << keyboard::focusName();
  }
};

TEST_F(Screens, MainScreenAndItsOverlays) {
  start();
  expectAllFit("the main screen");
  keyboard::hold(Qt::Key_Shift, Qt::ShiftModifier);
  expectAllFit("the main screen with Shift held");
  keyboard::letGo(Qt::Key_Shift, Qt::NoModifier);

  keyboard::press(Qt::Key_F2);
  expectAllFit("the save-choice box (F2)");
  // One choice a line: the second one whole, not broken inside "Ｏ（Ｌ）番号".
  const QStringList choices = test::textfit::shownLines(s.find<QLabel>("SaveChoiceText"));
  ASSERT_GE(choices.size(), 2) << choices.join('|').toStdString();
  EXPECT_TRUE(choices[0].endsWith("(Y)")) << choices.join('|').toStdString();
  EXPECT_TRUE(choices[1].startsWith("Ｏ（Ｌ）番号毎に保存")) << choices.join('|').toStdString();
  keyboard::type("Y");
  expectAllFit("the receive-name prompt (F2, Y)");
  keyboard::press(Qt::Key_Escape);
  idleAgain();

  select("LATHE_MAIN_SPINDLE_FINISH_0001.NC");
  keyboard::press(Qt::Key_F4);
  expectAllFit("the copy prompt (F4)");
  keyboard::press(Qt::Key_Escape);
  idleAgain();

  keyboard::press(Qt::Key_F5);
  expectAllFit("the folder prompt (F5)");
  keyboard::press(Qt::Key_Escape);
  idleAgain();

  keyboard::press(Qt::Key_F6);
  expectAllFit("the extension prompt (F6)");
  keyboard::press(Qt::Key_Escape);
  idleAgain();

  keyboard::press(Qt::Key_F7);
  expectAllFit("the communication settings panel (F7)");
  keyboard::press(Qt::Key_F2);
  idleAgain();

  select("MOLD_CAVITY_FINISH.NC");
  keyboard::press(Qt::Key_F8);
  expectAllFit("the file view (F8)");
  keyboard::press(Qt::Key_Escape);
  idleAgain();

  keyboard::press(Qt::Key_F8, Qt::ShiftModifier);
  expectAllFit("the transfer log (Shift+F8)");
  keyboard::press(Qt::Key_Escape);
  idleAgain();

  keyboard::press(Qt::Key_S);
  expectAllFit("the sort box (S)");
  keyboard::press(Qt::Key_Escape);
  idleAgain();
}

// Esc is held down until the send has seen it (the send looks at the stop
// keys between characters), then let go.
void stopTheSend() { keyboard::hold(Qt::Key_Escape); }
void letGoOfEsc() {
  keyboard::letGo(Qt::Key_Escape);
  keyboard::settle();
}

TEST_F(Screens, SendPanels) {
  start();
  select("LATHE_MAIN_SPINDLE_FINISH_0001.NC");
  auto* panel = s.find<QGroupBox>("GroupBox2");
  whileOpen(
      Qt::Key_F1, Qt::NoModifier, [&] { return panel->isVisible(); },
      [&] {
        expectAllFit("the send of one file (F1)");
        stopTheSend();
      });
  letGoOfEsc();
  idleAgain();

  mark("LATHE_MAIN_SPINDLE_FINISH_0001.NC");
  mark("O1234_ROUGH_A.NC");
  whileOpen(
      Qt::Key_F1, Qt::NoModifier, [&] { return panel->isVisible(); },
      [&] {
        const QListWidget* files = s.find<QListWidget>("ListBox2");
        EXPECT_TRUE(files->isVisible());
        EXPECT_EQ(files->count(), 2);
        expectAllFit("the send of marked files (F1)");
        stopTheSend();
      });
  letGoOfEsc();
  idleAgain();
}

TEST_F(Screens, Dialogs) {
  start();
  const auto dialog = [&](Qt::Key key, Qt::KeyboardModifiers mods, const char* screen) {
    whileOpen(key, mods, modalShown, [&] {
      expectAllFit(screen);
      keyboard::press(Qt::Key_Escape);
    });
    dialogClosed();
  };
  // The options dialog, each of its four pages (Ctrl+Tab moves on).
  whileOpen(Qt::Key_O, Qt::NoModifier, modalShown, [&] {
    for (int page = 0; page < 4; ++page) {
      expectAllFit(("the options dialog (O), page " + std::to_string(page + 1)).c_str());
      keyboard::press(Qt::Key_Tab, Qt::ControlModifier);
    }
    keyboard::press(Qt::Key_Escape);
  });
  dialogClosed();
  dialog(Qt::Key_F, Qt::NoModifier, "the name filter (F)");
  select("O1234_ROUGH_A.NC");
  dialog(Qt::Key_I, Qt::NoModifier, "the file information (I)");
  select("O1234_ROUGH_A.NC");
  dialog(Qt::Key_R, Qt::NoModifier, "the rename dialog (R)");
  select("O1234_ROUGH_A.NC");
  dialog(Qt::Key_B, Qt::NoModifier, "the split dialog (B)");
  select("O1234_ROUGH_A.NC");
  dialog(Qt::Key_H, Qt::NoModifier, "the axis doubling dialog (H)");
  dialog(Qt::Key_Y, Qt::NoModifier, "the external command table (Y)");
  mark("LATHE_MAIN_SPINDLE_FINISH_0001.NC");
  mark("O1234_ROUGH_A.NC");
  dialog(Qt::Key_K, Qt::NoModifier, "the join dialog (K)");
  mark("LATHE_MAIN_SPINDLE_FINISH_0001.NC");
  mark("O1234_ROUGH_A.NC");
  dialog(Qt::Key_R, Qt::NoModifier, "the rename dialog for marked files (R)");
  mark("LATHE_MAIN_SPINDLE_FINISH_0001.NC");
  dialog(Qt::Key_C, Qt::NoModifier, "the copy dialog (C)");
  mark("LATHE_MAIN_SPINDLE_FINISH_0001.NC");
  dialog(Qt::Key_M, Qt::NoModifier, "the move dialog (M)");
}

} // namespace

namespace {

bool popupShown() { return QApplication::activePopupWidget() != nullptr; }

// The editor's panel, its status line in every state the keys put it in, its
// find dialog, its context menu with the print preview, and the print dialog.
TEST_F(Screens, EditorAndFileView) {
  start();
  select("MOLD_CAVITY_FINISH.NC");
  keyboard::press(Qt::Key_V);
  expectAllFit("the file view (V)");
  keyboard::press(Qt::Key_Escape);
  idleAgain();

  select("MOLD_CAVITY_FINISH.NC");
  keyboard::press(Qt::Key_E);
  auto* panel = s.find<QGroupBox>("GroupBox3");
  ASSERT_TRUE(panel->isVisible());
  expectAllFit("the editor (E)");
  keyboard::type("G28U0.");
  expectAllFit("the editor with a change");
  keyboard::press(Qt::Key_Insert);
  keyboard::press(Qt::Key_End, Qt::ShiftModifier);
  expectAllFit("the editor overwriting, a selection made");
  keyboard::press(Qt::Key_Insert);
  keyboard::press(Qt::Key_End, Qt::ShiftModifier);
  expectAllFit("the editor inserting, a selection made");
  // The caret's line and column in five and two digits, once the whole
  // text is in.
  auto* text = s.find<QPlainTextEdit>("EditorText");
  ASSERT_TRUE(QTest::qWaitFor([&] { return text->blockCount() >= 12003; }, 10000));
  keyboard::press(Qt::Key_End, Qt::ControlModifier);
  keyboard::press(Qt::Key_Up);
  keyboard::press(Qt::Key_Up);
  keyboard::press(Qt::Key_End);
  EXPECT_EQ(s.find<QLabel>("StatusBar3Field1")->text().toStdString(), "12002 , 52");
  expectAllFit("the editor at the end of a long program");

  keyboard::press(Qt::Key_F, Qt::ControlModifier);
  auto* find = s.form->findChild<QDialog*>("FindDialog1");
  ASSERT_TRUE(find && find->isVisible());
  expectAllFit("the find dialog (Ctrl+F)");
  keyboard::type("X123.456");
  keyboard::press(Qt::Key_Return);
  expectAllFit("the find dialog after a search");
  keyboard::press(Qt::Key_Escape);
  ASSERT_FALSE(find->isVisible());
  QApplication::setActiveWindow(s.form);
  keyboard::settle();

  whileOpenBy(keyboard::menuKey, popupShown, [&] {
    expectAllFit("the editor's context menu (Menu key)");
    keyboard::press(Qt::Key_Escape);
  });
  // A new document (Ctrl+N) of a few lines for the printing.
  s.dialogs.answers.push_back(base::MessageAnswer::No);
  keyboard::press(Qt::Key_N, Qt::ControlModifier);
  expectAllFit("the editor on a new document (Ctrl+N)");
  for (const char* line : {"O0001", "G28U0.W0.", "M30"}) {
    keyboard::type(line);
    keyboard::press(Qt::Key_Return);
  }
  whileOpen(Qt::Key_P, Qt::ControlModifier, modalShown, [&] {
    expectAllFit("the print dialog (Ctrl+P)");
    keyboard::press(Qt::Key_Escape);
  });
  keyboard::settle();
  if (!QApplication::activeWindow()) QApplication::setActiveWindow(s.form);

  // The context menu's last item, the print preview.
  whileOpenBy(
      [&] {
        keyboard::menuKey();
        keyboard::press(Qt::Key_Up);
        keyboard::press(Qt::Key_Return);
      },
      modalShown,
      [&] {
        expectAllFit("the print preview (Menu key, its last item)");
        keyboard::press(Qt::Key_Escape);
      });
  keyboard::settle();
  if (!QApplication::activeWindow()) QApplication::setActiveWindow(s.form);
  s.dialogs.answers.push_back(base::MessageAnswer::No); // the change goes
  keyboard::press(Qt::Key_Escape);
  idleAgain();
}

} // namespace

namespace {

// The Alt list over a filled command table, the argument dialog an Alt+letter
// opens, the table dialog (Y) with its rows filled, and the drive menu (L).
TEST_F(Screens, ExternalCommandsAndDriveMenu) {
  test::writeFile(s.files().commandTablePath,
                  platform::utf8ToCp932("[Application]\r\nOutAppA=/bin/cat $A\r\nOutAppA_F=Y\r\n"
                                        "OutAppA_N=ﾌﾟﾛｸﾞﾗﾑ表示\r\nOutAppB=/usr/bin/diff\r\nOutAppB_F=N\r\n"
                                        "OutAppB_N=NCﾃﾞｰﾀ比較\r\nOutAppN=/usr/bin/env\r\nOutAppN_F=N\r\n"
                                        "OutAppN_N=CAMｿﾌﾄ起動\r\n"));
  start();
  select("O1234_ROUGH_A.NC");
  keyboard::hold(Qt::Key_Alt, Qt::AltModifier);
  ASSERT_TRUE(s.find<QGroupBox>("GroupBox6")->isVisible());
  expectAllFit("the Alt list (Alt held)");
  whileOpen(Qt::Key_A, Qt::AltModifier, modalShown, [&] {
    expectAllFit("the argument dialog (Alt+A)");
    keyboard::press(Qt::Key_Escape);
  });
  dialogClosed();

  whileOpen(Qt::Key_Y, Qt::NoModifier, modalShown, [&] {
    expectAllFit("the external command table with rows (Y)");
    keyboard::press(Qt::Key_Escape);
  });
  dialogClosed();

  whileOpen(Qt::Key_L, Qt::NoModifier, popupShown, [&] {
    expectAllFit("the drive menu (L)");
    keyboard::press(Qt::Key_Escape);
  });
  idleAgain();
}

} // namespace

namespace {

// The program's own message boxes, opened by the keys that ask them: the
// delete question, the overwrite question, an error, the editor's search
// miss with the status line searching, its help and its closing question.
TEST_F(Screens, MessageBoxes) {
  s.realBoxes = true;
  start();
  const auto box = [&](const std::function<void()>& keys, const char* screen) {
    whileOpenBy(keys, modalShown, [&] {
      ASSERT_NE(qobject_cast<QMessageBox*>(QApplication::activeModalWidget()), nullptr) << screen;
      expectAllFit(screen);
      keyboard::press(Qt::Key_Escape);
    });
  };
  select("LATHE_MAIN_SPINDLE_FINISH_0001.NC");
  box([] { keyboard::press(Qt::Key_D); }, "the delete question (D)");
  dialogClosed();

  select("LATHE_MAIN_SPINDLE_FINISH_0001.NC");
  keyboard::press(Qt::Key_F4);
  box([] { keyboard::type("O1234_ROUGH_A.NC"), keyboard::press(Qt::Key_Return); },
      "the overwrite question (F4 onto another file)");
  dialogClosed();
  select("LATHE_MAIN_SPINDLE_FINISH_0001.NC");
  keyboard::press(Qt::Key_F4);
  box([] { keyboard::type("LATHE_MAIN_SPINDLE_FINISH_0001.NC"), keyboard::press(Qt::Key_Return); },
      "the copy error (F4 onto itself)");
  dialogClosed();

  select("O1234_ROUGH_A.NC");
  keyboard::press(Qt::Key_E);
  keyboard::press(Qt::Key_F, Qt::ControlModifier);
  keyboard::type("Q999");
  box([] { keyboard::press(Qt::Key_Return); }, "the search miss, the status line searching (Ctrl+F)");
  keyboard::settle();
  box([] { keyboard::press(Qt::Key_H, Qt::AltModifier); }, "the find dialog's help (Alt+H)");
  keyboard::settle();
  keyboard::press(Qt::Key_Escape);
  QApplication::setActiveWindow(s.form);
  keyboard::type("G28U0.");
  box([] { keyboard::press(Qt::Key_Escape); }, "the editor's closing question (Esc)");
  keyboard::settle();
  whileOpen(Qt::Key_Escape, Qt::NoModifier, modalShown, [] { keyboard::press(Qt::Key_N); });
  dialogClosed();
}

} // namespace
