// The name filter (F) on the real main window, driven by keys.
#include "files/ui/FindForm.h"
#include "files/NameFilter.h"

#include "FileListFixture.h"
#include "StartedForm.h"
#include "base/SettingsRecord.h"
#include "core/KeyTable.h"
#include "support/Keyboard.h"

#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace kestrovan;

namespace {

struct Filter {
  test::StartedForm& s;

  files::TFindForm* dialog() const { return s.form->findChild<files::TFindForm*>("FindForm"); }
  QComboBox* field() const { return dialog()->field(); }
  QPushButton* ok() const { return dialog()->findChild<QPushButton*>("FindOk"); }
  std::string historyFile() const { return s.home.file("FIND.LST"); }

  void open() {
    test::keyboard::press(Qt::Key_F);
    ASSERT_TRUE(dialog()->isVisible());
  }
  void type(const char* text) { test::keyboard::type(text); }
  void key(Qt::Key k) { test::keyboard::press(k); }
  void search(const char* name) {
    open();
    type(name);
    key(Qt::Key_Return);
  }
  std::vector<std::string> listedFiles() const {
    std::vector<std::string> names;
    for (const files::FileEntry& f : s.form->fileList().files())
      names.push_back(f.name);
    std::sort(names.begin(), names.end());
    return names;
  }
};

void makeFolder(test::StartedForm& s) {
  for (const char* name : {"O1234.NC", "O12.NC", "O1234.TXT", "O2000.NC"})
    test::writeFile(s.data.file(name), "%\r\n");
}

} // namespace

TEST(NameFilterWindow, O12StarListsTheMatchingProgramsAndSpaceShowsTheWholeFolderAgain) {
  for (const char* allFiles : {"Y", "N"}) {
    test::StartedForm s;
    makeFolder(s);
    s.start();
    s.form->settings().ALL_Files = allFiles;
    Filter f{s};
    f.open();
    EXPECT_EQ(f.dialog()->windowTitle(), "絞り込み・検索");
    EXPECT_TRUE(f.dialog()->isModal());
    EXPECT_TRUE(f.field()->currentText().isEmpty());
    EXPECT_FALSE(f.ok()->isEnabled());
    EXPECT_TRUE(f.field()->hasFocus());
    f.type("O12*");
    EXPECT_TRUE(f.ok()->isEnabled());
    f.key(Qt::Key_Return);
    EXPECT_FALSE(f.dialog()->isVisible());
    EXPECT_EQ(f.listedFiles(), (std::vector<std::string>{"O12.NC", "O1234.NC"})) << allFiles;
    EXPECT_EQ(s.find<QLabel>("Label1")->text().toStdString(), core::functionKeyText(false));
    EXPECT_EQ(s.form->focusWidget(), s.list());

    test::keyboard::press(Qt::Key_Space);
    EXPECT_EQ(f.listedFiles().size(), allFiles == std::string("Y") ? 4u : 3u) << allFiles;
  }
}

TEST(NameFilterWindow, ANameUsedTwiceStaysOnceAtTheTopOfFindLstAndTheFieldOpensEmpty) {
  test::StartedForm s;
  makeFolder(s);
  s.start();
  Filter f{s};
  EXPECT_FALSE(test::fileExists(f.historyFile()));
  f.search("O12*");
  f.search("O2*");
  f.search("O12*");
  EXPECT_EQ(test::readFile(f.historyFile()), "O12*\r\nO2*\r\n");

  f.open();
  EXPECT_TRUE(f.field()->currentText().isEmpty());
  ASSERT_EQ(f.field()->count(), 2);
  EXPECT_EQ(f.field()->itemText(0), "O12*");
  EXPECT_EQ(f.field()->itemText(1), "O2*");
  // A name without a star is matched as it is.
  f.type("O2000");
  f.key(Qt::Key_Return);
  EXPECT_TRUE(f.listedFiles().empty());
  f.search("O2000*");
  EXPECT_EQ(f.listedFiles(), (std::vector<std::string>{"O2000.NC"}));
  EXPECT_EQ(test::readFile(f.historyFile()), "O2000*\r\nO2000\r\nO12*\r\nO2*\r\n");
}

