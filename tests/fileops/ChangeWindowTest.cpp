// D (delete), R (rename), F6 (extension) and the copy's progress dialog on
// the real main window.

#include "FileOpsWindow.h"
#include "files/ui/QtCopyProgress.h"
#include "platform/DirectoryEnum.h"
#include "platform/Paths.h"

#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

#include <cstdlib>

using namespace kestrovan;
using base::MessageAnswer;
using test::readFile;
using test::writeFile;

namespace {

struct RenameAnswer {
  std::optional<std::string> name; // nothing: Cancel
  int kind = 1;
};

// Answers the rename dialogs one after the other as they open.
void answerRenames(QObject* owner, std::vector<RenameAnswer> answers) {
  if (answers.empty()) return;
  test::whenShown<files::TRenameForm>(owner, [owner, answers](files::TRenameForm* f) {
    const RenameAnswer a = answers.front();
    auto* edit = f->findChild<QLineEdit*>("Edit1");
    f->findChild<QRadioButton*>(QString("RadioButton%1").arg(a.kind))->setChecked(true);
    if (a.name) {
      // The name box has the focus when the dialog opens.
      test::keyboard::settle();
      EXPECT_EQ(QApplication::focusWidget(), edit) << test::keyboard::focusName();
      edit->selectAll();
      test::keyboard::type(*a.name);
      test::keyboard::press(Qt::Key_Return);
    } else {
      f->findChild<QPushButton*>("Button2")->click();
    }
    answerRenames(owner, {answers.begin() + 1, answers.end()});
  });
}

void answerSeveral(QObject* owner, int kind, bool ok = true) {
  test::whenShown<files::TRenameMultiForm>(owner, [kind, ok](files::TRenameMultiForm* f) {
    f->findChild<QRadioButton*>(QString("RadioButton%1").arg(kind))->setChecked(true);
    f->findChild<QPushButton*>(ok ? "Button1" : "Button2")->click();
  });
}

std::vector<std::string> namesIn(const std::string& folder) {
  std::vector<std::string> n = platform::listNames(folder);
  std::sort(n.begin(), n.end());
  return n;
}

} // namespace

TEST(DeleteWindow, DPutsTheSelectedFileInTheTrashAfterTheQuestion) {
  test::TempDir trash;
  setenv("XDG_DATA_HOME", trash.path().c_str(), 1);
  test::FileOpsWindow w;
  writeFile(w.data.file("O1.NC"), "one");
  writeFile(w.data.file("O2.NC"), "two");
  w.open();
  w.select("O1.NC");
  test::keyboard::press(Qt::Key_D); // answered No
  EXPECT_EQ(w.dialogs.shown.back().text, "O1.NC をごみ箱に移しますか？");
  EXPECT_TRUE(test::fileExists(w.data.file("O1.NC")));
  w.dialogs.answers = {MessageAnswer::Yes};
  test::keyboard::press(Qt::Key_F3);
  EXPECT_FALSE(test::fileExists(w.data.file("O1.NC")));
  EXPECT_EQ(readFile(trash.file("Trash/files/O1.NC")), "one");
  EXPECT_TRUE(test::fileExists(trash.file("Trash/info/O1.NC.trashinfo")));
  EXPECT_EQ(w.rowOf("O1.NC"), -1);
  // Marked files: the count in the question.
  writeFile(w.data.file("O3.NC"), "three");
  w.form->refreshFileList();
  w.mark({"O2.NC", "O3.NC"});
  w.dialogs.answers = {MessageAnswer::Yes};
  test::keyboard::press(Qt::Key_D);
  EXPECT_EQ(w.dialogs.shown.back().text, "2 個のファイルをごみ箱に移しますか？");
  EXPECT_EQ(namesIn(w.data.path()), std::vector<std::string>{});
  unsetenv("XDG_DATA_HOME");
}

