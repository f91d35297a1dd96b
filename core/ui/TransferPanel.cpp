#include "core/ui/TransferPanel.h"

#include "core/ui/MainScreen.h"
#include "host/ScreenWidgets.h"

#include <QApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QStyle>
#include <QStyleOption>

#include <algorithm>

namespace kestrovan::core {

namespace {
constexpr int kListWidth = 150;
constexpr int kListGap = 4;
} // namespace

TransferPanel::TransferPanel(MainScreen& screen) : s_(screen) {
  s_.transferKeyLine->installEventFilter(this);
  // The marked files' names in the screen's font, at a row height that holds
  // their underscores; a name longer than the list can be loses its middle.
  QListWidget* list = s_.transferFiles;
  list->setFont(host::screenFont(12));
  list->setUniformItemSizes(false);
  list->setTextElideMode(Qt::ElideMiddle);
  list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  connect(list->model(), &QAbstractItemModel::rowsInserted, this, [this] { fitList(); });
  connect(list->model(), &QAbstractItemModel::rowsRemoved, this, [this] { fitList(); });
}

void TransferPanel::fitList() {
  QListWidget* list = s_.transferFiles;
  if (list->isHidden()) return;
  const QFontMetrics fm(list->font());
  int need = 0;
  for (int i = 0; i < list->count(); ++i)
    need = std::max(need, fm.horizontalAdvance(list->item(i)->text()));
  QStyleOption opt;
  opt.initFrom(list);
  const int margin = list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, &opt, list) + 1;
  const int scrollBar = list->style()->pixelMetric(QStyle::PM_ScrollBarExtent, &opt, list);
  need += 2 * margin + 2 * list->frameWidth() + scrollBar;
  const int panelWidth = s_.GroupBox2->width();
  const int width = std::clamp(need, kListWidth, panelWidth / 2);
  const QRect view = s_.RichEdit1->geometry();
  const int right = panelWidth - 6;
  list->setGeometry(right - width, list->y(), width, list->height());
  s_.RichEdit1->setGeometry(view.x(), view.y(), right - width - kListGap - view.x(), view.height());
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
  const int listWidth = parts.list ? kListWidth : 0;
  const int viewHeight = panel->height() - top - 22;
  s_.RichEdit1->setGeometry(6, top, width - 12 - listWidth - (parts.list ? kListGap : 0), viewHeight);
  s_.transferFiles->setVisible(parts.list);
  if (parts.list) {
    s_.transferFiles->setGeometry(width - 6 - listWidth, top, listWidth, viewHeight);
    fitList();
  }
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
