#pragma once
// The two settings windows as an operation module of the main window: the
// communication settings panel (F7) and the options dialog (O).

#include "core/ui/CommPanel.h"
#include "core/ui/OptionForm.h"
#include "host/Operation.h"

namespace kestrovan::core {

class SettingsOperations : public host::Operation {
public:
  SettingsOperations(host::Host& host, serial::PortOpener& ports, PortDeviceSource devices);

  CommPanel& commPanel() { return commPanel_; }
  TOptionForm& optionForm() { return optionForm_; }

private:
  CommPanel commPanel_;
  TOptionForm optionForm_;
};

} // namespace kestrovan::core
