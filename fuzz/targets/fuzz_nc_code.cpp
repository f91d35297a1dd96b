// The two tape codes: every NC character EIA can carry comes back from its
// code, ISO parity always makes an even byte and comes off again, and code
// detection on any stream settles on one code and keeps it.

#include "FuzzSupport.h"
#include "serial/NcCode.h"

#include <cstdint>
#include <string>

using namespace kestrovan;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  serial::CodeFlags flags = serial::receiveCodeFlags(static_cast<int8_t>(data[0]));
  const serial::CodeFlags start = flags;
  for (size_t i = 1; i < size; ++i) {
    const unsigned char c = data[i];
    if (c < 0x80) {
      const unsigned char iso = serial::isoEncode(c);
      fuzz::check(serial::bitCount(iso) % 2 == 0 && serial::isoDecode(iso) == c,
                  "ISO parity does not come off");
    }
    if (auto eia = serial::eiaEncode(c); eia && c >= 0x20) {
      fuzz::check(serial::bitCount(*eia) % 2 == 1, "an EIA code with even parity");
      const unsigned char back = serial::eiaDecode(*eia);
      fuzz::check(back == c || (c == ':' && back == 'O') || (c >= 'a' && c <= 'z' && back == c - 32),
                  "an EIA code does not come back as its character", std::string(1, static_cast<char>(c)));
    }
    (void)serial::eiaDecode(c);
    const bool decided = flags.iso || flags.eia;
    const serial::CodeFlags before = flags;
    (void)serial::decodeReceived(c, flags);
    if (decided) fuzz::check(flags == before, "a decided code changed");
  }
  if (start.iso || start.eia) fuzz::check(flags == start, "a set code changed");
  const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
  (void)serial::startCharacters(text, data[0] & 3);
  (void)serial::endCharacters(text, (data[0] >> 2) & 3);
  (void)serial::sendCodeFlags(data[0] & 8 ? 8 : 7, text);
  return 0;
}
