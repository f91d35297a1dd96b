// R on names that are bytes the system does not read as UTF-8 (CP932 names
// copied over from the shop floor's older computers), and the reasons a
// refused rename gives, on the real main window over real folders.

#include "FileOpsWindow.h"
#include "FileSystems.h"
#include "platform/DirectoryEnum.h"
#include "support/RefusingVolume.h"

#include <QPushButton>
#include <QRadioButton>

#include <fcntl.h>
#include <unistd.h>

using namespace kestrovan;
using test::readFile;

namespace {

// テスト.nc as CP932 bytes: the second bytes 65, 58 and 67 are the codes of
// "e", "X" and "g".
const std::string kTest = "\x83\x65\x83\x58\x83\x67";

// A file made on its byte path, as another program made it.
void makeFile(const std::string& path, const std::string& content) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
  ASSERT_GE(fd, 0) << path;
  ASSERT_EQ(::write(fd, content.data(), content.size()), static_cast<ssize_t>(content.size()));
  ::close(fd);
}

std::vector<std::string> namesIn(const std::string& folder) {
  std::vector<std::string> n = platform::listNames(folder);
  std::sort(n.begin(), n.end());
  return n;
}

// The single-entry dialog as an operator answers it: with the keys, from
// where the dialog puts the caret.
void whenRenameAsks(QObject* owner, std::function<void(files::TRenameForm*)> keys) {
  test::whenShown<files::TRenameForm>(owner, [keys](files::TRenameForm* f) {
    test::keyboard::settle();
    keys(f);
    test::keyboard::press(Qt::Key_Return);
  });
}

void answerSeveral(QObject* owner, int kind) {
  test::whenShown<files::TRenameMultiForm>(owner, [kind](files::TRenameMultiForm* f) {
    f->findChild<QRadioButton*>(QString("RadioButton%1").arg(kind))->setChecked(true);
    f->findChild<QPushButton*>("Button1")->click();
  });
}

} // namespace

TEST(RenameBytes, TheBytesOfANameThatTheOperatorLeftStayAsTheyWere) {
  test::FileOpsWindow w;
  makeFile(w.data.file(kTest + ".nc"), "one");
  makeFile(w.data.file("O1.NC"), "o1");
  w.open();
  ASSERT_NE(w.rowOf(kTest + ".nc"), -1);
  w.select(kTest + ".nc");
  std::string shown;
  whenRenameAsks(w.form, [&](files::TRenameForm* f) {
    shown = f->findChild<QLineEdit*>("Edit1")->text().toStdString();
    // Only the extension is typed over.
    test::keyboard::press(Qt::Key_End);
    test::keyboard::press(Qt::Key_Backspace);
    test::keyboard::press(Qt::Key_Backspace);
    test::keyboard::type("NC");
  });
  test::keyboard::press(Qt::Key_R);
  EXPECT_EQ(shown, "テスト.nc");
  EXPECT_EQ(namesIn(w.data.path()), (std::vector<std::string>{"O1.NC", kTest + ".NC"}));
  EXPECT_EQ(readFile(w.data.file(kTest + ".NC")), "one");
  EXPECT_TRUE(w.dialogs.shown.empty());

  // What is typed in front of the kept characters is UTF-8, the system's names.
  w.select(kTest + ".NC");
  whenRenameAsks(w.form, [](files::TRenameForm*) {
    test::keyboard::press(Qt::Key_Home);
    test::keyboard::type("旧");
  });
  test::keyboard::press(Qt::Key_R);
  EXPECT_EQ(namesIn(w.data.path()), (std::vector<std::string>{"O1.NC", "旧" + kTest + ".NC"}));
}

