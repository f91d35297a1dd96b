#include "editor/ui/EditorStatusBar.h"

#include "host/ScreenWidgets.h"

#include <QLabel>

namespace kestrovan::editor {

EditorStatusBar::EditorStatusBar(QWidget* parent) : QWidget(parent) {
  setObjectName("StatusBar3");
  setFixedHeight(20);
  setStyleSheet("background: #d4d0c8;");
  int x = 0;
  for (int i = 0; i < 7; ++i) {
    auto* label = new QLabel(this);
    label->setObjectName(QString("StatusBar3Field%1").arg(i));
    label->setGeometry(x, 0, kWidths[static_cast<std::size_t>(i)], 20);
    label->setFont(host::screenFont(12));
    label->setStyleSheet("color: black; border: 1px solid gray;");
    fields_[static_cast<std::size_t>(i)] = label;
    x += kWidths[static_cast<std::size_t>(i)];
  }
}

void EditorStatusBar::setField(int index, const std::string& text) {
  fields_.at(static_cast<std::size_t>(index))->setText(QString::fromStdString(text));
}

std::string EditorStatusBar::field(int index) const {
  return fields_.at(static_cast<std::size_t>(index))->text().toStdString();
}

} // namespace kestrovan::editor
