#pragma once
// The machine's line, opened once and held for as long as the service runs.
// Each transfer's Line opens it through this opener and gets a stand-in that
// leaves the device open when the transfer closes it, and that does not purge
// it at the transfer's opening: what the controller punches between two
// transfers belongs to the next one. A byte read while idle can be handed
// back, so that the reception it starts sees it first.

#include "platform/SerialPort.h"
#include "serial/PortProbe.h"

#include <memory>
#include <optional>
#include <string>

namespace kestrovan::dnc {

class HeldPort : public serial::PortOpener {
public:
  // Opens `device` and sets the line up as `speed` says: 0, or the errno of
  // a failed open (EINVAL when the line settings were refused).
  int hold(const std::string& device, const std::string& speed, bool dc3x93);
  void release();
  bool holding() const { return port_ != nullptr; }

  // One byte while no transfer runs, waiting at most a slice.
  platform::ReadResult readIdle();
  void handBack(unsigned char byte) { pending_ = byte; }

  bool openAndClose(int) override { return holding(); }
  platform::SerialPortOpen open(int number) override;

private:
  class Stand;
  std::unique_ptr<platform::SerialPort> port_;
  std::optional<unsigned char> pending_;
};

// Why the line is not held, for the machine's state: "no such device" ...
std::string openErrorText(int error);

} // namespace kestrovan::dnc
