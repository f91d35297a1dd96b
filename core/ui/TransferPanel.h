#pragma once
// GroupBox2, the transfer panel over the list: a plain-text view of data
// sent or received, the transfer log or a file, with the remaining-data line
// above it and a list of program headers or marked files beside it when
// asked. Placed and coloured by the operation that shows it.

#include "host/Host.h"

#include <QObject>

#include <string>

namespace kestrovan::core {

struct MainScreen;

// A click on "F3 :中止(Esc)" under the view presses F3 (the transfer
// releases the key itself).
class TransferPanel : public QObject {
public:
  explicit TransferPanel(MainScreen& screen);

  // Title, place (x, y, width; it reaches down to the message line),
  // background colour and parts; the view is emptied.
  void show(const std::string& title, int x, int y, int width, const char* colour,
            host::TransferPanelParts parts);
  void hide();
  bool visible() const;

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  // The list beside the view as wide as its longest name needs, up to half
  // the panel; the view takes the rest.
  void fitList();

  MainScreen& s_;
};

} // namespace kestrovan::core
