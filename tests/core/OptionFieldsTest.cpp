// The options dialog's fields and Apply, without a window.
#include "core/OptionFields.h"
#include "platform/IniFile.h"

#include <gtest/gtest.h>

#include <set>

using namespace kestrovan;
using core::OptionPage;

namespace {

// Records each effect with the settings as they were at that moment.
struct RecordingEffects : core::OptionEffects {
  const core::SettingsRecord* s = nullptr;
  std::vector<std::string> calls;
  void allFilesChanged() override {
    calls.push_back("all-files " + s->ALL_Files + " cols " + std::to_string(s->ListColumn));
  }
  void listColumnChanged() override { calls.push_back("columns " + std::to_string(s->ListColumn)); }
  void letterCaseChanged() override { calls.push_back("case " + s->op3 + s->op4); }
};

core::SettingsRecord unusual() {
  core::SettingsRecord s;
  s.op1 = "Y";
  s.DC3_0X93 = "N";
  s.Add_No = "N";
  s.ModemePort1 = "COM7";
  s.ModemePort2 = "COM12";
  s.AutoSelect = "Y";
  s.Power_Off = "Y";
  s.op6 = "Y";
  s.O_Change = "Y";
  s.op5 = "Y";
  s.Read_SP_Cut = "Y";
  s.R_Code = 3;
  s.InvTime = 250;
  s.Send_Before = 2;
  s.StartChar_Type = 5;
  s.EndChar_Type = 4;
  s.Send_SP_Cut = "Y";
  s.SendMsg1 = "(MSG)";
  s.MSG_OP = "Y";
  s.op2 = "Y";
  s.ALL_Files = "N";
  s.ListColumn = 4;
  s.op3 = "Y";
  s.op4 = "Y";
  return s;
}

} // namespace

TEST(OptionFields, FourPagesOfEightFourEightAndFourFieldsInTagOrder) {
  const std::pair<OptionPage, int> pages[] = {
      {OptionPage::General, 8}, {OptionPage::Receive, 4}, {OptionPage::Send, 8}, {OptionPage::Other, 4}};
  for (auto [page, count] : pages) {
    const std::vector<int> onPage = core::optionFieldsOf(page);
    ASSERT_EQ(static_cast<int>(onPage.size()), count) << core::optionPageTitle(page);
    for (int i = 0; i < count; ++i)
      EXPECT_EQ(core::optionFields()[onPage[i]].tag, i + 1);
  }
}

// Each field is bound to the settings key of its name: the text the dialog
// shows is exactly what the settings file holds under that key.
TEST(OptionFields, EachFieldShowsTheSettingOfItsKey) {
  const core::SettingsRecord s = unusual();
  platform::IniFile ini;
  core::saveSettings(s, ini);
  const core::OptionTexts texts = core::optionTextsFrom(s);
  std::set<std::string> keys;
  for (std::size_t i = 0; i < core::optionFields().size(); ++i) {
    const char* key = core::optionFields()[i].key;
    keys.insert(key);
    std::optional<std::string> stored = ini.value("Setting", key);
    if (!stored) stored = ini.value("Options", key);
    ASSERT_TRUE(stored) << key;
    EXPECT_EQ(*stored, texts.texts[i]) << key;
  }
  EXPECT_EQ(keys.size(), 24u);
}

TEST(OptionFields, AcceptedCharacters) {
  auto field = [](const char* key) {
    for (const core::OptionField& f : core::optionFields())
      if (std::string(key) == f.key) return f;
    throw std::logic_error(key);
  };
  EXPECT_TRUE(core::optionAccepts(field("op1"), U'n'));
  EXPECT_FALSE(core::optionAccepts(field("op1"), U'x'));
  EXPECT_TRUE(core::optionAccepts(field("ModemePort1"), U'm'));
  EXPECT_FALSE(core::optionAccepts(field("ModemePort1"), U'X'));
  EXPECT_FALSE(core::optionAccepts(field("StartChar_Type"), U'0'));
  EXPECT_TRUE(core::optionAccepts(field("Send_Before"), U'3')); // 3 although the label says 0-2
  EXPECT_FALSE(core::optionAccepts(field("EndChar_Type"), U'5'));
  // The text not to send takes anything printable, Japanese too, but no control characters.
  EXPECT_TRUE(core::optionAccepts(field("SendMsg1"), U'；'));
  EXPECT_TRUE(core::optionAccepts(field("SendMsg1"), U' '));
  EXPECT_FALSE(core::optionAccepts(field("SendMsg1"), U'\x16'));
}

