// The editor's open dialog and SaveDialog1 over names that are bytes the
// system does not read as UTF-8 (CP932 names copied over from the shop
// floor's older computers): listed, previewed, opened and saved under their
// own bytes; a name the operator types is saved as typed. The real main
// window and the real dialogs, keys to the focus.

#include "editor/ui/EditorOperations.h"

#include "StartedForm.h"
#include "platform/Cp932.h"
#include "platform/DirectoryEnum.h"
#include "support/ChooserKeys.h"

#include <QAction>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QToolButton>

#include <algorithm>

using namespace kestrovan;
using base::MessageAnswer;
namespace keyboard = kestrovan::test::keyboard;
namespace chooser = kestrovan::test::chooser;

namespace {

// テスト.nc as CP932 bytes.
const std::string kTest = "\x83\x65\x83\x58\x83\x67.nc";
const std::string kProgram = "O1(\x89\xC1\x8D\x48)\r\nG00X0\r\nM30\r\n"; // O1(加工)

std::vector<std::string> namesIn(const std::string& folder) {
  std::vector<std::string> n = platform::listNames(folder);
  std::sort(n.begin(), n.end());
  return n;
}

struct Window : test::StartedForm {
  Window() {
    test::writeFile(data.file(kTest), kProgram);
    test::writeFile(data.file("O2.NC"), "O2\r\n");
    start();
    if (testing::Test::HasFatalFailure()) return;
    form->state().settings.ALL_Files = "Y";
    form->state().settings.Mask = "*.NC";
    form->refreshFileList();
  }
  editor::EditorOperations& ops() const { return *window->operation<editor::EditorOperations>(); }
  QPlainTextEdit* text() const { return find<QPlainTextEdit>("EditorText"); }
  // A new document (Shift+E, or New in the editor) with `typed` in it.
  void newDocument(const char* typed) {
    if (find<QGroupBox>("GroupBox3")->isVisible())
      click("ToolButton1");
    else
      keyboard::press(Qt::Key_E, Qt::ShiftModifier);
    ASSERT_TRUE(find<QGroupBox>("GroupBox3")->isVisible());
    ASSERT_EQ(ops().documentName(), "new");
    keyboard::type(typed);
  }
  void click(const char* button) { QTest::mouseClick(find<QToolButton>(button), Qt::LeftButton); }
};

} // namespace

TEST(ByteChoosers, ACp932NamedProgramIsPreviewedAndOpensInTheEditor) {
  Window w;
  w.newDocument("");
  std::string preview;
  chooser::whenModal(w.form, [&](QDialog* d) {
    if (!chooser::downTo("テスト.nc")) return keyboard::press(Qt::Key_Escape);
    if (auto* memo = d->findChild<QPlainTextEdit*>("PreviewMemo"))
      preview = memo->toPlainText().toStdString();
    keyboard::press(Qt::Key_Return);
  });
  keyboard::press(Qt::Key_O, Qt::ControlModifier);
  EXPECT_EQ(preview, "O1(加工)\nG00X0\nM30\n");
  EXPECT_EQ(w.ops().documentName(), w.data.file(kTest));
  EXPECT_EQ(w.text()->toPlainText().toStdString(), "O1(加工)\nG00X0\nM30\n");
  EXPECT_TRUE(w.dialogs.shown.empty());
}

TEST(ByteChoosers, SavingOverACp932NameAsksAndWritesThatFile) {
  Window w;
  w.newDocument("O5");
  w.dialogs.answers = {MessageAnswer::Yes};
  chooser::whenModal(w.form, [&](QDialog*) {
    if (!chooser::downTo("テスト.nc")) return keyboard::press(Qt::Key_Escape);
    keyboard::press(Qt::Key_Return);
  });
  w.click("ToolButton3");
  ASSERT_EQ(w.dialogs.shown.size(), 1u);
  EXPECT_EQ(w.dialogs.shown[0].text, "テスト.nc は既に存在します。\n上書きしますか?");
  EXPECT_EQ(w.dialogs.shown[0].buttons, base::MessageButtons::YesNo);
  EXPECT_EQ(test::readFile(w.data.file(kTest)), "O5");
  EXPECT_EQ(namesIn(w.data.path()), (std::vector<std::string>{"O2.NC", kTest}));
  EXPECT_EQ(w.ops().documentName(), w.data.file(kTest));

  // No keeps the file as it was and the dialog open; Esc then cancels.
  w.newDocument("O6");
  w.dialogs.answers = {MessageAnswer::No};
  chooser::whenModal(w.form, [&](QDialog* d) {
    if (!chooser::downTo("テスト.nc")) return keyboard::press(Qt::Key_Escape);
    keyboard::press(Qt::Key_Return);
    EXPECT_TRUE(d->isVisible());
    keyboard::press(Qt::Key_Escape);
  });
  w.click("ToolButton3");
  EXPECT_EQ(test::readFile(w.data.file(kTest)), "O5");
  EXPECT_EQ(w.ops().documentName(), "new");
  EXPECT_EQ(w.dialogs.shown.size(), 2u);
}

TEST(ByteChoosers, SaveAsANameTheOperatorTypes) {
  Window w;
  w.newDocument("O7");
  chooser::whenModal(w.form, [&](QDialog*) {
    // The name field has the keyboard; a name without extension gets NC.
    keyboard::type("O7000");
    keyboard::press(Qt::Key_Return);
  });
  w.click("ToolButton3");
  EXPECT_EQ(test::readFile(w.data.file("O7000.NC")), "O7");
  w.newDocument("O8");
  chooser::whenModal(w.form, [&](QDialog*) {
    keyboard::type("o8.txt");
    keyboard::press(Qt::Key_Return);
  });
  w.click("ToolButton3");
  EXPECT_EQ(test::readFile(w.data.file("o8.txt")), "O8");
  EXPECT_EQ(namesIn(w.data.path()), (std::vector<std::string>{"O2.NC", "O7000.NC", "o8.txt", kTest}));
  EXPECT_TRUE(w.dialogs.shown.empty());
}
