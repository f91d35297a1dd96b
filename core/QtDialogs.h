#pragma once
// Message boxes shown as real modal Qt boxes, placed 50 pixels right of and
// below the owner window's top-left corner.

#include "core/Dialogs.h"

class QWidget;

namespace kestrovan::core {

class QtDialogs : public Dialogs {
public:
  explicit QtDialogs(QWidget* owner = nullptr) : owner_(owner) {}
  void setOwner(QWidget* owner) { owner_ = owner; }
  MessageAnswer show(const Message& message) override;

private:
  QWidget* owner_;
};

} // namespace kestrovan::core
