#pragma once
// A port that is a network connection rather than a device: a serial device
// server on the shop's network (or ser2net on a Linux box) holds the UART, and
// [Ports] maps the port name to it.
//   rfc2217://HOST:PORT  telnet with COM-PORT-OPTION: the line settings, the
//                        purge, DTR/RTS and the modem lines go to the far UART
//   tcp://HOST:PORT      the bytes as they are; the line settings are the
//                        device server's own
// HOST is a name, an IPv4 address or an IPv6 address in brackets.

#include <optional>
#include <string>
#include <string_view>

namespace kestrovan::platform {

enum class NetworkProtocol { Rfc2217, RawTcp };

struct NetworkAddress {
  NetworkProtocol protocol = NetworkProtocol::RawTcp;
  std::string host; // without the brackets of an IPv6 address
  int port = 0;
};

// The address a port's device names; nothing when it names no network port
// (a device path, or a malformed address).
std::optional<NetworkAddress> parseNetworkPort(std::string_view device);

// Whether the device names a network port at all ("rfc2217://", "tcp://"),
// well formed or not.
bool looksLikeNetworkPort(std::string_view device);

// "HOST:PORT" as the operator wrote it ("[::1]:2000" for IPv6).
std::string hostAndPort(const NetworkAddress& address);

} // namespace kestrovan::platform
