// The network serial codec: the stream from the device server, split
// anywhere, decodes the same; data escaped by the client decodes back to
// itself; answers and messages are whole telnet commands.
//
// Input: one byte choosing the split, then the stream.

#include "FuzzSupport.h"
#include "platform/Telnet.h"

#include <cstdint>
#include <string>
#include <string_view>

using namespace kestrovan::platform;
namespace fuzz = kestrovan::fuzz;

namespace {

struct Decoded {
  std::string data, answers;
  std::vector<telnet::ComPortMessage> messages;
};

Decoded decode(std::string_view stream, size_t chunk) {
  telnet::Client client;
  (void)client.opening();
  Decoded d;
  for (size_t at = 0; at < stream.size(); at += chunk) {
    client.feed(stream.substr(at, chunk), d.data, d.answers);
    for (auto& m : client.takeMessages())
      d.messages.push_back(std::move(m));
  }
  return d;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const std::string_view stream(reinterpret_cast<const char*>(data + 1), size - 1);
  const Decoded whole = decode(stream, stream.size() + 1);
  const Decoded split = decode(stream, 1 + data[0] % 7);
  fuzz::check(whole.data == split.data && whole.answers == split.answers &&
                  whole.messages.size() == split.messages.size(),
              "the stream decodes differently when split", stream);
  fuzz::check(whole.data.size() <= stream.size(), "more data than bytes");

  // Plain bytes escaped as the client sends them come back unchanged.
  std::string wire;
  telnet::appendEscaped(wire, stream);
  const Decoded plain = decode(wire, 1 + data[0] % 5);
  fuzz::check(plain.data == stream && plain.answers.empty() && plain.messages.empty(),
              "escaped data does not decode to itself", stream);

  const std::string request = telnet::comPortRequest(data[0], stream.substr(0, 8));
  fuzz::check(request.size() >= 6 && request.ends_with(std::string("\xff\xf0", 2)),
              "a request is not framed");
  return 0;
}
