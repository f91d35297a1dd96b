#include "core/OptionFields.h"

#include <charconv>
#include <stdexcept>

namespace kestrovan::core {
namespace {

using P = OptionPage;
using R = base::SettingsRecord;
constexpr const char* kYN = "YNyn";
constexpr const char* kPort = "COMcom0123456789";

OptionField flag(P page, int tag, const char* key, const char* label, std::string R::*member) {
  return {page, tag, key, label, nullptr, kYN, 1, OptionKind::Text, member, nullptr};
}
OptionField integer(P page, int tag, const char* key, const char* label, const char* note,
                    const char* accepts, int maxLength, int32_t R::*member) {
  return {page, tag, key, label, note, accepts, maxLength, OptionKind::Integer, nullptr, member};
}

int indexOf(const std::string& key) {
  const std::vector<OptionField>& fields = optionFields();
  for (std::size_t i = 0; i < fields.size(); ++i)
    if (key == fields[i].key) return static_cast<int>(i);
  throw std::logic_error("no option field " + key);
}

} // namespace

const std::vector<OptionField>& optionFields() {
  static const std::vector<OptionField> fields = {
      flag(P::General, 1, "op1", "ＤＲ信号を常にON(Y/N)", &R::op1),
      flag(P::General, 2, "DC3(0X93)", "DC3を0x93にする(Y/N)", &R::DC3_0X93),
      flag(P::General, 3, "Add_No", "o番号毎に分割時連番をつける(Y/N)", &R::Add_No),
      {P::General, 4, "ModemePort1", "ﾓﾃﾞﾑﾎﾟｰﾄ番号１(例:COM1)", nullptr, kPort, 5, OptionKind::Text,
       &R::ModemePort1, nullptr},
      {P::General, 5, "ModemePort2", "ﾓﾃﾞﾑﾎﾟｰﾄ番号２(例:COM12)", nullptr, kPort, 5, OptionKind::Text,
       &R::ModemePort2, nullptr},
      flag(P::General, 6, "AutoSelect", "自動ﾎﾟｰﾄ切替(Y/N)", &R::AutoSelect),
      flag(P::General, 7, "Power_Off", "送受信完了後、ＰＣ電源断(Y/N)", &R::Power_Off),
      flag(P::General, 8, "op6", "DSR信号を併用する(Y/N)", &R::op6),

      flag(P::Receive, 1, "O/:-Change", "受信時Ｏ→：に変換(Y/N)", &R::O_Change),
      flag(P::Receive, 2, "op5", "受信中止でもﾃﾞｰﾀ保存(Y/N)", &R::op5),
      flag(P::Receive, 3, "Read_SP_Cut", "受信時、ﾜｰﾄﾞ毎にｽﾍﾟｰｽをつけない(Y/N)", &R::Read_SP_Cut),
      integer(P::Receive, 4, "R_Code", "受信 0:自動判別 1:ISO 2:EIA 3:ASCII", nullptr, "0123", 1, &R::R_Code),

      integer(P::Send, 1, "InvTime", "ｳｪｲﾄﾀｲﾑ(msec)", nullptr, "1234567890", 3, &R::InvTime),
      integer(P::Send, 2, "Send_Before", "送信時、前処理(0-2)", "(0:標準 1:ｽﾍﾟｰｽ 2:ﾀｲﾏｰ)", "0123", 1,
              &R::Send_Before),
      integer(P::Send, 3, "StartChar_Type", "ｽﾀｰﾄｷｬﾗﾀｲﾌﾟ(1-5)", "(1:%+LF 2:%%+LF 3:% * 4:% 5:%%)", "12345", 1,
              &R::StartChar_Type),
      integer(P::Send, 4, "EndChar_Type", "ｴﾝﾄﾞｷｬﾗﾀｲﾌﾟ(1-4)", "(1:% 2:%% 3:%+LF 4:%%+LF)", "1234", 1,
              &R::EndChar_Type),
      flag(P::Send, 5, "Send_SP_Cut", "送信時、ｽﾍﾟｰｽは送らない(Y/N)", &R::Send_SP_Cut),
      {P::Send, 6, "SendMsg1", "送信時、送信しない文字列", nullptr, nullptr, 0, OptionKind::Text,
       &R::SendMsg1, nullptr},
      flag(P::Send, 7, "MSG_OP", "注釈(；か’)以降も送信(Y/N)", &R::MSG_OP),
      flag(P::Send, 8, "op2", "ＮＣからの中止信号は無効(Y/N)", &R::op2),

      flag(P::Other, 1, "ALL-Files", "ﾌｧｲﾙをすべて表示(Y/N)", &R::ALL_Files),
      integer(P::Other, 2, "ListColumn", "ﾌｧｲﾙ表示列数(1-5)", nullptr, "12345", 1, &R::ListColumn),
      flag(P::Other, 3, "op3", "ﾘｽﾄ大文字表示 (Y/N)", &R::op3),
      flag(P::Other, 4, "op4", "ﾛﾝｸﾞﾌｧｲﾙ名で表示(Y/N)", &R::op4),
  };
  return fields;
}

const char* optionPageTitle(OptionPage page) {
  switch (page) {
  case P::General: return "通信全般";
  case P::Receive: return "受信";
  case P::Send: return "送信";
  case P::Other: return "その他";
  }
  return "";
}

std::vector<int> optionFieldsOf(OptionPage page) {
  std::vector<int> indices;
  const std::vector<OptionField>& fields = optionFields();
  for (std::size_t i = 0; i < fields.size(); ++i)
    if (fields[i].page == page) indices.push_back(static_cast<int>(i));
  return indices;
}

std::string& OptionTexts::operator[](const std::string& key) { return texts.at(indexOf(key)); }
const std::string& OptionTexts::operator[](const std::string& key) const { return texts.at(indexOf(key)); }

OptionTexts optionTextsFrom(const base::SettingsRecord& settings) {
  OptionTexts t;
  for (const OptionField& f : optionFields())
    t.texts.push_back(f.kind == OptionKind::Integer ? std::to_string(settings.*f.integer) : settings.*f.text);
  return t;
}

bool optionAccepts(const OptionField& field, char32_t c) {
  if (!field.accepts) return c >= 0x20 && c != 0x7f;
  for (const char* a = field.accepts; *a; ++a)
    if (static_cast<char32_t>(static_cast<unsigned char>(*a)) == c) return true;
  return false;
}

std::optional<int32_t> toInteger(const std::string& text) {
  const char* first = text.data();
  const char* last = first + text.size();
  if (first != last && *first == '+') ++first;
  int32_t value = 0;
  auto [end, error] = std::from_chars(first, last, value);
  if (first == last || error != std::errc() || end != last) return std::nullopt;
  return value;
}

std::string notAnIntegerMessage(const std::string& text) { return "'" + text + "' は整数ではありません"; }

std::optional<std::string> applyOptions(const OptionTexts& t, base::SettingsRecord& s,
                                        OptionEffects& effects) {
  auto text = [&](const char* key) {
    const OptionField& f = optionFields()[indexOf(key)];
    s.*f.text = t[key];
  };
  // Returns false when the text does not convert; the caller stops there.
  auto number = [&](const char* key) {
    const OptionField& f = optionFields()[indexOf(key)];
    std::optional<int32_t> value = toInteger(t[key]);
    if (value) s.*f.integer = *value;
    return value.has_value();
  };

  text("O/:-Change");
  const std::string oldAllFiles = s.ALL_Files;
  text("ALL-Files");
  if (s.ALL_Files != oldAllFiles) effects.allFilesChanged();
  text("op1");
  if (!number("InvTime")) return t["InvTime"];
  const int32_t oldColumns = s.ListColumn;
  if (!number("ListColumn")) return t["ListColumn"];
  if (s.ListColumn != oldColumns) effects.listColumnChanged();
  text("DC3(0X93)");
  text("Add_No");
  if (!number("StartChar_Type")) return t["StartChar_Type"];
  if (!number("EndChar_Type")) return t["EndChar_Type"];
  text("Power_Off");
  text("Send_SP_Cut");
  text("Read_SP_Cut");
  if (!number("Send_Before")) return t["Send_Before"];
  text("AutoSelect");
  if (!number("R_Code")) return t["R_Code"];
  for (const char* key : {"SendMsg1", "MSG_OP", "ModemePort1", "ModemePort2", "op2"})
    text(key);
  const std::string oldOp3 = s.op3;
  text("op3");
  if (s.op3 != oldOp3) effects.letterCaseChanged();
  const std::string oldOp4 = s.op4;
  text("op4");
  if (s.op4 != oldOp4) effects.letterCaseChanged();
  text("op5");
  text("op6");
  return std::nullopt;
}

} // namespace kestrovan::core
