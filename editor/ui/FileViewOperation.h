#pragma once
// The file view (V/F8) in the transfer panel as an operation module of the main window.

#include "host/Operation.h"

#include <QObject>

namespace kestrovan::host {
class Host;
}

namespace kestrovan::editor {

class ProgramView;

// On a file row: the file read-only in the transfer panel captioned
// "ファイルビュー" (teal, at 328,100, 350 wide), its size in status panel 2,
// "ファイルビュー" in panel 3, the list disabled. F3 or Esc in the view ends
// it through the host's transfer-panel keys ("操作中止!!", the list back).
// On a folder row, the ".." row or no row nothing happens.
class FileViewOperation : public QObject, public host::Operation {
public:
  explicit FileViewOperation(host::Host& host);

  void show();
  bool showing() const { return showing_; }
  // The view over the transfer view that draws the file from its bytes.
  ProgramView* view() const { return view_; }

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void ended();

  host::Host& host_;
  // Lies over the transfer view while the file shows: a long program is
  // indexed piece by piece, the window alive and Esc working meanwhile, and
  // only what is in view is decoded; all of it is dropped when the view ends.
  ProgramView* view_ = nullptr;
  bool showing_ = false;
};

} // namespace kestrovan::editor
