#include "app/MainWindow.h"

#include "core/SettingsOperations.h"
#include "files/ListToolsOperations.h"
#include "files/SortBoxPanel.h"
#include "platform/PowerOff.h"
#include "serial/TransferOperations.h"

namespace kestrovan::app {

MainWindow::MainWindow(core::StartupInputs inputs, Seams seams)
    : systemPowerOff_(std::make_unique<platform::SystemPowerOff>()),
      form_(std::make_unique<core::TForm1>(std::move(inputs), seams.dialogs, seams.ports)) {
  platform::PowerOff& powerOff = seams.powerOff ? *seams.powerOff : *systemPowerOff_;
  // In the order their first-idle steps run.
  plugIn<serial::TransferOperations>(form_->ports(), powerOff);
  plugIn<core::SettingsOperations>(form_->ports());
  plugIn<files::SortBoxPanel>();
  plugIn<files::ListToolsOperations>();
}

MainWindow::~MainWindow() { operations_.clear(); }

} // namespace kestrovan::app