TEST(NameFilterWindow, EscOrCancelClosesWithoutFilteringAndWritesTheListAsLoaded) {
  test::StartedForm s;
  makeFolder(s);
  test::writeFile(s.home.file("FIND.LST"), "O2*\r\nO12*"); // the last line without its CR LF
  s.start();
  Filter f{s};
  f.open();
  f.type("O2*");
  f.key(Qt::Key_Escape);
  EXPECT_FALSE(f.dialog()->isVisible());
  EXPECT_EQ(f.listedFiles().size(), 4u);
  EXPECT_EQ(test::readFile(f.historyFile()), "O2*\r\nO12*\r\n");
  f.open();
  f.dialog()->findChild<QPushButton*>("FindCancel")->click();
  EXPECT_FALSE(f.dialog()->isVisible());
  EXPECT_EQ(s.form->focusWidget(), s.list());
}

TEST(NameFilterWindow, ARefusedCharacterIsDroppedWithItsBoxHoweverItComes) {
  test::StartedForm s;
  makeFolder(s);
  s.start();
  Filter f{s};
  f.open();
  f.type("O1.");
  ASSERT_EQ(s.dialogs.shown.size(), 1u);
  EXPECT_EQ(s.dialogs.shown[0].title, "確認");
  EXPECT_EQ(s.dialogs.shown[0].text, "この文字はファイル名に使えません。\n/:,;*?<>|.");
  EXPECT_EQ(s.dialogs.shown[0].icon, base::MessageIcon::Stop);
  EXPECT_EQ(f.field()->currentText(), "O1");
  for (const char* c : {"/", ":", ",", ";", "?", "<", ">", "|"})
    f.type(c);
  EXPECT_EQ(s.dialogs.shown.size(), 9u);
  EXPECT_EQ(f.field()->currentText(), "O1");

  // Pasted: the text as it was, the cursor where it stood.
  QApplication::clipboard()->setText("2/../O9");
  test::keyboard::press(Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(s.dialogs.shown.size(), 10u);
  EXPECT_EQ(f.field()->currentText(), "O1");
  f.type("2*");
  f.key(Qt::Key_Return);
  EXPECT_EQ(f.listedFiles(), (std::vector<std::string>{"O12.NC", "O1234.NC"}));
}

TEST(NameFilterWindow, AHandEditedHistoryNameWithARefusedCharacterIsRefusedOnOk) {
  test::StartedForm s;
  makeFolder(s);
  const std::string sub = s.data.file("SUB");
  ASSERT_EQ(mkdir(sub.c_str(), 0755), 0);
  test::writeFile(sub + "/O12.NC", "x");
  test::writeFile(s.home.file("FIND.LST"), "SUB/O1*\r\n");
  s.start();
  Filter f{s};
  f.open();
  f.field()->setCurrentIndex(0); // picked from the drop-down list
  EXPECT_EQ(f.field()->currentText(), "SUB/O1*");
  f.key(Qt::Key_Return);
  ASSERT_EQ(s.dialogs.shown.size(), 1u);
  EXPECT_EQ(s.dialogs.shown[0].text, "この文字はファイル名に使えません。\n/:,;*?<>|.");
  EXPECT_TRUE(f.dialog()->isVisible());
  EXPECT_EQ(f.listedFiles().size(), 4u); // the folder was not searched with it
}

TEST(NameFilterWindow, TheFolderWatchsRefreshEndsTheFilter) {
  test::StartedForm s;
  makeFolder(s);
  s.start();
  Filter f{s};
  f.search("O12*");
  ASSERT_EQ(f.listedFiles().size(), 2u);
  test::writeFile(s.data.file("O3000.NC"), "%\r\n");
  ASSERT_TRUE(QTest::qWaitFor([&] { return f.listedFiles().size() == 5u; }, 5000));
}
