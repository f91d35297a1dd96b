#pragma once
// The serial line as the transfer logic needs it: line configuration, time-outs,
// purge, queue lengths, modem lines, DTR/RTS, and one byte in or out. The logic
// works on the abstract SerialPort, so tests can stand in for a device; the OS
// backend (SerialPort_posix.cpp, room for SerialPort_win32.cpp) opens real ones.
//
// Every operation says what it came to. "Unsupported" means the device has no
// such thing (a pseudo-terminal has no modem lines, POSIX has no driver buffer
// sizes) and is not an error; "Failed" means the device refused or broke.

#include <memory>
#include <string>

namespace kestrovan::platform {

enum class PortStatus { Ok, Unsupported, Failed };

enum class Parity { None, Even, Odd };
enum class StopBits { One, OneAndHalf, Two };

// A send holds back nothing; a receive lets the NC be held off when the input
// backs up. What each direction changes is listed in the backend.
enum class LineDirection { Send, Receive };

struct LineConfig {
  int speed = 4800;
  int dataBits = 8;
  Parity parity = Parity::None;
  StopBits stopBits = StopBits::Two;
  LineDirection direction = LineDirection::Send;
  unsigned char xonChar = 0x11;  // DC1
  unsigned char xoffChar = 0x13; // DC3, or 0x93 (DC3 with its ISO parity bit)
};

inline constexpr int kWaitForever = -1;

struct Timeouts {
  int readTotalMs = 0;             // a read gives up when no byte came in this time
  int writeTotalMs = kWaitForever; // a write fails when the byte cannot go out in this time
};

struct ModemLines {
  bool dsr = false;
  bool cts = false;
  bool carrier = false;
};

// When the device has no modem lines (status Unsupported) the lines read as a
// cable with everything on, so that a pseudo-terminal behaves like a wired NC.
struct ModemStatus {
  PortStatus status = PortStatus::Failed;
  ModemLines lines;
};

struct QueueLength {
  PortStatus status = PortStatus::Failed;
  int bytes = 0;
};

// Failed: the device hung up, vanished or broke (a pulled cable, an unplugged
// adapter, the far end of a pseudo-terminal gone). It does not come back
// within this opening: every later read or write fails too.
enum class ReadStatus { Byte, TimedOut, Failed };
struct ReadResult {
  ReadStatus status = ReadStatus::TimedOut;
  unsigned char byte = 0;
};

// TimedOut: the driver took nothing within the write time-out (the far end
// holds the line); Failed as for reads.
enum class WriteStatus { Written, TimedOut, Failed };

// A port that needs time after opening or configuring (a network connection
// being made, a device server acknowledging the line settings) says so until
// it is ready; a device is ready at once. Failed carries the errno.
enum class SettleStatus { Ready, Waiting, Failed };
struct Settle {
  SettleStatus status = SettleStatus::Ready;
  int error = 0;
};

class SerialPort {
public:
  virtual ~SerialPort() = default;

  virtual PortStatus configure(const LineConfig& config) = 0;
  virtual PortStatus setTimeouts(const Timeouts& timeouts) = 0;
  virtual PortStatus setBufferSizes(int inputBytes, int outputBytes) = 0;
  // Drops everything waiting in either direction.
  virtual PortStatus purge() = 0;
  virtual PortStatus raiseDtr() = 0;
  virtual PortStatus raiseRts() = 0;
  virtual ModemStatus modemLines() = 0;
  virtual QueueLength outputQueueLength() = 0; // bytes written but not yet sent
  virtual QueueLength inputQueueLength() = 0;  // bytes received but not yet read
  // One byte within the read time-out. NUL bytes are discarded on the way in.
  virtual ReadResult readByte() = 0;
  // Written when the byte was handed to the driver within the write time-out.
  virtual WriteStatus writeByte(unsigned char byte) = 0;
  // Waits at most `waitMs` for the port to become ready; the caller asks
  // again, a slice at a time, and decides how long is too long.
  virtual Settle settle(int /*waitMs*/) { return {}; }
  // False when the port cannot know its modem lines at all (a raw network
  // connection): the lamps say "unknown" rather than on or off.
  virtual bool modemLinesKnown() const { return true; }
};

struct SerialPortOpen {
  std::unique_ptr<SerialPort> port;
  int error = 0; // errno when port is empty (EBUSY: held by another program)
};

// Opens a device exclusively for reading and writing; closing (destroying the
// port) puts the device's original settings back. A network address
// (platform/NetworkPort.h) starts a connection instead, without waiting for
// it: settle() tells when it is made.
SerialPortOpen openSerialPort(const std::string& device);

struct NetworkAddress;
// The network backend (SerialPort_net.cpp).
SerialPortOpen openNetworkPort(const NetworkAddress& address);

} // namespace kestrovan::platform
