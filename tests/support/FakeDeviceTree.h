#pragma once
// A folder of the shape of the system's device records: dev/serial/by-id
// links and sys/class/tty entries whose device links lead into sys/devices,
// where USB adapters carry their ids and product text as the kernel lays
// them out. Adapters can be plugged in and pulled while a test runs.

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace kestrovan::test {

class FakeDeviceTree {
public:
  const std::string& root() const { return dir_.path(); }

  struct Usb {
    std::string byId;   // "usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0"
    std::string kernel; // "ttyUSB0"
    std::string vendorId, productId, product, driver;
  };

  // Returns the by-id path that [Ports] would name.
  std::string plug(const Usb& usb) {
    const std::string usbDevice = "sys/devices/pci0000:00/usb1/1-" + usb.kernel;
    const std::string port = usbDevice + "/1-1:1.0/" + usb.kernel;
    makeFolders(port);
    writeFile(dir_.file(usbDevice + "/idVendor"), usb.vendorId + "\n");
    writeFile(dir_.file(usbDevice + "/idProduct"), usb.productId + "\n");
    if (!usb.product.empty()) writeFile(dir_.file(usbDevice + "/product"), usb.product + "\n");
    makeFolders("sys/bus/usb-serial/drivers/" + usb.driver);
    link(dir_.file("sys/bus/usb-serial/drivers/" + usb.driver), port + "/driver");
    makeFolders("sys/class/tty/" + usb.kernel);
    link("../../../devices/pci0000:00/usb1/1-" + usb.kernel + "/1-1:1.0/" + usb.kernel,
         "sys/class/tty/" + usb.kernel + "/device");
    makeFolders("dev/serial/by-id");
    link("../../" + usb.kernel, "dev/serial/by-id/" + usb.byId);
    return dir_.file("dev/serial/by-id/" + usb.byId);
  }

  // As the kernel does when the adapter is pulled: the link and the terminal go.
  void pull(const Usb& usb) {
    EXPECT_EQ(unlink(dir_.file("dev/serial/by-id/" + usb.byId).c_str()), 0);
    EXPECT_EQ(unlink(dir_.file("sys/class/tty/" + usb.kernel + "/device").c_str()), 0);
    EXPECT_EQ(rmdir(dir_.file("sys/class/tty/" + usb.kernel).c_str()), 0);
  }

  // An on-board port; type 4 is a 16550A, 0 a slot without a UART.
  void uart(const std::string& kernel, int type) {
    const std::string device = "sys/devices/platform/serial8250/tty/" + kernel;
    makeFolders(device);
    makeFolders("sys/class/tty/" + kernel);
    link("../../../devices/platform/serial8250/tty/" + kernel, "sys/class/tty/" + kernel + "/device");
    writeFile(dir_.file("sys/class/tty/" + kernel + "/type"), std::to_string(type) + "\n");
  }

  // A virtual console: a terminal without a device.
  void console(const std::string& kernel) { makeFolders("sys/class/tty/" + kernel); }

private:
  void makeFolders(const std::string& relative) {
    std::string path = dir_.path();
    std::size_t start = 0;
    while (start <= relative.size()) {
      const std::size_t end = relative.find('/', start);
      path += "/" + relative.substr(start, end == std::string::npos ? std::string::npos : end - start);
      mkdir(path.c_str(), 0755);
      if (end == std::string::npos) break;
      start = end + 1;
    }
  }
  void link(const std::string& target, const std::string& relative) {
    unlink(dir_.file(relative).c_str()); // plugged in again: the same place
    ASSERT_EQ(symlink(target.c_str(), dir_.file(relative).c_str()), 0) << relative;
  }

  TempDir dir_;
};

inline const FakeDeviceTree::Usb kFtdi{
    "usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0", "ttyUSB0", "0403", "6001", "FT232R USB UART", "ftdi_sio"};
inline const FakeDeviceTree::Usb kProlific{"usb-Prolific_Technology_Inc._USB-Serial_Controller-if00-port0",
                                           "ttyUSB1",
                                           "067b",
                                           "2303",
                                           "USB-Serial Controller",
                                           "pl2303"};
inline const FakeDeviceTree::Usb kCh340{
    "usb-1a86_USB_Serial-if00-port0", "ttyUSB2", "1a86", "7523", "USB Serial", "ch341-uart"};
inline const FakeDeviceTree::Usb kCp210x{
    "usb-Silicon_Labs_CP2102_USB_to_UART_Bridge_Controller_0001-if00-port0",
    "ttyUSB3",
    "10c4",
    "ea60",
    "CP2102 USB to UART Bridge Controller",
    "cp210x"};

} // namespace kestrovan::test
