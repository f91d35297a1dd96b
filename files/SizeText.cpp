#include "files/SizeText.h"

#include <cstdio>

namespace kestrovan::files {

// Integer arithmetic, so 1088 bytes is "1.063KB" (a double would print the
// tie 1.0625 as 1.062) and sizes beyond 2^53 lose nothing.
std::string scaledSize(std::uint64_t bytes, std::uint64_t unit, const char* suffix) {
  std::uint64_t whole = bytes / unit;
  std::uint64_t thousandths = ((bytes % unit) * 1000 + unit / 2) / unit;
  if (thousandths == 1000) {
    ++whole;
    thousandths = 0;
  }
  char buffer[48];
  std::snprintf(buffer, sizeof buffer, "%llu.%03llu%s", static_cast<unsigned long long>(whole),
                static_cast<unsigned long long>(thousandths), suffix);
  return buffer;
}

std::string sizeText(std::uint64_t bytes) {
  constexpr std::uint64_t kKilo = 1024;
  constexpr std::uint64_t kMega = 1024 * 1024;
  if (bytes < kKilo) return std::to_string(bytes) + "ﾊﾞｲﾄ";
  if (bytes < kMega) return scaledSize(bytes, kKilo, "KB");
  return scaledSize(bytes, kMega, "MB");
}

} // namespace kestrovan::files
