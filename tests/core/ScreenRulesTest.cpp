#include "core/ScreenRules.h"
#include "core/KeyTable.h"

#include <gtest/gtest.h>

using namespace kestrovan::core;

TEST(KeyTable, FunctionKeyLinesReadExactlyAsOperatorsKnowThem) {
  EXPECT_EQ(functionKeyText(false),
            " F1 :ﾌｧｲﾙ送信　　 F2 :ﾌｧｲﾙ受信     F3 :ﾌｧｲﾙ削除     F4 :ﾌｧｲﾙｺﾋﾟｰ     F5 :ﾃﾞｨﾚｸﾄﾘ切換・作成\n"
            " F6 :拡張子変更   F7 :通信設定     F8 :ﾌｧｲﾙﾋﾞｭｰ     F9 :選択ﾌｧｲﾙ編集 F10:終了");
  EXPECT_EQ(functionKeyText(true),
            " F1 :ﾌｧｲﾙ送信+終了F2 :ﾌｧｲﾙ受信+終了F3 :ﾌｧｲﾙ移動     F4 :ﾌｧｲﾙ結合     F5 :ﾌｫﾙﾀﾞｰ表示       \n"
            " F6 :             F7 :             F8 :送受信ログ   F9 :新規編集     F10:終了");
}

TEST(KeyTable, ShiftChoosesTheSecondMeaningAndConditionsGuardFileCommands) {
  EXPECT_EQ(commandFor(*findBinding(Key::F3), true), Command::Move);
  EXPECT_EQ(commandFor(*findBinding(Key::F4), true), Command::Join);
  EXPECT_EQ(commandFor(*findBinding(Key::F8), true), Command::LogView);
  EXPECT_EQ(commandFor(*findBinding(Key::E), true), Command::NewDocument);
  EXPECT_EQ(commandFor(*findBinding(Key::F6), true), Command::None);
  EXPECT_EQ(findBinding(Key::F1)->condition, Condition::FileRow);
  EXPECT_EQ(findBinding(Key::F9)->condition, Condition::FileRowUnshifted);
  EXPECT_EQ(findBinding(Key::K)->condition, Condition::AtLeastOneMark);
  for (Key k : {Key::PageUp, Key::PageDown, Key::Home, Key::End, Key::I, Key::L, Key::O, Key::R, Key::T,
                Key::Y, Key::Z})
    EXPECT_TRUE(findBinding(k)->consumed);
}

TEST(KeyTable, ConditionsByTheSelectedRowAndTheMarks) {
  using kestrovan::files::RowKind;
  EXPECT_TRUE(conditionHolds(Condition::FileRow, RowKind::File, 0, false));
  EXPECT_FALSE(conditionHolds(Condition::FileRow, RowKind::Folder, 0, false));
  EXPECT_FALSE(conditionHolds(Condition::FileRowUnshifted, RowKind::None, 0, false));
  EXPECT_TRUE(
      conditionHolds(Condition::FileRowUnshifted, RowKind::None, 0, true)); // Shift+F9: a new document
  EXPECT_TRUE(conditionHolds(Condition::NotParentRow, RowKind::Folder, 0, false));
  EXPECT_FALSE(conditionHolds(Condition::NotParentRow, RowKind::Parent, 0, false));
  EXPECT_FALSE(conditionHolds(Condition::NotParentRow, RowKind::None, 0, false));
  EXPECT_FALSE(conditionHolds(Condition::AtLeastOneMark, RowKind::File, 0, false));
  EXPECT_TRUE(conditionHolds(Condition::AtLeastOneMark, RowKind::Parent, 1, false));
}

TEST(KeyTable, AClickOnTheFunctionKeyLinesNamesItsKey) {
  EXPECT_EQ(functionKeyAt(0, 0), 1);
  EXPECT_EQ(functionKeyAt(144, 16), 1);
  EXPECT_EQ(functionKeyAt(145, 16), 2);
  EXPECT_EQ(functionKeyAt(549, 5), 4);
  EXPECT_EQ(functionKeyAt(700, 5), 5);
  EXPECT_EQ(functionKeyAt(10, 17), 6);
  EXPECT_EQ(functionKeyAt(415, 30), 9);
  EXPECT_EQ(functionKeyAt(745, 30), 10);
  EXPECT_EQ(functionKeyAt(746, 30), std::nullopt);
}

TEST(Paging, ShortListsGoToTheEnds) {
  EXPECT_EQ(pageMove(true, 30, 3, 2, 21).select, 29);
  EXPECT_EQ(pageMove(false, 30, 25, 2, 21).select, 0);
  EXPECT_EQ(pageMove(true, 0, -1, 2, 21).select, -1);
}

TEST(Paging, LongListsMoveAScreenAtATime) {
  // 2 columns of 21 rows: 42 rows a screen.
  PageMove down = pageMove(true, 200, 5, 2, 21);
  EXPECT_EQ(down.scrollTo, 42 + 21);
  EXPECT_EQ(down.select, 42);
  EXPECT_EQ(pageMove(false, 200, 90, 2, 21).select, 42);
  // From the first screen up and from the last screen down stay in the list.
  EXPECT_EQ(pageMove(false, 200, 10, 2, 21).select, 0);
  EXPECT_EQ(pageMove(true, 200, 190, 2, 21).select, 199);
  // The scroll row never passes the end either.
  EXPECT_EQ(pageMove(true, 100, 50, 2, 21).scrollTo, 99);
}

TEST(PromptRules, EachModeRefusesItsSet) {
  EXPECT_EQ(promptRule(PromptMode::CopyName, "Y").message, "この文字はファイル名に使えません。\n/:,;*?<>|");
  EXPECT_EQ(promptRule(PromptMode::CopyName, "N").message, "この文字はファイル名に使えません。\n/:,;*?<>|.");
  EXPECT_EQ(promptRule(PromptMode::ReceiveName, "y").forbidden, "/:,;*?<>|."); // only exactly "Y" allows "."
  EXPECT_EQ(promptRule(PromptMode::Extension, "Y").forbidden.find('*'), std::string::npos);
  EXPECT_EQ(promptRule(PromptMode::Folder, "Y").forbidden.find('/'), std::string::npos);
  EXPECT_EQ(promptRule(PromptMode::Folder, "Y").forbidden.find(':'), std::string::npos);
}

TEST(PromptRules, AnEditIsJudgedByWhatItPutInOnly) {
  const PromptRule names = promptRule(PromptMode::CopyName, "N");
  EXPECT_TRUE(refusesEdit(names, "O1", "O1.NC"));
  EXPECT_FALSE(refusesEdit(names, "O1.NC", "O12.NC")); // the dot was there before
  EXPECT_FALSE(refusesEdit(names, "O1.NC", "O1NC"));   // taking out is always allowed
  EXPECT_TRUE(refusesEdit(names, "あい", "あ;い"));
  EXPECT_FALSE(refusesEdit(names, "あい", "あうい"));
  EXPECT_TRUE(refusesEdit(names, "..", "...")); // one more of the same
  EXPECT_FALSE(refusesEdit(promptRule(PromptMode::None, "Y"), "", "/:*"));
}
