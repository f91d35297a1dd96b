// The devices found in a folder of the shape of the system's device records:
// what each is, under which name it is offered, and what a port's mapping
// leads to once an adapter is pulled.
#include "platform/SerialDevices.h"
#include "support/FakeDeviceTree.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

using namespace kestrovan;
using platform::DeviceKind;
using platform::UsbChip;

TEST(SerialDevices, AdaptersByTheirIdsOrDriverThenOnBoardUartsConsolesAndEmptySlotsLeftOut) {
  test::FakeDeviceTree tree;
  tree.plug(test::kProlific);
  tree.plug(test::kFtdi);
  tree.plug(test::kCh340);
  tree.plug(test::kCp210x);
  // An adapter of a maker whose ids are not known ones: its driver tells.
  tree.plug({"usb-Clone_Serial-if00-port0", "ttyUSB4", "abcd", "0001", "", "cp210x"});
  tree.uart("ttyS1", 0); // a slot the kernel keeps without a UART
  tree.uart("ttyS0", 4);
  tree.console("tty1");

  const auto found = platform::presentSerialDevices(tree.root());
  std::vector<std::string> rows;
  for (const platform::SerialDeviceInfo& d : found)
    rows.push_back(d.path.substr(tree.root().size()) + " " + d.kernelName + " " + usbChipName(d.chip) + " " +
                   d.vendorId + ":" + d.productId + " " + d.product);
  EXPECT_EQ(rows,
            (std::vector<std::string>{
                "/dev/serial/by-id/usb-1a86_USB_Serial-if00-port0 ttyUSB2 CH340 1a86:7523 USB Serial",
                "/dev/serial/by-id/usb-Clone_Serial-if00-port0 ttyUSB4 CP210x abcd:0001 ",
                "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0 ttyUSB0 FTDI 0403:6001 "
                "FT232R USB UART",
                "/dev/serial/by-id/usb-Prolific_Technology_Inc._USB-Serial_Controller-if00-port0 ttyUSB1 "
                "Prolific 067b:2303 USB-Serial Controller",
                "/dev/serial/by-id/usb-Silicon_Labs_CP2102_USB_to_UART_Bridge_Controller_0001-if00-port0 "
                "ttyUSB3 CP210x 10c4:ea60 CP2102 USB to UART Bridge Controller",
                "/dev/ttyS0 ttyS0  : 16550A",
            }));
  for (std::size_t i = 0; i < 5; ++i)
    EXPECT_EQ(found[i].kind, DeviceKind::UsbAdapter) << i;
  EXPECT_EQ(found[5].kind, DeviceKind::OnBoardUart);
}

TEST(SerialDevices, APortMappedToAnAdapterIsAbsentOnceItIsPulledAndPresentAgainWhenPluggedBack) {
  test::FakeDeviceTree tree;
  tree.uart("ttyS0", 4);
  const std::string ftdi = tree.plug(test::kFtdi);
  const std::string before = platform::byIdSignature(tree.root());

  auto state = platform::portDeviceState(ftdi, platform::presentSerialDevices(tree.root()), tree.root());
  ASSERT_TRUE(state.present);
  EXPECT_EQ(state.info->chip, UsbChip::Ftdi);
  // The kernel node of the same adapter is the same device.
  state = platform::portDeviceState(tree.root() + "/dev/ttyUSB0", platform::presentSerialDevices(tree.root()),
                                    tree.root());
  EXPECT_TRUE(state.present);
  EXPECT_EQ(state.info->path, ftdi);

  tree.pull(test::kFtdi);
  EXPECT_NE(platform::byIdSignature(tree.root()), before);
  state = platform::portDeviceState(ftdi, platform::presentSerialDevices(tree.root()), tree.root());
  EXPECT_FALSE(state.present);
  EXPECT_FALSE(state.info);
  EXPECT_EQ(state.device, ftdi);

  tree.plug(test::kFtdi);
  EXPECT_EQ(platform::byIdSignature(tree.root()), before);
  EXPECT_TRUE(
      platform::portDeviceState(ftdi, platform::presentSerialDevices(tree.root()), tree.root()).present);
  // Nothing, or a name of nothing, is absent.
  EXPECT_FALSE(platform::portDeviceState("", {}, tree.root()).present);
  EXPECT_FALSE(platform::portDeviceState(tree.root() + "/dev/ttyUSB7", {}, tree.root()).present);
}

TEST(SerialDevices, NetworkPortsShowTheirAddressRawTcpKeepsTheServersLineSettingsAPseudoTerminalIsPresent) {
  auto tcp = platform::portDeviceState("tcp://nport-3.shop:4001", {}, "/");
  ASSERT_TRUE(tcp.present);
  EXPECT_EQ(tcp.info->kind, DeviceKind::Network);
  EXPECT_EQ(tcp.info->product, "nport-3.shop:4001");
  EXPECT_TRUE(tcp.lineSettingsOnServer);

  auto rfc = platform::portDeviceState("rfc2217://[::1]:2000", {}, "/");
  ASSERT_TRUE(rfc.present);
  EXPECT_EQ(rfc.info->product, "[::1]:2000");
  EXPECT_FALSE(rfc.lineSettingsOnServer);

  EXPECT_FALSE(platform::portDeviceState("tcp://no-port", {}, "/").present);

  const int master = posix_openpt(O_RDWR | O_NOCTTY);
  ASSERT_GE(master, 0);
  ASSERT_EQ(grantpt(master), 0);
  ASSERT_EQ(unlockpt(master), 0);
  auto pty = platform::portDeviceState(ptsname(master), {}, "/");
  EXPECT_TRUE(pty.present);
  ASSERT_TRUE(pty.info);
  EXPECT_EQ(pty.info->kind, DeviceKind::PseudoTerminal);
  close(master);
}
