#include "platform/NetworkPort.h"

#include "platform/Text.h"

namespace kestrovan::platform {
namespace {

constexpr std::string_view kRfc2217 = "RFC2217://";
constexpr std::string_view kTcp = "TCP://";

bool startsWithFolded(std::string_view text, std::string_view upperPrefix) {
  return text.size() >= upperPrefix.size() && asciiUpper(text.substr(0, upperPrefix.size())) == upperPrefix;
}

} // namespace

bool looksLikeNetworkPort(std::string_view device) {
  return startsWithFolded(device, kRfc2217) || startsWithFolded(device, kTcp);
}

std::optional<NetworkAddress> parseNetworkPort(std::string_view device) {
  NetworkAddress address;
  std::string_view rest;
  if (startsWithFolded(device, kRfc2217)) {
    address.protocol = NetworkProtocol::Rfc2217;
    rest = device.substr(kRfc2217.size());
  } else if (startsWithFolded(device, kTcp)) {
    address.protocol = NetworkProtocol::RawTcp;
    rest = device.substr(kTcp.size());
  } else {
    return std::nullopt;
  }
  if (!rest.empty() && rest.back() == '/') rest.remove_suffix(1);

  std::string_view host;
  std::string_view port;
  if (!rest.empty() && rest.front() == '[') {
    const auto close = rest.find(']');
    if (close == std::string_view::npos || close + 1 >= rest.size() || rest[close + 1] != ':')
      return std::nullopt;
    host = rest.substr(1, close - 1);
    port = rest.substr(close + 2);
  } else {
    const auto colon = rest.rfind(':');
    if (colon == std::string_view::npos) return std::nullopt;
    host = rest.substr(0, colon);
    port = rest.substr(colon + 1);
    if (host.find(':') != std::string_view::npos) return std::nullopt; // IPv6 needs brackets
  }
  if (host.empty() || port.empty() || port.size() > 5) return std::nullopt;
  for (char c : host)
    if (static_cast<unsigned char>(c) <= ' ' || c == '/' || c == '@') return std::nullopt;
  int number = 0;
  for (char c : port) {
    if (c < '0' || c > '9') return std::nullopt;
    number = number * 10 + (c - '0');
  }
  if (number < 1 || number > 65535) return std::nullopt;
  address.host = std::string(host);
  address.port = number;
  return address;
}

std::string hostAndPort(const NetworkAddress& address) {
  const bool v6 = address.host.find(':') != std::string::npos;
  return (v6 ? "[" + address.host + "]" : address.host) + ":" + std::to_string(address.port);
}

} // namespace kestrovan::platform
