// The history box keeps each path's bytes: among entries that look alike on
// screen (a folder named in UTF-8 and one named in CP932 read as CP932), the
// one the operator picked, or the one put in, is the one used.
#include "host/HistoryBox.h"
#include "support/Keyboard.h"

#include <QComboBox>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

using namespace kestrovan;
namespace keyboard = kestrovan::test::keyboard;

TEST(HistoryBox, AmongLookAlikeEntriesThePathPutInOrPickedGivesItsOwnBytes) {
  const std::string utf8 = "/data/\xE3\x83\x86\xE3\x82\xB9\xE3\x83\x88"; // テスト
  const std::string cp932 = "/data/\x83\x65\x83\x58\x83\x67";            // テスト in CP932
  QWidget window;
  QComboBox* box = host::historyBox(&window, {0, 0, 300, 24});
  host::showHistory(*box, {utf8, cp932}, cp932);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  box->setFocus();
  ASSERT_EQ(box->itemText(0), box->itemText(1));
  // Put in: the remembered folder, though the first entry shows the same.
  EXPECT_EQ(host::boxPath(*box), cp932);
  keyboard::press(Qt::Key_End);
  keyboard::type("/O1");
  EXPECT_EQ(host::boxPath(*box), cp932 + "/O1");
  // Picked with the arrow keys: that entry's bytes.
  keyboard::press(Qt::Key_Down);
  ASSERT_EQ(box->currentIndex(), 1);
  EXPECT_EQ(host::boxPath(*box), cp932);
  keyboard::press(Qt::Key_Up);
  ASSERT_EQ(box->currentIndex(), 0);
  EXPECT_EQ(host::boxPath(*box), utf8);
  keyboard::press(Qt::Key_Down);
  keyboard::type("/O2");
  EXPECT_EQ(host::boxPath(*box), cp932 + "/O2");
}