TEST(ApplyOptions, TakesEveryFieldAndRefreshesOnlyForWhatChanged) {
  core::SettingsRecord target;
  RecordingEffects effects;
  effects.s = &target;
  const core::SettingsRecord wanted = unusual();
  EXPECT_FALSE(core::applyOptions(core::optionTextsFrom(wanted), target, effects));
  EXPECT_EQ(core::optionTextsFrom(target).texts, core::optionTextsFrom(wanted).texts);
  // In order, each with its own setting already taken and the later ones not yet.
  EXPECT_EQ(effects.calls,
            (std::vector<std::string>{"all-files N cols 2", "columns 4", "case YN", "case YY"}));

  effects.calls.clear();
  EXPECT_FALSE(core::applyOptions(core::optionTextsFrom(wanted), target, effects));
  EXPECT_TRUE(effects.calls.empty());
}

TEST(ApplyOptions, AnIntegerThatDoesNotConvertStopsApplyAtItsField) {
  struct Case {
    const char* emptied;
    const char* lastApplied; // set before the failing field
    const char* notApplied;  // set after it
  };
  const Case cases[] = {
      {"InvTime", "op1", "DC3(0X93)"},
      {"ListColumn", "op1", "Add_No"},
      {"StartChar_Type", "Add_No", "Power_Off"},
      {"EndChar_Type", "Add_No", "Power_Off"},
      {"Send_Before", "Read_SP_Cut", "AutoSelect"},
      {"R_Code", "AutoSelect", "SendMsg1"},
  };
  for (const Case& c : cases) {
    core::SettingsRecord target;
    RecordingEffects effects;
    effects.s = &target;
    core::OptionTexts texts = core::optionTextsFrom(unusual());
    texts[c.emptied] = "";
    EXPECT_EQ(core::applyOptions(texts, target, effects), std::optional<std::string>("")) << c.emptied;
    const core::OptionTexts now = core::optionTextsFrom(target);
    EXPECT_EQ(now[c.lastApplied], texts[c.lastApplied]) << c.emptied;
    EXPECT_NE(now[c.notApplied], texts[c.notApplied]) << c.emptied;
    EXPECT_NE(now["op6"], "Y") << c.emptied;
  }
  // StartChar_Type is taken before EndChar_Type stops it.
  core::SettingsRecord target;
  RecordingEffects effects;
  effects.s = &target;
  core::OptionTexts texts = core::optionTextsFrom(unusual());
  texts["EndChar_Type"] = "";
  core::applyOptions(texts, target, effects);
  EXPECT_EQ(target.StartChar_Type, 5);
  EXPECT_EQ(target.EndChar_Type, 1);
}

TEST(ApplyOptions, EmptiedTextFieldsAreStoredEmpty) {
  core::SettingsRecord target;
  RecordingEffects effects;
  effects.s = &target;
  core::OptionTexts texts = core::optionTextsFrom(target);
  texts["op1"] = "";
  texts["ModemePort1"] = "com3";
  EXPECT_FALSE(core::applyOptions(texts, target, effects));
  EXPECT_EQ(target.op1, "");
  EXPECT_EQ(target.ModemePort1, "com3"); // no range or form check beyond the filters
}

TEST(ToInteger, DecimalTextWithinThirtyTwoBits) {
  EXPECT_EQ(core::toInteger("999"), 999);
  EXPECT_EQ(core::toInteger("007"), 7);
  EXPECT_EQ(core::toInteger("2147483647"), 2147483647);
  EXPECT_EQ(core::toInteger("2147483648"), std::nullopt);
  EXPECT_EQ(core::toInteger(""), std::nullopt);
  EXPECT_EQ(core::toInteger("1a"), std::nullopt);
  EXPECT_EQ(core::notAnIntegerMessage(""), "'' は整数ではありません");
}
