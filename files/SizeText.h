#pragma once
// A byte count as the operator reads it: bytes below 1 KB, else KB or MB
// with three decimals ("512ﾊﾞｲﾄ", "1.500KB", "117.738MB").

#include <cstdint>
#include <string>

namespace kestrovan::files {

std::string sizeText(std::uint64_t bytes);

// bytes / unit with three decimals, halves rounded up, then `suffix`
// (1536, 1024, "KB" -> "1.500KB").
std::string scaledSize(std::uint64_t bytes, std::uint64_t unit, const char* suffix);

} // namespace kestrovan::files
