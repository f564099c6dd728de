#include <gtest/gtest.h>
#include <zlib.h>

#include <random>
#include <string_view>
#include <vector>
#include <ostream>

#include "images/Checksums.h"

namespace qx {
namespace {

std::span<const u8> Bytes(std::string_view s) { return {reinterpret_cast<const u8*>(s.data()), s.size()}; }

std::vector<u8> RandomBytes(std::size_t n, unsigned seed) {
  std::mt19937 rng(seed);
  std::vector<u8> v(n);
  for (auto& b : v) b = static_cast<u8>(rng());
  return v;
}

TEST(Check16, KnownValues) {
  EXPECT_EQ(CalcCheck16(Bytes("abc")), 0x2543);
  const std::vector<u8> zero{0x00}, oneZero{0x01, 0x00};
  EXPECT_EQ(CalcCheck16(zero), 0x0000);
  EXPECT_EQ(CalcCheck16(oneZero), 0x4A12);
  const std::vector<u8> single{0xA7};
  EXPECT_EQ(CalcCheck16(single, 0, 0), 0xA7);
  // The ranged form over [0, N-1] is the packet form.
  const auto r = RandomBytes(300, 1);
  EXPECT_EQ(CalcCheck16(r, 0, 299), CalcCheck16(r));
}

// The check as defined, one bit-step per byte: what the word-wide forms must agree with.
u16 CheckByDefinition(std::span<const u8> bytes, u16 h = 0) {
  for (const u8 b : bytes) h = static_cast<u16>((h >> 1) ^ b ^ ((h & 1) != 0 ? 0x4A12 : 0));
  return h;
}

TEST(Check16, EveryLengthAndSplitAgreesWithTheDefinition) {
  const auto r = RandomBytes(4099, 2);
  const std::span<const u8> all(r);
  for (std::size_t n = 0; n <= 40; ++n) EXPECT_EQ(CalcCheck16(all.first(n)), CheckByDefinition(all.first(n))) << n;
  EXPECT_EQ(CalcCheck16(all), CheckByDefinition(all));
  for (std::size_t cut : {1u, 7u, 8u, 9u, 4091u}) {
    const u16 head = ContinueCheck16(0, all.first(cut));
    EXPECT_EQ(ContinueCheck16(head, all.subspan(cut)), CheckByDefinition(all)) << cut;
  }
  // Starting from every low byte of a running check.
  for (unsigned h = 0; h < 0x10000; h += 0x0101) {
    EXPECT_EQ(Check16Step8(static_cast<u16>(h), r.data()), CheckByDefinition(all.first(8), static_cast<u16>(h))) << h;
  }
}

TEST(Sums, RangeRule) {
  const std::vector<u8> b{1, 2, 3, 250};
  EXPECT_EQ(CalcAcc32(b, 0, 3), 256u);
  EXPECT_EQ(CalcAcc32(b, 1, 2), 5u);
  EXPECT_EQ(CalcAcc32(b, 2, 1), 0u);
  EXPECT_EQ(CalcCheck16(b, 2, 1), 0u);
  EXPECT_EQ(CalcAcc32(b, 0x1000000, 0x1000001), 0u);
  EXPECT_EQ(CalcAcc32(b, 0, 0x1000000), 0u);
  EXPECT_EQ(CalcCheck16(b, 0x1000000, 0x1000000), 0u);
  // A range past the buffer end is clamped, not read beyond it.
  EXPECT_EQ(CalcAcc32(b, 2, 0xFFFFFF), 253u);
  EXPECT_EQ(CalcAcc32(b, 4, 10), 0u);
  EXPECT_EQ(CalcCrc32(b, 0, 100), CalcCrc32(b));
}

TEST(Crc32, EqualsZlibOnRandomBuffers) {
  for (unsigned seed = 0; seed < 20; ++seed) {
    const auto v = RandomBytes(1 + seed * 997, seed);
    const auto z = static_cast<u32>(crc32(0L, v.data(), static_cast<uInt>(v.size())));
    EXPECT_EQ(CalcCrc32(v), z) << seed;
    const u32 first = seed, last = static_cast<u32>(v.size() - 1);
    if (first <= last) {
      const auto zr = static_cast<u32>(crc32(0L, v.data() + first, static_cast<uInt>(last - first + 1)));
      EXPECT_EQ(CalcCrc32(v, first, last), zr) << seed;
    }
  }
  EXPECT_EQ(CalcCrc32(Bytes("123456789")), 0xCBF43926u);
  EXPECT_EQ(CalcCrc32(Bytes("123456789"), 5, 4), 0u);
}

struct CatalogueCase {
  const char* name;
  Crc32Params params;
  u32 check;
};
// Cases print as their name, not as their bytes.
void PrintTo(const CatalogueCase& c, std::ostream* os) { *os << c.name; }

// Check values of "123456789" from the CRC catalogue.
class Crc32ParamCatalogue : public ::testing::TestWithParam<CatalogueCase> {};

TEST_P(Crc32ParamCatalogue, CheckValue) {
  const auto& c = GetParam();
  const std::string_view s = "123456789";
  EXPECT_EQ(CalcCrc32Param(Bytes(s), c.params, 0, 8), c.check);
}

INSTANTIATE_TEST_SUITE_P(
    Catalogue, Crc32ParamCatalogue,
    ::testing::Values(CatalogueCase{"BZIP2", {0x04C11DB7, 0xFFFFFFFF, 0xFFFFFFFF, 0}, 0xFC891918},
                      CatalogueCase{"ISO_HDLC", {0x04C11DB7, 0xFFFFFFFF, 0xFFFFFFFF, 5}, 0xCBF43926},
                      CatalogueCase{"MPEG2", {0x04C11DB7, 0xFFFFFFFF, 0x00000000, 0}, 0x0376E6E7},
                      CatalogueCase{"POSIX", {0x04C11DB7, 0x00000000, 0xFFFFFFFF, 0}, 0x765E7680},
                      CatalogueCase{"JAMCRC", {0x04C11DB7, 0xFFFFFFFF, 0x00000000, 5}, 0x340BC6D9},
                      CatalogueCase{"ISCSI", {0x1EDC6F41, 0xFFFFFFFF, 0xFFFFFFFF, 5}, 0xE3069283},
                      CatalogueCase{"XFER", {0x000000AF, 0x00000000, 0x00000000, 0}, 0xBD0BE338},
                      CatalogueCase{"Q", {0x814141AB, 0x00000000, 0x00000000, 0}, 0x3010BF7F}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(Crc32Param, EmptyRangeAndStandardEquivalence) {
  const std::vector<u8> b{1, 2, 3};
  EXPECT_EQ(CalcCrc32Param(b, {0x04C11DB7, 0x12345678, 0x0000FFFF, 0}, 2, 1), 0x12345678u ^ 0x0000FFFFu);
  EXPECT_EQ(CalcCrc32Param(b, {0x04C11DB7, 0x12345678, 0x0000FFFF, 4}, 2, 1),
            ReflectBits(0x12345678u ^ 0x0000FFFFu, 32));
  const auto v = RandomBytes(5000, 77);
  EXPECT_EQ(CalcCrc32Param(v, {0x04C11DB7, 0xFFFFFFFF, 0xFFFFFFFF, 5}, 10, 4000), CalcCrc32(v, 10, 4000));
}

TEST(Crc32, Helpers) {
  EXPECT_EQ(ReflectBits(0x01, 8), 0x80u);
  EXPECT_EQ(ReflectBits(0x0000000F, 32), 0xF0000000u);
  EXPECT_EQ(Crc32ByteStep(1, 0x04C11DB7), 0x04C11DB7u);
  EXPECT_EQ(Crc32ByteStep(0, 0x04C11DB7), 0u);
  EXPECT_EQ(HexPairToByte('0', '8'), 0x08);
  EXPECT_EQ(HexPairToByte('F', 'f'), 0xFF);
  EXPECT_EQ(HexPairToByte('a', 'B'), 0xAB);
}

}  // namespace
}  // namespace qx
