#pragma once
// Table form of HexPairToByte for the line parsers: the same lenient digit rule, one
// lookup per character.
#include <array>
#include <string_view>

#include "base/Types.h"

namespace qx {

namespace detail {
constexpr std::array<u8, 256> MakeHexDigitTable() {
  std::array<u8, 256> t{};
  for (int c = 0; c < 256; ++c) {
    int d;
    if (c >= 'A' && c <= 'Z') {
      d = c - 55;
    } else if (c >= 'a' && c <= 'z') {
      d = c - 87;
    } else {
      d = c - 48;
    }
    t[static_cast<std::size_t>(c)] = static_cast<u8>(d & 0xFF);
  }
  return t;
}
inline constexpr std::array<u8, 256> HexDigitTable = MakeHexDigitTable();
}  // namespace detail

// Byte of the two characters at p[0], p[1]; the caller has checked they exist.
inline u8 HexPairAt(const char* p) {
  const auto hi = detail::HexDigitTable[static_cast<unsigned char>(p[0])];
  const auto lo = detail::HexDigitTable[static_cast<unsigned char>(p[1])];
  return static_cast<u8>((hi << 4) + lo);
}

// Upper-case hex digits appended to out.
inline void AppendHexByte(std::string& out, u8 b) {
  constexpr std::string_view digits = "0123456789ABCDEF";
  out.push_back(digits[b >> 4]);
  out.push_back(digits[b & 0x0F]);
}

}  // namespace qx
