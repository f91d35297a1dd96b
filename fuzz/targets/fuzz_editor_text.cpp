// The editor's CP932 round trip: bytes the editor says come back unchanged
// do come back unchanged (line ends aside); encoding never fails on what
// decoding gave when replacement is allowed; any UTF-8 encodes or names the
// first character it cannot hold.

#include "FuzzSupport.h"
#include "editor/ProgramText.h"

#include <cstdint>
#include <string>
#include <string_view>

using namespace kestrovan;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::string_view bytes = input.substr(0, input.find('\0'));
  const editor::DecodedText decoded = editor::decodeProgramText(bytes);
  const editor::EncodedText encoded = editor::encodeProgramText(decoded.text, true);
  fuzz::check(encoded.ok, "decoded text cannot be written back", bytes);
  if (decoded.alteration == editor::Alteration::None) {
    std::string crlf;
    const std::string unified = editor::unifyLineEnds(bytes);
    for (char c : unified)
      c == '\n' ? crlf += "\r\n" : crlf += c;
    fuzz::check(encoded.bytes == crlf, "unchanged text did not come back byte for byte", bytes);
  } else {
    fuzz::check(decoded.alteredLine >= 1, "an alteration without its line", bytes);
  }

  const editor::EncodedText strict = editor::encodeProgramText(input, false);
  if (!strict.ok)
    fuzz::check(strict.unencodable.line >= 1 && strict.unencodable.column >= 1,
                "a refusal without its place");
  return 0;
}
