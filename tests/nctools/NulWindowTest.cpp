// B, H and K on a program with a NUL byte in the middle: the file loader
// stops at it, so the operator is warned (as the editor warns) and nothing is
// written unless he goes on. Keys go to whatever has the focus.

#include "ToolWindow.h"
#include "nctools/ToolInput.h"
#include "support/Keyboard.h"

using namespace kestrovan;
using base::MessageAnswer;
using test::writeFile;
namespace keyboard = test::keyboard;

namespace {

// A main program that calls a subprogram, a NUL (a transfer's noise, a
// controller's padding), and the subprogram.
const std::string kWithNul =
    std::string("O0001\r\nG01X10.\r\nM98P2\r\n") + '\0' + "\r\nO0002\r\nX5.\r\nM99\r\n";

} // namespace

TEST(NcToolsNul, SplitAndDoublingWarnAndWriteNothingUnlessTheOperatorGoesOn) {
  struct Tool {
    Qt::Key key;
    const char* dialog;
  };
  for (const Tool tool : {Tool{Qt::Key_H, "Bai2Form"}, Tool{Qt::Key_B, "DividesForm"}}) {
    SCOPED_TRACE(tool.dialog);
    test::ToolWindow w;
    writeFile(w.data.file("PART.NC"), kWithNul);
    w.open();
    w.select("PART.NC");
    keyboard::press(tool.key);
    ASSERT_EQ(w.dialogs.shown.size(), 1u) << "no warning";
    const base::Message& warning = w.dialogs.shown[0];
    EXPECT_EQ(warning.text, nctools::nulCutQuestion(w.data.file("PART.NC"), 4));
    EXPECT_EQ(warning.buttons, base::MessageButtons::YesNo);
    EXPECT_EQ(warning.icon, base::MessageIcon::Warning);
    // No: the tool does not open, and nothing is written.
    EXPECT_FALSE(w.dialog(tool.dialog)->isVisible());
    EXPECT_EQ(test::namesIn(w.data.path()), std::vector<std::string>{"PART.NC"});

    // Yes: the operator goes on with what comes before the NUL.
    w.dialogs.answers = {MessageAnswer::Yes};
    keyboard::press(tool.key);
    EXPECT_EQ(w.dialogs.shown.size(), 2u);
    EXPECT_TRUE(w.dialog(tool.dialog)->isVisible());
    keyboard::press(Qt::Key_Escape);
  }
}

TEST(NcToolsNul, JoinWarnsAndWritesNothingUnlessTheOperatorGoesOn) {
  test::ToolWindow w;
  writeFile(w.data.file("A.NC"), "O1\r\nM30\r\n");
  writeFile(w.data.file("B.NC"), kWithNul);
  w.open();
  w.mark({"A.NC", "B.NC"});
  keyboard::press(Qt::Key_K);
  ASSERT_TRUE(w.dialog("PlusForm")->isVisible());
  keyboard::type("AB");
  // OK by the mouse: what Enter does in the dialog is another matter.
  QPushButton* ok = w.in<QPushButton>("PlusForm", "Button1");
  QTest::mouseClick(ok, Qt::LeftButton);
  ASSERT_EQ(w.dialogs.shown.size(), 1u) << "no warning";
  EXPECT_EQ(w.dialogs.shown[0].text, nctools::nulCutQuestion(w.data.file("B.NC"), 4));
  EXPECT_EQ(w.dialogs.shown[0].buttons, base::MessageButtons::YesNo);
  EXPECT_EQ(test::namesIn(w.data.path()), (std::vector<std::string>{"A.NC", "B.NC"}));

  // Yes: the join goes on and says it is done.
  w.dialogs.answers = {MessageAnswer::Yes};
  QTest::mouseClick(ok, Qt::LeftButton);
  ASSERT_EQ(w.dialogs.shown.size(), 3u);
  EXPECT_EQ(w.dialogs.shown[2].title, "完了");
  EXPECT_EQ(test::readFile(w.data.file("AB.NC")), "O1\r\nM30\r\nO0001\r\nG01X10.\r\nM98P2\r\n");
}
