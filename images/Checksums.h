#pragma once
// Byte sums, the 16-bit shift-xor check and the two CRC-32 routines. Ranges are inclusive
// index pairs [first, last]; a range is clamped to the buffer, so no call reads outside it.
#include <array>
#include <cstddef>
#include <span>

#include "images/ChipModel.h"
#include "base/Types.h"

namespace qx {

// 32-bit byte sum of [first, last]; 0 when first or last is above 0xFFFFFF or last < first.
u32 CalcAcc32(std::span<const u8> buffer, u32 first, u32 last);
// One byte of the shift-xor check: for loops that check bytes while doing other work.
constexpr u16 Check16Step(u16 check, u8 b) {
  const u16 m = static_cast<u16>(-(check & 1) & 0x4A12);
  return static_cast<u16>((check >> 1) ^ b ^ m);
}

namespace detail {
// The check's shift is linear: k shifts of a byte are one lookup in Shifted[k], and eight
// shifts of a check are its high byte moved down, xor the lookup of its low byte.
struct Check16Tables {
  std::array<std::array<u16, 256>, 9> Shifted{};
};
constexpr Check16Tables MakeCheck16Tables() {
  Check16Tables t;
  for (unsigned b = 0; b < 256; ++b) {
    u16 h = static_cast<u16>(b);
    for (std::size_t k = 0; k < t.Shifted.size(); ++k) {
      t.Shifted[k][b] = h;
      h = Check16Step(h, 0);
    }
  }
  return t;
}
inline constexpr Check16Tables Check16Table = MakeCheck16Tables();
}  // namespace detail

// Eight bytes of the check at once: the same as eight Check16Step calls.
inline u16 Check16Step8(u16 check, const u8* b) {
  const auto& t = detail::Check16Table.Shifted;
  return static_cast<u16>((check >> 8) ^ t[8][check & 0xFF] ^ t[7][b[0]] ^ t[6][b[1]] ^ t[5][b[2]] ^ t[4][b[3]] ^
                          t[3][b[4]] ^ t[2][b[5]] ^ t[1][b[6]] ^ b[7]);
}
// Shift-xor check (0x4A12) of [first, last]; same range rule as CalcAcc32.
u16 CalcCheck16(std::span<const u8> buffer, u32 first, u32 last);
// Shift-xor check of all bytes (the packet check).
u16 CalcCheck16(std::span<const u8> bytes);
// The check continued over bytes from the check of what came before them: a range's check
// is that of its pieces chained in order, starting from 0.
u16 ContinueCheck16(u16 check, std::span<const u8> bytes);

// The low bits of value in reverse order.
u32 ReflectBits(u32 value, u8 bits);
// Entry b of the MSB-first CRC table of poly.
u32 Crc32ByteStep(u8 b, u32 poly);

// CRC-32 with user parameters, bit by bit; Flags bit0 reflects input bytes, bit2 the result.
u32 CalcCrc32Param(std::span<const u8> buffer, const Crc32Params& params, u32 first, u32 last);
// Standard CRC-32 (ISO-HDLC, as zlib) of [first, last] and of all bytes.
u32 CalcCrc32(std::span<const u8> buffer, u32 first, u32 last);
u32 CalcCrc32(std::span<const u8> bytes);

// Two hex characters to a byte; not validated (a non-hex character yields some value).
u8 HexPairToByte(char high, char low);

}  // namespace qx
