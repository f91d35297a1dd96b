#pragma once
// Byte strings written as numbers, for comparing what went over the line.

#include <initializer_list>
#include <string>

namespace kestrovan::test {

inline std::string bytes(std::initializer_list<int> list) {
  std::string out;
  for (int b : list)
    out += static_cast<char>(b);
  return out;
}

} // namespace kestrovan::test
