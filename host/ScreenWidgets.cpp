#include "host/ScreenWidgets.h"

#include <QLabel>

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

} // namespace kestrovan::host
