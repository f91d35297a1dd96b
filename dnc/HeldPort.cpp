#include "dnc/HeldPort.h"

#include "serial/Line.h"
#include "serial/LineSettings.h"
#include "serial/NcCode.h"

#include <cerrno>
#include <cstring>

namespace kestrovan::dnc {

using platform::PortStatus;

class HeldPort::Stand : public platform::SerialPort {
public:
  explicit Stand(HeldPort& held) : held_(held) {}
  PortStatus configure(const platform::LineConfig& c) override { return port().configure(c); }
  PortStatus setTimeouts(const platform::Timeouts& t) override { return port().setTimeouts(t); }
  PortStatus setBufferSizes(int in, int out) override { return port().setBufferSizes(in, out); }
  PortStatus purge() override { return PortStatus::Ok; }
  PortStatus raiseDtr() override { return port().raiseDtr(); }
  PortStatus raiseRts() override { return port().raiseRts(); }
  platform::ModemStatus modemLines() override { return port().modemLines(); }
  platform::QueueLength outputQueueLength() override { return port().outputQueueLength(); }
  platform::QueueLength inputQueueLength() override {
    platform::QueueLength q = port().inputQueueLength();
    if (held_.pending_ && q.status == PortStatus::Ok) ++q.bytes;
    return q;
  }
  platform::ReadResult readByte() override {
    if (held_.pending_) {
      platform::ReadResult r{platform::ReadStatus::Byte, *held_.pending_};
      held_.pending_.reset();
      return r;
    }
    return port().readByte();
  }
  platform::WriteStatus writeByte(unsigned char b) override { return port().writeByte(b); }

private:
  platform::SerialPort& port() { return *held_.port_; }
  HeldPort& held_;
};

int HeldPort::hold(const std::string& device, const std::string& speed, bool dc3x93) {
  release();
  platform::SerialPortOpen opened = platform::openSerialPort(device);
  if (!opened.port) return opened.error != 0 ? opened.error : EIO;
  const serial::LineSettingsParse parsed = serial::parseLineSettings(speed);
  if (!parsed.settings) return EINVAL;
  platform::LineConfig config;
  config.speed = parsed.settings->speed;
  config.dataBits = parsed.settings->dataBits;
  config.parity = parsed.settings->parity;
  config.stopBits = parsed.settings->stopBits;
  config.direction = platform::LineDirection::Receive;
  config.xoffChar = dc3x93 ? serial::kDc3Iso : serial::kDc3;
  if (opened.port->configure(config) != PortStatus::Ok) return EINVAL;
  // What waited on the line from before the service held it is nobody's.
  opened.port->purge();
  port_ = std::move(opened.port);
  pending_.reset();
  return 0;
}

void HeldPort::release() {
  port_.reset();
  pending_.reset();
}

platform::ReadResult HeldPort::readIdle() {
  if (!port_) return {platform::ReadStatus::Failed, 0};
  if (pending_) return {platform::ReadStatus::Byte, *pending_};
  port_->setTimeouts({serial::kWaitSliceMs, serial::kWaitSliceMs});
  return port_->readByte();
}

platform::SerialPortOpen HeldPort::open(int) {
  platform::SerialPortOpen opened;
  if (port_)
    opened.port = std::make_unique<Stand>(*this);
  else
    opened.error = ENODEV;
  return opened;
}

std::string openErrorText(int error) {
  switch (error) {
  case EINVAL: return "the line settings were refused";
  case ENOENT:
  case ENODEV:
  case ENXIO: return "no such device";
  case EBUSY: return "in use by another program";
  case EACCES:
  case EPERM: return "no permission (the service's user must be in the dialout group)";
  default: return std::strerror(error);
  }
}

} // namespace kestrovan::dnc