TEST(RenameWindow, RRenamesOneEntryAndANameInUseKeepsBoth) {
  test::FileOpsWindow w;
  writeFile(w.data.file("O1.NC"), "one");
  writeFile(w.data.file("O2.NC"), "two");
  mkdir(w.data.file("OLD").c_str(), 0755);
  w.open();
  w.select("O1.NC");
  answerRenames(w.form, {{"O5.NC"}});
  test::keyboard::press(Qt::Key_R);
  EXPECT_EQ(readFile(w.data.file("O5.NC")), "one");
  EXPECT_NE(w.rowOf("O5.NC"), -1);
  EXPECT_FALSE(w.form->fileList().busy());

  w.select("O5.NC");
  answerRenames(w.form, {{"O2.NC"}});
  test::keyboard::press(Qt::Key_R);
  EXPECT_EQ(readFile(w.data.file("O5.NC")), "one");
  EXPECT_EQ(readFile(w.data.file("O2.NC")), "two");
  EXPECT_NE(w.dialogs.shown.back().text.find("O2.NC"), std::string::npos);

  // A folder too; kind 4 rewrites the field as it is typed.
  w.select("OLD");
  answerRenames(w.form, {{"nEW", 4}});
  test::keyboard::press(Qt::Key_R);
  EXPECT_TRUE(platform::isDirectory(w.data.file("New")));
  // Cancel changes nothing.
  w.select("O2.NC");
  answerRenames(w.form, {{std::nullopt}});
  test::keyboard::press(Qt::Key_R);
  EXPECT_EQ(namesIn(w.data.path()), (std::vector<std::string>{"New", "O2.NC", "O5.NC"}));
}

TEST(RenameWindow, SeveralFilesByKindAndOneByOneWithTheSecondCancelled) {
  test::FileOpsWindow w;
  for (const char* n : {"o1000.nc", "O2000.nc", "x.Nc"})
    writeFile(w.data.file(n), n);
  w.open();
  w.mark({"o1000.nc", "O2000.nc", "x.Nc"});
  w.select("x.Nc"); // R does nothing on the ".." row
  answerSeveral(w.form, 2);
  test::keyboard::press(Qt::Key_R);
  EXPECT_EQ(namesIn(w.data.path()), (std::vector<std::string>{"O1000.NC", "O2000.NC", "X.NC"}));
  EXPECT_EQ(readFile(w.data.file("X.NC")), "x.Nc");
  EXPECT_EQ(w.form->fileList().marks().count(), 0);

  w.mark({"O1000.NC"});
  w.select("O1000.NC");
  answerSeveral(w.form, 4);
  test::keyboard::press(Qt::Key_R);
  EXPECT_TRUE(test::fileExists(w.data.file("O1000.nc")));

  w.mark({"O1000.nc", "O2000.NC", "X.NC"});
  w.select("X.NC");
  answerSeveral(w.form, 5);
  answerRenames(w.form, {{"A.NC"}, {std::nullopt}, {"C.NC"}});
  test::keyboard::press(Qt::Key_R);
  EXPECT_EQ(namesIn(w.data.path()), (std::vector<std::string>{"A.NC", "C.NC", "O2000.NC"}));

  // Kind 1 renames nothing; Cancel neither.
  w.mark({"A.NC"});
  w.select("A.NC");
  answerSeveral(w.form, 1);
  test::keyboard::press(Qt::Key_R);
  w.mark({"A.NC"});
  w.select("A.NC");
  answerSeveral(w.form, 2, false);
  test::keyboard::press(Qt::Key_R);
  EXPECT_EQ(namesIn(w.data.path()), (std::vector<std::string>{"A.NC", "C.NC", "O2000.NC"}));
  EXPECT_FALSE(w.form->fileList().busy());
}

