#pragma once
// GroupBox1, the communication settings panel that F7 opens over the right
// part of the main window: line settings, port and four Y/N switches, driven
// from the keyboard. F1 saves into the settings record, F2 or Esc goes back
// (asking first when something was changed), F10 closes the program.
//
// Beside it, over the file list, every port COM1 to COM30 with the device it
// maps to and what that device is (absent ones too); F5 maps the port in the
// port field to one of the present devices. The table follows adapters
// plugged in and pulled while the panel is open.

#include "platform/SerialDevices.h"

#include <QObject>

#include <string>
#include <vector>

class QGroupBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QListWidget;
class QTimer;
class QTreeWidget;
class QWidget;

namespace kestrovan::host {
class Host;
}
namespace kestrovan::serial {
class PortOpener;
}
namespace kestrovan::platform {
class IniFile;
}

namespace kestrovan::core {

class DropDownField;
struct CommFields;

// Where the ports' devices are found and their mapping is written.
struct PortDeviceSource {
  platform::IniFile& settingsProfile; // the profile the ports open by
  std::string settingsPath;           // the settings file a mapping is written into
  std::string deviceRoot = "/";       // the folder holding dev/ and sys/
};

class CommPanel : public QObject {
  Q_OBJECT
public:
  CommPanel(host::Host& host, serial::PortOpener& ports, PortDeviceSource devices);
  ~CommPanel() override;

  void open();
  // F1. False when the line settings text was refused and the panel stays.
  bool save();
  // F2, Esc.
  void back();

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  bool fieldKey(int tag, QKeyEvent* event);
  bool typeInto(int tag, const QString& typed);
  void focusField(int tag);
  void moveInList(int tag, bool down);
  CommFields fieldTexts() const;
  void close();
  // The device table.
  void showDevices();
  void pollDevices();
  void showPortOfField();
  // F5: the choice of a present device for the port in the port field.
  void chooseDevice();
  bool choiceKey(QKeyEvent* event);
  void mapChosenDevice();
  void closeChoice();

  host::Host& host_;
  serial::PortOpener& ports_;
  QGroupBox* GroupBox1;
  QLabel* speedLabel_;
  QLabel* portLabel_;
  QLabel* Label14;
  DropDownField* lists_[2];
  QLineEdit* fields_[6]; // in tag order: ComboBox1, ComboBox2, Edit4, Edit6, Edit9, Edit8
  PortDeviceSource devices_;
  QWidget* devicesBox_;
  QTreeWidget* deviceTable_;
  QListWidget* choice_;
  QLabel* serverLineNote_;
  QTimer* devicePoll_;
  std::string byIdSeen_;
  std::vector<platform::SerialDeviceInfo> present_;
  std::vector<platform::SerialDeviceInfo> choices_;
  int choicePort_ = 0;
};

} // namespace kestrovan::core
