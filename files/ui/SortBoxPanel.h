#pragma once
// GroupBox4, the sort box that S opens over the list: the current sort, the
// legend, and a three-character entry for a code such as N-D (name, down).
// Enter applies a valid code and re-sorts the list; Esc (or a click on
// "Esc :中止") cancels. An operation module of the main window.

#include "host/Operation.h"

#include "host/Host.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

namespace kestrovan::files {

class SortBoxPanel : public QObject, public host::Operation {
public:
  explicit SortBoxPanel(host::Host& host);
  void open();

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  bool key(QKeyEvent* event);
  void finish();

  host::Host& host_;
  QGroupBox* GroupBox4;
  QLabel* current_;
  QLineEdit* edit_;
  QLabel* keyLine_;
};

} // namespace kestrovan::files
