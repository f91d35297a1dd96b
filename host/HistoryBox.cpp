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
constexpr const char* kPickWatched = "kestrovanPickWatched";

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
  // An entry picked afterwards replaces the path put in.
  if (!box.property(kPickWatched).toBool()) {
    box.setProperty(kPickWatched, true);
    QObject::connect(&box, &QComboBox::currentIndexChanged, &box, [b = &box] {
      b->setProperty(kPathShown, QVariant());
      b->setProperty(kPathBytes, QVariant());
    });
  }
}

// Entries can look alike (a folder named in UTF-8 and one named in CP932),
// so the text alone cannot tell them apart: the path put in comes first
// (until an entry is picked), then the entry picked, and only then the first
// entry that shows the text. What is typed after either keeps their bytes.
std::string boxPath(const QComboBox& box) {
  const QString text = box.currentText();
  const QString put = box.property(kPathShown).toString();
  if (!put.isEmpty() && text.startsWith(put))
    return path(box.property(kPathBytes).toByteArray()) + text.mid(put.size()).toStdString();
  const int current = box.currentIndex();
  if (current >= 0 && !box.itemText(current).isEmpty() && text.startsWith(box.itemText(current)))
    return path(box.itemData(current).toByteArray()) + text.mid(box.itemText(current).size()).toStdString();
  for (int i = 0; i < box.count(); ++i)
    if (box.itemText(i) == text) return path(box.itemData(i).toByteArray());
  return text.toStdString();
}

} // namespace kestrovan::host
