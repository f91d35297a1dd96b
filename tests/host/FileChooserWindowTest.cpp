// The program's folder browser (the copy dialog's "..." button) over names
// that are bytes the system does not read as UTF-8: such a folder is listed,
// shown as CP932, chosen with the keys, and the copy lands in it, not in a
// folder of a look-alike UTF-8 name. Real folders, keys to the focus.

#include "FileOpsWindow.h"
#include "files/ui/CopyMoveForm.h"
#include "platform/DirectoryEnum.h"
#include "support/ChooserKeys.h"

#include <QComboBox>
#include <QLabel>

#include <algorithm>
#include <sys/stat.h>

using namespace kestrovan;
namespace keyboard = kestrovan::test::keyboard;
namespace chooser = kestrovan::test::chooser;
using test::readFile;
using test::writeFile;

namespace {

// テスト as CP932 bytes.
const std::string kTest = "\x83\x65\x83\x58\x83\x67";

std::vector<std::string> namesIn(const std::string& folder) {
  std::vector<std::string> n = platform::listNames(folder);
  std::sort(n.begin(), n.end());
  return n;
}

// The main window with the program's own folder browser.
struct Window : test::FileOpsWindow {
  Window() {
    start();
    if (testing::Test::HasFatalFailure()) return;
    form->state().settings.ALL_Files = "Y";
    form->refreshFileList();
  }
  files::TCopyForm* copyForm() const { return form->findChild<files::TCopyForm*>("CopyForm"); }
  std::string destination() const {
    return copyForm()->findChild<QComboBox*>("ComboBox1")->currentText().toStdString();
  }
  // F4 on the marked file, then Tab to "..." and Enter, as the operator reaches it.
  void browseFromCopyDialog(const std::string& file, std::function<void(QDialog*)> keys) {
    select(file);
    mark({file});
    key(Qt::Key_F4);
    ASSERT_TRUE(copyForm() && copyForm()->isVisible()) << message();
    for (int i = 0; i < 8 && keyboard::target()->objectName() != "Button3"; ++i)
      keyboard::press(Qt::Key_Tab);
    ASSERT_EQ(keyboard::target()->objectName(), "Button3") << keyboard::focusName();
    chooser::whenModal(form, std::move(keys), copyForm());
    keyboard::press(Qt::Key_Return);
  }
};

// The listed rows as the chooser shows them.
QStringList listed() {
  QStringList rows;
  if (auto* view = qobject_cast<QAbstractItemView*>(keyboard::target()))
    for (int r = 0; r < view->model()->rowCount(view->rootIndex()); ++r)
      rows << view->model()->index(r, 0, view->rootIndex()).data().toString();
  return rows;
}

} // namespace

TEST(FileChooser, ACp932NamedFolderChosenInTheCopyDialogsBrowserGetsTheCopy) {
  Window w;
  writeFile(w.data.file("O1.NC"), "one");
  ASSERT_EQ(mkdir(w.data.file(kTest).c_str(), 0755), 0);
  ASSERT_EQ(mkdir(w.data.file("SUB").c_str(), 0755), 0);
  ASSERT_EQ(mkdir(w.data.file(".hidden").c_str(), 0755), 0);
  w.form->refreshFileList();
  QStringList rows;
  w.browseFromCopyDialog("O1.NC", [&](QDialog*) {
    chooser::tabToList();
    rows = listed();
    // Down to the folder, Enter opens it, Enter again chooses the folder shown.
    if (!chooser::downTo("テスト")) return keyboard::press(Qt::Key_Escape);
    keyboard::press(Qt::Key_Return);
    keyboard::press(Qt::Key_Return);
  });
  // Folders only, hidden ones hidden.
  EXPECT_EQ(rows, (QStringList{"SUB", "テスト"}));
  EXPECT_EQ(w.destination(), w.data.path() + "/テスト");
  keyboard::press(Qt::Key_Return);
  EXPECT_FALSE(w.copyForm()->isVisible());
  EXPECT_EQ(namesIn(w.data.file(kTest)), (std::vector<std::string>{"O1.NC"}));
  EXPECT_EQ(readFile(w.data.file(kTest + "/O1.NC")), "one");
  EXPECT_EQ(namesIn(w.data.path()), (std::vector<std::string>{".hidden", "O1.NC", "SUB", kTest}));
}

