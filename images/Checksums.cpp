#include "images/Checksums.h"

#include <array>

namespace qx {

namespace {

constexpr u32 SumRangeLimit = 0xFFFFFF;

std::span<const u8> SumRange(std::span<const u8> buffer, u32 first, u32 last) {
  if (first > SumRangeLimit || last > SumRangeLimit || last < first) return {};
  return ClampRange(buffer, first, last);
}

u16 Check16(std::span<const u8> bytes, u16 h = 0) {
  std::size_t i = 0;
  for (; i + 8 <= bytes.size(); i += 8) h = Check16Step8(h, bytes.data() + i);
  for (; i < bytes.size(); ++i) h = Check16Step(h, bytes[i]);
  return h;
}

constexpr std::array<u32, 256> MakeMsbTable(u32 poly) {
  std::array<u32, 256> t{};
  for (u32 i = 0; i < 256; ++i) {
    u32 r = i << 24;
    for (int k = 0; k < 8; ++k) r = (r & 0x80000000u) ? (r << 1) ^ poly : r << 1;
    t[i] = r;
  }
  return t;
}

// The reflected form of the standard table: one lookup per byte without reflecting bytes
// or the register, the same value as the MSB-first table with reflections.
constexpr std::array<u32, 256> MakeLsbTable() {
  std::array<u32, 256> t{};
  for (u32 i = 0; i < 256; ++i) {
    u32 r = i;
    for (int k = 0; k < 8; ++k) r = (r & 1) ? (r >> 1) ^ 0xEDB88320u : r >> 1;
    t[i] = r;
  }
  return t;
}

constexpr auto Crc32Table = MakeLsbTable();
static_assert(MakeMsbTable(0x04C11DB7)[1] == 0x04C11DB7);

}  // namespace

u32 CalcAcc32(std::span<const u8> buffer, u32 first, u32 last) {
  u32 sum = 0;
  for (const u8 b : SumRange(buffer, first, last)) sum += b;
  return sum;
}

u16 CalcCheck16(std::span<const u8> buffer, u32 first, u32 last) { return Check16(SumRange(buffer, first, last)); }

u16 CalcCheck16(std::span<const u8> bytes) { return Check16(bytes); }

u16 ContinueCheck16(u16 check, std::span<const u8> bytes) { return Check16(bytes, check); }

u32 ReflectBits(u32 value, u8 bits) {
  u32 r = 0;
  for (u8 i = 0; i < bits; ++i) {
    r = (r << 1) | (value & 1);
    value >>= 1;
  }
  return r;
}

u32 Crc32ByteStep(u8 b, u32 poly) {
  u32 r = static_cast<u32>(b) << 24;
  for (int k = 0; k < 8; ++k) r = (r & 0x80000000u) ? (r << 1) ^ poly : r << 1;
  return r;
}

u32 CalcCrc32Param(std::span<const u8> buffer, const Crc32Params& params, u32 first, u32 last) {
  u32 crc = params.Init;
  const bool reflectIn = params.Flags & 0x01;
  for (u8 b : ClampRange(buffer, first, last)) {
    if (reflectIn) b = static_cast<u8>(ReflectBits(b, 8));
    crc = Crc32ByteStep(static_cast<u8>(b ^ (crc >> 24)), params.Poly) ^ (crc << 8);
  }
  crc ^= params.XorOut;
  if (params.Flags & 0x04) crc = ReflectBits(crc, 32);
  return crc;
}

u32 CalcCrc32(std::span<const u8> bytes) {
  u32 crc = 0xFFFFFFFFu;
  for (const u8 b : bytes) crc = (crc >> 8) ^ Crc32Table[(crc ^ b) & 0xFF];
  return ~crc;
}

u32 CalcCrc32(std::span<const u8> buffer, u32 first, u32 last) { return CalcCrc32(ClampRange(buffer, first, last)); }

u8 HexPairToByte(char high, char low) {
  const auto digit = [](char c) -> int {
    if (c >= 'A' && c <= 'Z') return c - 55;
    if (c >= 'a' && c <= 'z') return c - 87;
    return c - 48;
  };
  return static_cast<u8>((digit(high) * 16 + digit(low)) & 0xFF);
}

}  // namespace qx
