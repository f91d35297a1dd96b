#include "core/TransferPanel.h"

#include "core/MainScreen.h"

#include <QApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>

namespace kestrovan::core {

TransferPanel::TransferPanel(MainScreen& screen) : s_(screen) {
  s_.transferKeyLine->installEventFilter(this);
}

bool TransferPanel::eventFilter(QObject* watched, QEvent* event) {
  if (watched != s_.transferKeyLine || event->type() != QEvent::MouseButtonPress)
    return QObject::eventFilter(watched, event);
  const int x = static_cast<QMouseEvent*>(event)->position().toPoint().x() + s_.transferKeyLine->x();
  if (x >= 220 && x <= 340) {
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : s_.RichEdit1;
    QApplication::postEvent(target, new QKeyEvent(QEvent::KeyPress, Qt::Key_F3, Qt::NoModifier));
  }
  return true;
}

void TransferPanel::show(const std::string& title, int x, int y, int width, const char* colour,
                         host::TransferPanelParts parts) {
  QGroupBox* panel = s_.GroupBox2;
  panel->setTitle(QString::fromStdString(title));
  panel->setGeometry(x, y, width, 407 - y);
  panel->setStyleSheet(QString("QGroupBox { color: white; background: %1; }").arg(colour));
  int top = 18;
  s_.remainingLine->setVisible(parts.remainingLine);
  if (parts.remainingLine) {
    s_.remainingLine->setGeometry(6, top, width - 12, 16);
    top += 18;
  }
  const int listWidth = parts.list ? 150 : 0;
  const int viewHeight = panel->height() - top - 22;
  s_.RichEdit1->setGeometry(6, top, width - 12 - listWidth - (parts.list ? 4 : 0), viewHeight);
  s_.transferFiles->setVisible(parts.list);
  if (parts.list) s_.transferFiles->setGeometry(width - 6 - listWidth, top, listWidth, viewHeight);
  s_.transferKeyLine->setGeometry(6, panel->height() - 20, width - 12, 16);
  s_.RichEdit1->clear();
  panel->show();
  panel->raise();
}

void TransferPanel::hide() {
  s_.RichEdit1->clear();
  s_.GroupBox2->hide();
}

bool TransferPanel::visible() const { return s_.GroupBox2->isVisible(); }

} // namespace kestrovan::core