TEST(FileChooser, BrowserKeysGoUpAndIntoFoldersAndEscapeCancels) {
  Window w;
  writeFile(w.data.file("O1.NC"), "one");
  ASSERT_EQ(mkdir(w.data.file("A").c_str(), 0755), 0);
  ASSERT_EQ(mkdir(w.data.file("A/B").c_str(), 0755), 0);
  w.form->refreshFileList();
  const auto shownFolder = [](QDialog* d) {
    auto* path = d->findChild<QLabel*>("FolderPath");
    return path ? path->text().toStdString() : std::string("(no path)");
  };
  std::vector<std::string> seen;
  w.browseFromCopyDialog("O1.NC", [&](QDialog* d) {
    chooser::downTo("A");
    keyboard::press(Qt::Key_Return); // into A
    seen.push_back(shownFolder(d));
    keyboard::press(Qt::Key_Down);
    keyboard::press(Qt::Key_Return); // into A/B
    seen.push_back(shownFolder(d));
    keyboard::press(Qt::Key_Backspace); // up to A
    seen.push_back(shownFolder(d));
    keyboard::press(Qt::Key_Up, Qt::AltModifier); // up to the data folder
    seen.push_back(shownFolder(d));
    keyboard::press(Qt::Key_Escape);
  });
  EXPECT_EQ(seen, (std::vector<std::string>{w.data.file("A"), w.data.file("A/B"), w.data.file("A"),
                                            w.data.path()}));
  // Cancelled: the field shows the data folder.
  EXPECT_EQ(w.destination(), w.data.path());
  EXPECT_TRUE(w.copyForm()->isVisible());
  keyboard::press(Qt::Key_Escape);
  EXPECT_EQ(namesIn(w.data.file("A")), (std::vector<std::string>{"B"}));
}

// The folder chosen once is remembered with its bytes: the next copy, taking
// the remembered folder as it stands, lands in the same folder and never asks
// to make a look-alike one.
TEST(FileChooser, TheRememberedCp932FolderTakesTheNextCopyToo) {
  Window w;
  writeFile(w.data.file("O1.NC"), "one");
  writeFile(w.data.file("O2.NC"), "two");
  ASSERT_EQ(mkdir(w.data.file(kTest).c_str(), 0755), 0);
  w.form->refreshFileList();
  w.browseFromCopyDialog("O1.NC", [&](QDialog*) {
    chooser::tabToList();
    if (!chooser::downTo("テスト")) return keyboard::press(Qt::Key_Escape);
    keyboard::press(Qt::Key_Return);
    keyboard::press(Qt::Key_Return);
  });
  keyboard::press(Qt::Key_Return);
  ASSERT_FALSE(w.copyForm()->isVisible());
  ASSERT_EQ(namesIn(w.data.file(kTest)), (std::vector<std::string>{"O1.NC"}));

  // Path.lst holds the folder's own bytes.
  const std::string lst = readFile(w.files().folder + "/Path.lst");
  EXPECT_NE(lst.find(w.data.file(kTest)), std::string::npos);

  w.select("O2.NC");
  w.mark({"O2.NC"});
  w.key(Qt::Key_F4);
  ASSERT_TRUE(w.copyForm()->isVisible());
  EXPECT_EQ(w.destination(), w.data.path() + "/テスト");
  const std::size_t boxes = w.dialogs.shown.size();
  keyboard::press(Qt::Key_Return);
  EXPECT_FALSE(w.copyForm()->isVisible());
  EXPECT_EQ(namesIn(w.data.file(kTest)), (std::vector<std::string>{"O1.NC", "O2.NC"}));
  EXPECT_EQ(readFile(w.data.file(kTest + "/O2.NC")), "two");
  // No question to make a folder: the one remembered is there.
  for (std::size_t i = boxes; i < w.dialogs.shown.size(); ++i)
    EXPECT_EQ(w.dialogs.shown[i].text.find("ディレクトリが見つかりません"), std::string::npos)
        << w.dialogs.shown[i].text;
  EXPECT_EQ(namesIn(w.data.path()), (std::vector<std::string>{"O1.NC", "O2.NC", kTest}));
}

// Shift+F5: the folder chosen in the browser goes to the prompt line and,
// with Enter, becomes the data folder with its own bytes.
TEST(FileChooser, ShiftF5TakesACp932NamedFolderWithItsBytes) {
  Window w;
  ASSERT_EQ(mkdir(w.data.file(kTest).c_str(), 0755), 0);
  writeFile(w.data.file(kTest + "/O5.NC"), "five");
  w.form->refreshFileList();
  chooser::whenModal(w.form, [&](QDialog*) {
    chooser::tabToList();
    if (!chooser::downTo("テスト")) return keyboard::press(Qt::Key_Escape);
    keyboard::press(Qt::Key_Return);
    keyboard::press(Qt::Key_Return);
  });
  w.key(Qt::Key_F5, Qt::ShiftModifier);
  keyboard::settle();
  keyboard::press(Qt::Key_Return);
  EXPECT_EQ(w.settings().DirPath, w.data.file(kTest));
  EXPECT_EQ(namesIn(w.data.path()), (std::vector<std::string>{kTest}));
}
