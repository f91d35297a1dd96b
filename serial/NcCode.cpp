#include "serial/NcCode.h"

#include <bit>

namespace kestrovan::serial {
namespace {

struct EiaCode {
  char c;
  unsigned char code;
};

// RS-244, one row per character that has a code. The table is read both ways;
// ":" is only ever sent (as the code of "O"), so it comes after "O".
constexpr EiaCode kEia[] = {
    {'0', 0x20},    {'1', 0x01},    {'2', 0x02},    {'3', 0x13}, {'4', 0x04}, {'5', 0x15},  {'6', 0x16},
    {'7', 0x07},    {'8', 0x08},    {'9', 0x19},    {'A', 0x61}, {'B', 0x62}, {'C', 0x73},  {'D', 0x64},
    {'E', 0x75},    {'F', 0x76},    {'G', 0x67},    {'H', 0x68}, {'I', 0x79}, {'J', 0x51},  {'K', 0x52},
    {'L', 0x43},    {'M', 0x54},    {'N', 0x45},    {'O', 0x46}, {'P', 0x57}, {'Q', 0x58},  {'R', 0x49},
    {'S', 0x32},    {'T', 0x23},    {'U', 0x34},    {'V', 0x25}, {'W', 0x26}, {'X', 0x37},  {'Y', 0x38},
    {'Z', 0x29},    {':', 0x46},    {'%', 0x0B},    {'(', 0x1A}, {')', 0x4A}, {'+', 0x70},  {'-', 0x40},
    {'/', 0x31},    {'.', 0x6B},    {'&', 0x0E},    {',', 0x3B}, {' ', 0x10}, {'\n', 0x80}, {'\x11', 0x11},
    {'\x12', 0x12}, {'\x13', 0x13}, {'\x14', 0x14},
};

} // namespace

CodeFlags receiveCodeFlags(int rCode) {
  switch (rCode) {
  case 1: return {true, false};
  case 2: return {false, true};
  case 3: return {true, true};
  default: return {};
  }
}

CodeFlags sendCodeFlags(int dataBits, const std::string& code) {
  if (dataBits != 8) return {true, true};
  if (code == "Y") return {false, true};
  if (code == "N") return {true, false};
  return {};
}

int bitCount(unsigned char byte) { return std::popcount(byte); }

unsigned char isoEncode(unsigned char c) {
  if (c >= 0x80) return c;
  return bitCount(c) % 2 == 1 ? static_cast<unsigned char>(c | 0x80) : c;
}

unsigned char isoDecode(unsigned char byte) { return byte & 0x7F; }

std::optional<unsigned char> eiaEncode(unsigned char c) {
  for (const EiaCode& row : kEia)
    if (static_cast<unsigned char>(row.c) == c) return row.code;
  return std::nullopt;
}

unsigned char eiaDecode(unsigned char byte) {
  // The first row with the code wins: 0x46 is "O" (not ":"), 0x13 is "3".
  for (const EiaCode& row : kEia)
    if (row.code == byte) return static_cast<unsigned char>(row.c);
  return 0;
}

unsigned char decodeReceived(unsigned char byte, CodeFlags& flags) {
  if (!flags.iso && !flags.eia) {
    // Every EIA code has an odd number of holes, every ISO byte with its
    // parity bit an even one.
    if (bitCount(byte) % 2 == 1)
      flags.eia = true;
    else
      flags.iso = true;
  }
  if (flags.iso && flags.eia) return byte;
  if (flags.iso) return isoDecode(byte);
  return eiaDecode(byte);
}

std::string startCharacters(const std::string& startChar, int startCharType) {
  if (startChar != "Y") return "\n";
  switch (startCharType) {
  case 1: return "%\n";
  case 2: return "%%\n";
  case 3: return "% *\n";
  case 4: return "%";
  case 5: return "%%";
  default: return "";
  }
}

std::string endCharacters(const std::string& endChar, int endCharType) {
  if (endChar != "Y") return std::string(1, static_cast<char>(kDc4));
  switch (endCharType) {
  case 1: return "\n%";
  case 2: return "\n%%";
  case 3: return "\n%\n";
  case 4: return "\n%%\n";
  default: return "";
  }
}

} // namespace kestrovan::serial
