// The options dialog's fields and Apply, without a window.
#include "core/OptionFields.h"
#include "platform/IniFile.h"

#include <gtest/gtest.h>

using namespace kestrovan;

namespace {

// Records each effect with the settings as they are at that moment.
struct RecordingEffects : core::OptionEffects {
  const base::SettingsRecord* s;
  std::vector<std::string> calls;
  explicit RecordingEffects(const base::SettingsRecord& settings) : s(&settings) {}
  void allFilesChanged() override { calls.push_back("all " + s->ALL_Files + std::to_string(s->ListColumn)); }
  void listColumnChanged() override { calls.push_back("columns " + std::to_string(s->ListColumn)); }
  void letterCaseChanged() override { calls.push_back("case " + s->op3 + s->op4); }
};

// Every option away from its default.
base::SettingsRecord unusual() {
  base::SettingsRecord s;
  s.op1 = s.AutoSelect = s.Power_Off = s.op6 = s.O_Change = s.op5 = s.Read_SP_Cut = "Y";
  s.Send_SP_Cut = s.MSG_OP = s.op2 = s.op3 = s.op4 = "Y";
  s.DC3_0X93 = s.Add_No = s.ALL_Files = "N";
  s.ModemePort1 = "COM7";
  s.ModemePort2 = "COM12";
  s.SendMsg1 = "(MSG)";
  s.R_Code = 3;
  s.InvTime = 250;
  s.Send_Before = 2;
  s.StartChar_Type = 5;
  s.EndChar_Type = 4;
  s.ListColumn = 4;
  return s;
}

} // namespace

// Each field is bound to the setting of its key: the text it shows is what
// the settings file holds under that key.
TEST(OptionFields, EachFieldShowsTheSettingOfItsKey) {
  const base::SettingsRecord s = unusual();
  platform::IniFile ini;
  base::saveSettings(s, ini);
  const core::OptionTexts texts = core::optionTextsFrom(s);
  ASSERT_EQ(core::optionFields().size(), 24u);
  for (std::size_t i = 0; i < texts.texts.size(); ++i) {
    const char* key = core::optionFields()[i].key;
    std::optional<std::string> stored = ini.value("Setting", key);
    if (!stored) stored = ini.value("Options", key);
    ASSERT_TRUE(stored) << key;
    EXPECT_EQ(*stored, texts.texts[i]) << key;
  }
}

TEST(ApplyOptions, TakesEveryFieldAndRefreshesOnlyForWhatChanged) {
  base::SettingsRecord target;
  RecordingEffects effects(target);
  const core::OptionTexts wanted = core::optionTextsFrom(unusual());
  EXPECT_FALSE(core::applyOptions(wanted, target, effects));
  EXPECT_EQ(core::optionTextsFrom(target).texts, wanted.texts);
  // In order, each with its own setting already taken and the later ones not yet.
  EXPECT_EQ(effects.calls, (std::vector<std::string>{"all N2", "columns 4", "case YN", "case YY"}));

  effects.calls.clear();
  EXPECT_FALSE(core::applyOptions(wanted, target, effects));
  EXPECT_TRUE(effects.calls.empty());
}

TEST(ApplyOptions, AnIntegerThatDoesNotConvertStopsApplyAtItsField) {
  struct Case {
    const char* emptied;
    const char* lastApplied; // taken before the failing field
    const char* notApplied;  // after it
  };
  const Case cases[] = {
      {"InvTime", "op1", "DC3(0X93)"},
      {"ListColumn", "op1", "Add_No"},
      {"StartChar_Type", "Add_No", "Power_Off"},
      {"EndChar_Type", "StartChar_Type", "Power_Off"},
      {"Send_Before", "Read_SP_Cut", "AutoSelect"},
      {"R_Code", "AutoSelect", "SendMsg1"},
  };
  for (const Case& c : cases) {
    base::SettingsRecord target;
    RecordingEffects effects(target);
    core::OptionTexts texts = core::optionTextsFrom(unusual());
    texts[c.emptied] = "";
    EXPECT_EQ(core::applyOptions(texts, target, effects), std::optional<std::string>("")) << c.emptied;
    const core::OptionTexts now = core::optionTextsFrom(target);
    EXPECT_EQ(now[c.lastApplied], texts[c.lastApplied]) << c.emptied;
    EXPECT_NE(now[c.notApplied], texts[c.notApplied]) << c.emptied;
  }
}
