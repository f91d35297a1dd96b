#include "app/MainWindow.h"

#include "core/ui/SettingsOperations.h"
#include "editor/ui/EditorOperations.h"
#include "editor/ui/FileViewOperation.h"
#include "external/ui/ExternalOperations.h"
#include "files/ui/FileOperations.h"
#include "files/ui/ListToolsOperations.h"
#include "files/ui/SortBoxPanel.h"
#include "host/FolderBrowser.h"
#include "nctools/ui/NcToolOperations.h"
#include "platform/PowerOff.h"
#include "serial/ui/TransferOperations.h"

namespace kestrovan::app {

MainWindow::MainWindow(core::StartupInputs inputs, Seams seams)
    : systemPowerOff_(std::make_unique<platform::SystemPowerOff>()),
      qtFolderBrowser_(std::make_unique<host::QtFolderBrowser>()),
      form_(std::make_unique<core::TForm1>(std::move(inputs), seams.dialogs, seams.ports)) {
  platform::PowerOff& powerOff = seams.powerOff ? *seams.powerOff : *systemPowerOff_;
  host::FolderBrowser& folderBrowser = seams.folderBrowser ? *seams.folderBrowser : *qtFolderBrowser_;
  // In the order their first-idle steps run.
  plugIn<serial::TransferOperations>(form_->ports(), powerOff);
  plugIn<core::SettingsOperations>(form_->ports(),
                                   core::PortDeviceSource{form_->state().settingsProfile,
                                                          form_->state().files.settingsPath,
                                                          seams.deviceRoot.empty() ? "/" : seams.deviceRoot});
  plugIn<files::SortBoxPanel>();
  plugIn<files::FileOperations>(folderBrowser);
  plugIn<external::ExternalOperations>();
  plugIn<files::ListToolsOperations>();
  plugIn<editor::FileViewOperation>();
  plugIn<editor::EditorOperations>();
  plugIn<nctools::NcToolOperations>(folderBrowser);
}

MainWindow::~MainWindow() { operations_.clear(); }

} // namespace kestrovan::app
