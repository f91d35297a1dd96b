#include "platform/Cp932.h"
#include "platform/Text.h"

#include <cerrno>
#include <iconv.h>

namespace kestrovan::platform {
namespace {

// One iconv descriptor per conversion; iconv_t is not shareable between
// threads, so each call opens its own (cheap next to file I/O).
class Converter {
public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (valid()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Converts `in` up to the first sequence it cannot convert, appending to
  // `out`; returns that sequence's offset in `in`, or npos when all of it went.
  size_t runUntilFailure(std::string_view in, std::string& out) {
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    char buffer[4096];
    while (srcLeft > 0) {
      char* dst = buffer;
      size_t dstLeft = sizeof buffer;
      size_t r = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
      out.append(buffer, static_cast<size_t>(dst - buffer));
      if (r == static_cast<size_t>(-1) && errno != E2BIG) return static_cast<size_t>(src - in.data());
    }
    return std::string_view::npos;
  }

  // Converts everything; an invalid or unconvertible input sequence of
  // skipBytes(...) bytes is replaced by `replacement`.
  template <class SkipFn>
  std::string run(std::string_view in, std::string_view replacement, SkipFn skipBytes) {
    std::string out;
    if (!valid()) return std::string(in);
    out.reserve(in.size() * 3 / 2 + 16);
    size_t pos = 0;
    while (pos < in.size()) {
      const size_t failed = runUntilFailure(in.substr(pos), out);
      if (failed == std::string_view::npos) break;
      // EILSEQ or EINVAL: drop the offending sequence and go on.
      pos += failed;
      out.append(replacement);
      pos += skipBytes(reinterpret_cast<const unsigned char*>(in.data() + pos), in.size() - pos);
      iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    }
    return out;
  }

private:
  iconv_t cd_;
};

bool isAscii(std::string_view text) {
  for (unsigned char c : text)
    if (c >= 0x80) return false;
  return true;
}

} // namespace

std::string cp932ToUtf8(std::string_view cp932) {
  if (isAscii(cp932)) return std::string(cp932);
  Converter conv("UTF-8", "CP932");
  return conv.run(cp932, "\xEF\xBF\xBD", [](const unsigned char* p, size_t left) -> size_t {
    // A lead byte takes the next byte with it only when that is a second
    // byte; a line end after a stray lead byte stays a line end.
    return (isCp932LeadByte(p[0]) && left >= 2 && isCp932TrailByte(p[1])) ? 2 : 1;
  });
}

std::string utf8ToCp932(std::string_view utf8) {
  if (isAscii(utf8)) return std::string(utf8);
  Converter conv("CP932", "UTF-8");
  return conv.run(utf8, "?", [](const unsigned char* p, size_t left) -> size_t {
    return utf8CharLength(std::string_view(reinterpret_cast<const char*>(p), left), 0);
  });
}

Cp932Encoding utf8ToCp932Exact(std::string_view utf8) {
  Cp932Encoding result;
  if (isAscii(utf8)) {
    result.bytes = std::string(utf8);
    return result;
  }
  Converter conv("CP932", "UTF-8");
  if (!conv.valid()) {
    result.failedAt = 0;
    return result;
  }
  result.bytes.reserve(utf8.size());
  result.failedAt = conv.runUntilFailure(utf8, result.bytes);
  return result;
}

namespace {
// Width in CP932 bytes of one UTF-8 encoded code point.
size_t codePointWidth(std::string_view utf8, size_t pos, size_t* length) {
  const auto lead = static_cast<unsigned char>(utf8[pos]);
  const size_t n = utf8CharLength(utf8, pos);
  *length = n;
  if (n == 1) return 1;
  if (n == 3) {
    // Half-width katakana U+FF61..U+FF9F is one byte in CP932.
    const unsigned cp = ((lead & 0x0Fu) << 12) | ((static_cast<unsigned char>(utf8[pos + 1]) & 0x3Fu) << 6) |
                        (static_cast<unsigned char>(utf8[pos + 2]) & 0x3Fu);
    if (cp >= 0xFF61 && cp <= 0xFF9F) return 1;
  }
  return 2;
}
} // namespace

size_t cp932Width(std::string_view utf8) {
  size_t width = 0;
  for (size_t pos = 0; pos < utf8.size();) {
    size_t len = 0;
    width += codePointWidth(utf8, pos, &len);
    pos += len;
  }
  return width;
}

std::string cp932Truncate(std::string_view utf8, size_t maxBytes) {
  size_t width = 0;
  size_t pos = 0;
  while (pos < utf8.size()) {
    size_t len = 0;
    size_t w = codePointWidth(utf8, pos, &len);
    if (width + w > maxBytes) break;
    width += w;
    pos += len;
  }
  return std::string(utf8.substr(0, pos));
}

} // namespace kestrovan::platform
