#include "host/HistoryBox.h"

#include "files/ChooserRows.h"

#include <QByteArray>
#include <QComboBox>
#include <QLineEdit>
#include <QVariant>

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

namespace {

constexpr const char* kPathBytes = "kestrovanPathBytes";
constexpr const char* kPathShown = "kestrovanPathShown";

QString shown(const std::string& path) { return QString::fromStdString(files::shownPath(path)); }
QByteArray bytes(const std::string& path) {
  return QByteArray(path.data(), static_cast<qsizetype>(path.size()));
}
std::string path(const QByteArray& b) {
  return std::string(b.constData(), static_cast<std::size_t>(b.size()));
}

} // namespace

void showHistory(QComboBox& box, const std::vector<std::string>& entries, const std::string& text) {
  box.clear();
  for (const std::string& e : entries)
    box.addItem(shown(e), bytes(e));
  setBoxPath(box, text);
  // Opened with its text selected, so that what is typed replaces it.
  box.lineEdit()->selectAll();
}

void setBoxPath(QComboBox& box, const std::string& p) {
  const QString s = shown(p);
  box.setProperty(kPathBytes, bytes(p));
  box.setProperty(kPathShown, s);
  box.setEditText(s);
}

std::string boxPath(const QComboBox& box) {
  const QString text = box.currentText();
  for (int i = 0; i < box.count(); ++i)
    if (box.itemText(i) == text) return path(box.itemData(i).toByteArray());
  const QString put = box.property(kPathShown).toString();
  if (!put.isEmpty() && text.startsWith(put))
    return path(box.property(kPathBytes).toByteArray()) + text.mid(put.size()).toStdString();
  return text.toStdString();
}

} // namespace kestrovan::host