TEST(RenameWindow, OneByOneTheInfoLineDescribesTheFileBeingRenamed) {
  test::FileOpsWindow w;
  for (const char* n : {"A.NC", "BB.NC", "CCC.NC"})
    writeFile(w.data.file(n), n);
  w.open();
  w.select("CCC.NC");
  test::keyboard::press(Qt::Key_Up); // the info line follows the arrow: BB.NC
  ASSERT_NE(w.find<QLabel>("Label8")->text().toStdString().find("BB.NC"), std::string::npos);
  w.mark({"A.NC", "CCC.NC"});
  std::vector<std::string> infoLines;
  answerSeveral(w.form, 5);
  // Each rename dialog looks at the info line as it opens, then cancels.
  std::function<void(int)> answer = [&](int left) {
    test::whenShown<files::TRenameForm>(w.form, [&, left](files::TRenameForm* f) {
      infoLines.push_back(w.find<QLabel>("Label8")->text().toStdString());
      if (left > 1) answer(left - 1);
      f->findChild<QPushButton*>("Button2")->click();
    });
  };
  answer(2);
  test::keyboard::press(Qt::Key_R);
  ASSERT_EQ(infoLines.size(), 2u);
  EXPECT_NE(infoLines[0].find(":A.NC "), std::string::npos) << infoLines[0];
  EXPECT_NE(infoLines[1].find(":CCC.NC "), std::string::npos) << infoLines[1];
}

TEST(ExtensionWindow, F6SetsTheMaskFromWhatIsTypedAndRefusesOneThatListsEverything) {
  test::FileOpsWindow w;
  writeFile(w.data.file("A.NC"), "a");
  writeFile(w.data.file("B.TXT"), "b");
  w.open("N");
  const std::vector<std::pair<std::string, std::string>> cases = {
      {".nc", "*.nc"}, {"NC", "*.NC"}, {"*.NC", "*.NC"}, {"*.TXT", "*.TXT"}};
  for (const auto& [typed, mask] : cases) {
    test::keyboard::press(Qt::Key_F6);
    EXPECT_EQ(w.message(), "拡張子変更 " + w.settings().Mask + " -->>>");
    test::keyboard::type(typed);
    test::keyboard::press(Qt::Key_Return);
    EXPECT_EQ(w.settings().Mask, mask);
    EXPECT_TRUE(w.list()->hasFocus());
  }
  EXPECT_NE(w.rowOf("B.TXT"), -1);
  EXPECT_EQ(w.rowOf("A.NC"), -1);
  test::keyboard::press(Qt::Key_F6);
  test::keyboard::type("*.*");
  test::keyboard::press(Qt::Key_Return);
  EXPECT_EQ(w.message(), "*.*の拡張子設定は出来ません!!");
  EXPECT_EQ(w.settings().Mask, "*.TXT");
  EXPECT_TRUE(w.prompt()->hasFocus());
  EXPECT_EQ(w.prompt()->text(), "");
  test::keyboard::type(":");
  EXPECT_EQ(w.dialogs.shown.back().text, "この文字は拡張子に使えません。\n/:,;?<>|");
}

TEST(CopyProgress, CancelOnTheProgressDialogStopsTheCopyAndKeepsTheOldTarget) {
  test::FileOpsWindow w;
  test::TempDir dest;
  writeFile(w.data.file("BIG.NC"), std::string(64u << 20, 'x'));
  writeFile(dest.file("BIG.NC"), "old");
  w.open();
  w.dialogs.answers = {MessageAnswer::Yes};
  bool sawFile = false;
  test::whenShown<QDialog>(w.form, [&](QDialog* d) {
    if (d->objectName() != "CopyProgress") return;
    sawFile = d->findChild<QLabel*>("ProgressFile")->text().toStdString() == w.data.file("BIG.NC");
    d->findChild<QPushButton*>("ProgressCancel")->click();
  });
  files::CopyMoveEnd end;
  {
    files::QtCopyProgress progress(*w.form, files::TransferMode::Copy, 0);
    EXPECT_FALSE(w.list()->isEnabled());
    end = files::copyOrMoveEntries({w.data.file("BIG.NC")}, dest.path(), files::TransferMode::Copy, progress,
                                   w.dialogs);
  }
  EXPECT_EQ(end, files::CopyMoveEnd::Aborted);
  EXPECT_TRUE(sawFile);
  EXPECT_EQ(readFile(dest.file("BIG.NC")), "old");
  EXPECT_EQ(namesIn(dest.path()), std::vector<std::string>{"BIG.NC"});
  EXPECT_TRUE(w.list()->isEnabled());
}
