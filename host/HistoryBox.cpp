#include "host/HistoryBox.h"

#include <QComboBox>
#include <QLineEdit>

namespace kestrovan::host {

QComboBox* historyBox(QWidget* parent, QRect place) {
  auto* box = new QComboBox(parent);
  box->setObjectName("ComboBox1");
  box->setEditable(true);
  box->setInsertPolicy(QComboBox::NoInsert);
  box->setCompleter(nullptr);
  box->setGeometry(place);
  return box;
}

void showHistory(QComboBox& box, const std::vector<std::string>& entries, const std::string& text) {
  box.clear();
  for (const std::string& e : entries)
    box.addItem(QString::fromStdString(e));
  box.setEditText(QString::fromStdString(text));
  // Opened with its text selected, so that what is typed replaces it.
  box.lineEdit()->selectAll();
}

} // namespace kestrovan::host
