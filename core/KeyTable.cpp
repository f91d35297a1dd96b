#include "core/KeyTable.h"

#include <iterator>

namespace kestrovan::core {
namespace {

using C = Command;
using Cond = Condition;

// Function-key slots, each from its "Fn" to the next one: 17 CP932 bytes
// (136 pixels), the first of a line one more for the leading blank, and F5
// and F10 whatever is left.
const KeyBinding kBindings[] = {
    {Key::F1, C::Send, C::Send, Cond::FileRow, false, " F1 :ﾌｧｲﾙ送信　　 ", " F1 :ﾌｧｲﾙ送信+終了"},
    {Key::F2, C::Receive, C::Receive, Cond::None, false, "F2 :ﾌｧｲﾙ受信     ", "F2 :ﾌｧｲﾙ受信+終了"},
    {Key::F3, C::Delete, C::Move, Cond::None, false, "F3 :ﾌｧｲﾙ削除     ", "F3 :ﾌｧｲﾙ移動     "},
    {Key::F4, C::Copy, C::Join, Cond::None, false, "F4 :ﾌｧｲﾙｺﾋﾟｰ     ", "F4 :ﾌｧｲﾙ結合     "},
    {Key::F5, C::FolderPrompt, C::FolderBrowse, Cond::None, false, "F5 :ﾃﾞｨﾚｸﾄﾘ切換・作成",
     "F5 :ﾌｫﾙﾀﾞｰ表示       "},
    {Key::F6, C::ExtensionPrompt, C::None, Cond::None, false, " F6 :拡張子変更   ", " F6 :             "},
    {Key::F7, C::CommSettings, C::None, Cond::None, false, "F7 :通信設定     ", "F7 :             "},
    {Key::F8, C::FileView, C::LogView, Cond::None, false, "F8 :ﾌｧｲﾙﾋﾞｭｰ     ", "F8 :送受信ログ   "},
    {Key::F9, C::Edit, C::NewDocument, Cond::FileRowUnshifted, false, "F9 :選択ﾌｧｲﾙ編集 ",
     "F9 :新規編集     "},
    {Key::F10, C::Close, C::Close, Cond::None, false, "F10:終了", "F10:終了"},
    {Key::Esc, C::Cancel, C::Cancel, Cond::None, false, nullptr, nullptr},
    {Key::Space, C::Refresh, C::Refresh, Cond::None, false, nullptr, nullptr},
    {Key::PageUp, C::PageUp, C::PageUp, Cond::None, true, nullptr, nullptr},
    {Key::PageDown, C::PageDown, C::PageDown, Cond::None, true, nullptr, nullptr},
    {Key::Home, C::MarkBlock, C::MarkBlock, Cond::None, true, nullptr, nullptr},
    {Key::End, C::ClearMarks, C::ClearMarks, Cond::None, true, nullptr, nullptr},
    {Key::Enter, C::Activate, C::Activate, Cond::None, false, nullptr, nullptr},
    {Key::B, C::Split, C::Split, Cond::FileRow, false, nullptr, nullptr},
    {Key::C, C::Copy, C::Copy, Cond::None, false, nullptr, nullptr},
    {Key::D, C::Delete, C::Delete, Cond::None, false, nullptr, nullptr},
    {Key::E, C::Edit, C::NewDocument, Cond::FileRowUnshifted, false, nullptr, nullptr},
    {Key::F, C::NameFilter, C::NameFilter, Cond::None, false, nullptr, nullptr},
    {Key::H, C::AxisDouble, C::AxisDouble, Cond::FileRow, false, nullptr, nullptr},
    {Key::I, C::FileInfo, C::FileInfo, Cond::NotParentRow, true, nullptr, nullptr},
    {Key::K, C::Join, C::Join, Cond::AtLeastOneMark, false, nullptr, nullptr},
    {Key::L, C::DriveMenu, C::DriveMenu, Cond::None, true, nullptr, nullptr},
    {Key::M, C::Move, C::Move, Cond::None, false, nullptr, nullptr},
    {Key::O, C::Options, C::Options, Cond::None, true, nullptr, nullptr},
    {Key::R, C::Rename, C::Rename, Cond::NotParentRow, true, nullptr, nullptr},
    {Key::S, C::SortBox, C::SortBox, Cond::None, false, nullptr, nullptr},
    {Key::T, C::First, C::First, Cond::None, true, nullptr, nullptr},
    {Key::V, C::FileView, C::FileView, Cond::None, false, nullptr, nullptr},
    {Key::X, C::OpenAssociated, C::OpenAssociated, Cond::FileRow, false, nullptr, nullptr},
    {Key::Y, C::ExternalTable, C::ExternalTable, Cond::None, true, nullptr, nullptr},
    {Key::Z, C::Last, C::Last, Cond::None, true, nullptr, nullptr},
};

} // namespace

std::optional<KeyBinding> findBinding(Key key) {
  for (const KeyBinding& b : kBindings)
    if (b.key == key) return b;
  return std::nullopt;
}

bool conditionHolds(Condition condition, files::RowKind selected, int markCount, bool shift) {
  using files::RowKind;
  switch (condition) {
  case Condition::None: return true;
  case Condition::FileRow: return selected == RowKind::File;
  case Condition::FileRowUnshifted: return shift || selected == RowKind::File;
  case Condition::NotParentRow: return selected == RowKind::File || selected == RowKind::Folder;
  case Condition::AtLeastOneMark: return markCount > 0;
  }
  return false;
}

std::optional<int> functionKeyAt(int x, int y) {
  // The right edge of each slot in pixels (8 to a CP932 byte).
  static const int bounds[5] = {144, 279, 414, 549, 745};
  int slot = 0;
  while (slot < 5 && x > bounds[slot])
    ++slot;
  if (slot >= 5) return std::nullopt;
  return (y <= 16 ? 1 : 6) + slot;
}

std::string functionKeyText(bool shift) {
  std::string text;
  for (Key k : {Key::F1, Key::F2, Key::F3, Key::F4, Key::F5})
    text += shift ? findBinding(k)->shiftedSlot : findBinding(k)->slot;
  text += "\n";
  for (Key k : {Key::F6, Key::F7, Key::F8, Key::F9, Key::F10})
    text += shift ? findBinding(k)->shiftedSlot : findBinding(k)->slot;
  return text;
}

const char* const kLetterCommandList =
    " B:ﾌｧｲﾙ分割\n C:ﾌｧｲﾙｺﾋﾟｰ\n D:ﾌｧｲﾙ削除\n E:ﾌｧｲﾙ編集\n F:ﾌｧｲﾙ検索\n H:指定軸2倍\n I:ﾌｧｲﾙ情報\n"
    " K:ﾌｧｲﾙ結合\n L:ﾄﾞﾗｲﾌﾞ切換\n M:ﾌｧｲﾙ移動\n O:ｵﾌﾟｼｮﾝ設定\n R:ﾌｧｲﾙ名変更\n S:ﾌｧｲﾙｿｰﾄ\n V:ﾌｧｲﾙﾋﾞｭｰ\n"
    " X:関連付け起動\n Y:外部ｱﾌﾟﾘ設定\n---------------\n T:先頭に移動\n Z:末尾に移動";

} // namespace kestrovan::core
