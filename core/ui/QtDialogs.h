#pragma once
// Message boxes shown as real modal Qt boxes, placed 50 pixels right of and
// below the owner window's top-left corner.

#include "base/Dialogs.h"

class QMessageBox;
class QWidget;

namespace kestrovan::core {

class QtDialogs : public base::Dialogs {
public:
  explicit QtDialogs(QWidget* owner = nullptr) : owner_(owner) {}
  void setOwner(QWidget* owner) { owner_ = owner; }
  base::MessageAnswer show(const base::Message& message) override;

  // The program is closing: the box on screen is closed, and every box from
  // now on is answered at once as its close box would answer it (No, Cancel,
  // or OK where that is the only button), so that one close request ends the
  // program whatever it was about to ask.
  void dismissAll();

private:
  QWidget* owner_;
  QMessageBox* showing_ = nullptr;
  bool dismissing_ = false;
};

} // namespace kestrovan::core
