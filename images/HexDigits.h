#pragma once
// Table form of HexPairToByte for the line parsers: the same lenient digit rule, one
// lookup per character.
#include <array>
#include <cstddef>
#include <string>
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

// The two upper-case digits of every byte, side by side.
constexpr std::array<char, 512> MakeHexPairTable() {
  constexpr std::string_view digits = "0123456789ABCDEF";
  std::array<char, 512> t{};
  for (std::size_t b = 0; b < 256; ++b) {
    t[2 * b] = digits[b >> 4];
    t[2 * b + 1] = digits[b & 0x0F];
  }
  return t;
}
inline constexpr std::array<char, 512> HexPairTable = MakeHexPairTable();
}  // namespace detail

// Byte of the two characters at p[0], p[1]; the caller has checked they exist.
inline u8 HexPairAt(const char* p) {
  const auto hi = detail::HexDigitTable[static_cast<unsigned char>(p[0])];
  const auto lo = detail::HexDigitTable[static_cast<unsigned char>(p[1])];
  return static_cast<u8>((hi << 4) + lo);
}

// The two upper-case hex digits of b written at out; returns where the next goes.
inline char* PutHexByte(char* out, u8 b) {
  out[0] = detail::HexPairTable[2u * b];
  out[1] = detail::HexPairTable[2u * b + 1];
  return out + 2;
}

// Upper-case hex digits appended to out.
inline void AppendHexByte(std::string& out, u8 b) {
  std::array<char, 2> two{};
  PutHexByte(two.data(), b);
  out.append(two.data(), two.size());
}

}  // namespace qx
