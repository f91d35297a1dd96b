#pragma once
// The look of the main screen for the regions of the main window and the
// boxes operations put on it: the fixed-pitch Gothic at a pixel size, and a
// label in it at its place.

#include <QFont>
#include <QRect>

class QLabel;
class QWidget;

namespace kestrovan::host {

class Host;

QFont screenFont(int pixelSize);
QLabel* screenLabel(QWidget* parent, const char* name, QRect place, const char* color, int pixelSize,
                    const char* background = "black");
// Moves a dialog so that it is centred on the main window as RecordWindowRect
// last stored it (on the window as it is now when nothing was recorded).
void centreOnMainWindow(QWidget& dialog, Host& host);

} // namespace kestrovan::host