TEST(RenameBytes, CaseKindsChangeTheLettersOfANameNeverTheSecondByteOfAKana) {
  test::FileOpsWindow w;
  makeFile(w.data.file(kTest + ".nc"), "one");
  makeFile(w.data.file("o1.nc"), "o1");
  makeFile(w.data.file("\x83\x58X.NC"), "su"); // スX.NC
  w.open();
  w.mark({kTest + ".nc", "o1.nc"});
  w.select("o1.nc");
  answerSeveral(w.form, 2);
  test::keyboard::press(Qt::Key_R);
  EXPECT_EQ(namesIn(w.data.path()), (std::vector<std::string>{"O1.NC", "\x83\x58X.NC", kTest + ".NC"}));
  EXPECT_EQ(readFile(w.data.file(kTest + ".NC")), "one");

  w.mark({"\x83\x58X.NC"});
  w.select("\x83\x58X.NC");
  answerSeveral(w.form, 3);
  test::keyboard::press(Qt::Key_R);
  EXPECT_EQ(readFile(w.data.file("\x83\x58x.nc")), "su");

  w.mark({"\x83\x58x.nc"});
  w.select("\x83\x58x.nc");
  answerSeveral(w.form, 4);
  test::keyboard::press(Qt::Key_R);
  EXPECT_EQ(readFile(w.data.file("\x83\x58x.nc")), "su");
  EXPECT_TRUE(w.dialogs.shown.empty());
}

namespace {

// Renames the selected entry to `name` through the single-entry dialog;
// `meanwhile` runs while the dialog is open.
void renameTo(test::FileOpsWindow& w, const std::string& from, const std::string& name,
              std::function<void()> meanwhile = {}) {
  w.select(from);
  whenRenameAsks(w.form, [name, meanwhile](files::TRenameForm*) {
    test::keyboard::press(Qt::Key_A, Qt::ControlModifier);
    test::keyboard::type(name);
    if (meanwhile) meanwhile();
  });
  test::keyboard::press(Qt::Key_R);
}

void refusalsTellTheirReasons() {
  test::FileOpsWindow w;
  test::writeFile(w.data.file("O1.NC"), "one");
  test::writeFile(w.data.file("O2.NC"), "two");
  test::writeFile(w.data.file("O3.NC"), "three");
  w.open();
  renameTo(w, "O1.NC", "O2.NC");
  ASSERT_FALSE(w.dialogs.shown.empty());
  EXPECT_EQ(w.dialogs.shown.back().title, "名前変更");
  EXPECT_EQ(w.dialogs.shown.back().text, "次の名前に変更できませんでした。\nO2.NC (同じ名前が既にあります)");

  const std::string tooLong(256, 'A');
  renameTo(w, "O1.NC", tooLong);
  EXPECT_EQ(w.dialogs.shown.back().text,
            "次の名前に変更できませんでした。\n" + tooLong + " (このドライブでは使えない名前です)");

  renameTo(w, "O1.NC", "../O1.NC");
  EXPECT_EQ(w.dialogs.shown.back().text,
            "次の名前に変更できませんでした。\n../O1.NC (ファイル名に使えない名前です)");

  // Removed by another program while the dialog was open.
  renameTo(w, "O3.NC", "O4.NC", [&] { ASSERT_EQ(::unlink(w.data.file("O3.NC").c_str()), 0); });
  EXPECT_EQ(w.dialogs.shown.back().text,
            "次の名前に変更できませんでした。\nO4.NC (一覧を読んだ後に無くなりました)");

  {
    test::ReadOnlyFolder readOnly(w.data.path());
    if (!readOnly.ok()) GTEST_SKIP() << "no folder can be made read-only here";
    renameTo(w, "O1.NC", "O5.NC");
    EXPECT_EQ(w.dialogs.shown.back().text,
              "次の名前に変更できませんでした。\nO5.NC (書き込みが禁止されています)");
  }
  EXPECT_EQ(namesIn(w.data.path()), (std::vector<std::string>{"O1.NC", "O2.NC"}));
  EXPECT_EQ(readFile(w.data.file("O1.NC")), "one");
  EXPECT_EQ(readFile(w.data.file("O2.NC")), "two");
}

} // namespace

TEST(RenameReasons, EachRefusedRenameSaysWhy) { refusalsTellTheirReasons(); }

// Where the volume has neither the no-replace rename nor hard links, the
// fallback's own refusals must not be told as the reason.
TEST(RenameReasons, EachRefusedRenameSaysWhyOnAVolumeWithoutNoReplaceRenames) {
  KESTROVAN_ON_REFUSING_VOLUME();
  refusalsTellTheirReasons();
}
