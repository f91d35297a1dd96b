#include "core/ui/MainListView.h"

#include "core/ui/FileListBox.h"
#include "core/ui/MainScreen.h"

#include <QApplication>
#include <QLabel>

namespace kestrovan::core {
namespace {
QString q(const std::string& utf8) { return QString::fromStdString(utf8); }
} // namespace

void MainListView::setRows(const std::vector<std::string>& rows) {
  std::vector<QString> texts;
  texts.reserve(rows.size());
  for (const std::string& r : rows)
    texts.push_back(q(r));
  s_.ListBox1->setRows(std::move(texts));
}

void MainListView::setRowText(int row, const std::string& text) { s_.ListBox1->setRowText(row, q(text)); }
int MainListView::selectedRow() const { return s_.ListBox1->selectedRow(); }
void MainListView::selectRow(int row) { s_.ListBox1->selectRow(row); }
void MainListView::setHeaderLine(const std::string& text) { s_.Label7->setText(q(text)); }
void MainListView::setInfoLine(const std::string& text) { s_.Label8->setText(q(text)); }

void MainListView::setWaitCursor(bool on) {
  if (on) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    s_.ListBox1->window()->repaint();
  } else {
    QApplication::restoreOverrideCursor();
  }
}

void MainListView::focusList() { s_.ListBox1->setFocus(); }
int MainListView::listHeight() const { return s_.ListBox1->height(); }

} // namespace kestrovan::core
