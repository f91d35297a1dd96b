// The join name from the history (NAME.lst) on the real main window: it is
// checked as a typed name is, so a hand-edited or foreign history cannot make
// the join write outside the data folder.

#include "FileSystems.h"
#include "ToolWindow.h"
#include "base/HistoryList.h"

#include <sys/stat.h>

using namespace kestrovan;
namespace keyboard = kestrovan::test::keyboard;
using base::MessageIcon;
using test::readFile;
using test::writeFile;

namespace {

const char* const kRefused = "この文字はファイル名に使えません。\n/:,;*?<>|.";

} // namespace

TEST(JoinWindow, AHistoryNameThatLeavesTheFolderIsRefusedAsATypedOneIs) {
  test::ToolWindow w;
  // The data folder one level down, so that "../" still lies in the test's
  // own folder.
  ASSERT_EQ(::mkdir(w.data.file("work").c_str(), 0755), 0);
  const std::string work = w.data.file("work");
  writeFile(work + "/A.NC", "O1\r\n");
  writeFile(work + "/B.NC", "O2\r\n");
  writeFile(w.home.file("NAME.lst"), "../outside_join\r\nsub/x\r\n..\r\nJOINED.NC\r\n");
  w.open();
  w.settings().DirPath = work;
  w.form->refreshFileList();
  const auto field = [&] { return w.in<QComboBox>("PlusForm", "ComboBox1"); };

  w.mark({"A.NC", "B.NC"});
  w.key(Qt::Key_K);
  ASSERT_TRUE(w.dialog("PlusForm")->isVisible());
  EXPECT_EQ(field()->currentText(), "../outside_join"); // the newest history name
  keyboard::press(Qt::Key_Return);
  ASSERT_EQ(w.dialogs.shown.size(), 1u);
  EXPECT_EQ(w.lastBox().title, "確認");
  EXPECT_EQ(w.lastBox().text, kRefused);
  EXPECT_EQ(w.lastBox().icon, MessageIcon::Stop);
  // Nothing written anywhere, the dialog open with the name to mend.
  EXPECT_EQ(test::namesIn(w.data.path()), std::vector<std::string>{"work"});
  EXPECT_EQ(test::namesIn(work), (std::vector<std::string>{"A.NC", "B.NC"}));
  EXPECT_TRUE(w.dialog("PlusForm")->isVisible());
  EXPECT_EQ(QApplication::focusWidget(), field()); // the keys go to the name box
  EXPECT_EQ(field()->currentText(), "../outside_join");

  // Other history names that are no single name in the folder, taken with
  // the arrow key as the operator takes them.
  for (const char* name : {"sub/x", ".."}) {
    keyboard::press(Qt::Key_Down);
    EXPECT_EQ(field()->currentText(), name);
    keyboard::press(Qt::Key_Return);
    EXPECT_EQ(w.lastBox().text, kRefused) << name;
    EXPECT_TRUE(w.dialog("PlusForm")->isVisible()) << name;
  }
  EXPECT_EQ(w.dialogs.shown.size(), 3u);
  EXPECT_EQ(test::namesIn(w.data.path()), std::vector<std::string>{"work"});
  EXPECT_EQ(test::namesIn(work), (std::vector<std::string>{"A.NC", "B.NC"}));

  // A history name that carries the extension is one name in the folder, and
  // joins as it did.
  keyboard::press(Qt::Key_Down);
  EXPECT_EQ(field()->currentText(), "JOINED.NC");
  keyboard::press(Qt::Key_Return);
  EXPECT_EQ(w.lastBox().text, "ファイル結合完了しました。");
  EXPECT_FALSE(w.dialog("PlusForm")->isVisible());
  EXPECT_EQ(readFile(work + "/JOINED.NC"), "O1\r\nO2\r\n");
  EXPECT_EQ(test::namesIn(w.data.path()), std::vector<std::string>{"work"});
  // The refused names were not added to the history again.
  EXPECT_EQ(base::HistoryList::load(w.home.file("NAME.lst")).entries(),
            (std::vector<std::string>{"JOINED.NC", "../outside_join", "sub/x", ".."}));
}
