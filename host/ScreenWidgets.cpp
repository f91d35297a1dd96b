#include "host/ScreenWidgets.h"

#include "host/Host.h"

#include <QLabel>
#include <QWidget>

namespace kestrovan::host {

// IPAGothic stands in for the fixed-pitch Gothic of the original screens.
QFont screenFont(int pixelSize) {
  QFont font("IPAGothic");
  font.setPixelSize(pixelSize);
  font.setStyleHint(QFont::Monospace);
  return font;
}

QLabel* screenLabel(QWidget* parent, const char* name, QRect place, const char* color, int pixelSize,
                    const char* background) {
  auto* l = new QLabel(parent);
  l->setObjectName(name);
  l->setGeometry(place);
  l->setFont(screenFont(pixelSize));
  l->setStyleSheet(QString("color: %1; background: %2;").arg(color, background));
  l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  return l;
}

void centreOnMainWindow(QWidget& dialog, Host& host) {
  QRect main = host.recordedWindowRect();
  if (main.isNull()) main = host.window()->frameGeometry();
  const QSize own = dialog.frameGeometry().size();
  dialog.move(main.left() + main.width() / 2 - own.width() / 2,
              main.top() + main.height() / 2 - own.height() / 2);
}

} // namespace kestrovan::host
