#pragma once
// The two paper-tape codes NC machines speak on the line, and the characters
// that frame a program.
//
// ISO: seven-bit characters with even parity in bit 7. EIA (RS-244): odd parity
// in bit 4, its own table. Control characters DC1 to DC4 are the same bytes in
// both, except that 0x13 is also EIA's digit "3".

#include <optional>
#include <string>

namespace kestrovan::serial {

inline constexpr unsigned char kDc1 = 0x11; // the NC is ready
inline constexpr unsigned char kDc2 = 0x12;
inline constexpr unsigned char kDc3 = 0x13;    // the NC asks for a pause
inline constexpr unsigned char kDc3Iso = 0x93; // DC3 with its ISO parity bit
inline constexpr unsigned char kDc4 = 0x14;    // end of data

// How received bytes are read. Both flags off: not known yet, the next
// significant byte decides. Both on: ASCII, bytes as they come.
struct CodeFlags {
  bool iso = false;
  bool eia = false;
  bool operator==(const CodeFlags&) const = default;
};

// The flags a receive starts with, from R_Code: 0 detect, 1 ISO, 2 EIA,
// 3 ASCII; any other value detects.
CodeFlags receiveCodeFlags(int rCode);
// The flags a send reads the NC's control characters with: with 8 data bits
// EIA for Code "Y", ISO for "N", detection otherwise; with fewer data bits the
// port delivers the characters as they are (ASCII).
CodeFlags sendCodeFlags(int dataBits, const std::string& code);

int bitCount(unsigned char byte);

// ISO out: bit 7 set when the character has an odd number of 1 bits. Bytes
// from 0x80 up are no NC characters and go out unchanged.
unsigned char isoEncode(unsigned char c);
// ISO in: the parity bit removed.
unsigned char isoDecode(unsigned char byte);

// EIA out: the RS-244 code, or nothing for a character EIA cannot express
// (lower case, tab, carriage return, "#", "*", "=" ...). ":" goes out as "O".
std::optional<unsigned char> eiaEncode(unsigned char c);
// EIA in: the character of a code, 0 for a byte that is no EIA code.
unsigned char eiaDecode(unsigned char byte);

// A received byte (not DC1, DC2, DC4, NUL or a DC3) read in the code of the
// flags. With both flags off the byte's bit count first decides the code: odd
// is EIA, even is ISO; the flags keep the decision for the bytes that follow.
unsigned char decodeReceived(unsigned char byte, CodeFlags& flags);

// What a send writes before the first line, by StartChar and StartChar_Type.
std::string startCharacters(const std::string& startChar, int startCharType);
// What a send writes after the last line, by EndChar and EndChar_Type; DC4
// when no end characters are configured.
std::string endCharacters(const std::string& endChar, int endCharType);

} // namespace kestrovan::serial
