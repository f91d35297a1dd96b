#pragma once
// StatusBar3, the editor's status line: seven fields of fixed widths (size,
// caret, change marker, mode, selection, font, search).

#include <QWidget>

#include <array>
#include <string>

class QLabel;

namespace kestrovan::editor {

enum EditorField {
  SizeField = 0,
  CaretField,
  ChangeField,
  ModeField,
  SelectionField,
  FontField,
  SearchField
};

class EditorStatusBar : public QWidget {
public:
  explicit EditorStatusBar(QWidget* parent);
  void setField(int index, const std::string& text);
  std::string field(int index) const;

  // The caret's field holds a seven-digit line and a five-digit column, the
  // search field its "文字列検索中".
  static constexpr std::array<int, 7> kWidths{180, 100, 55, 50, 55, 130, 80};

private:
  std::array<QLabel*, 7> fields_{};
};

} // namespace kestrovan::editor
