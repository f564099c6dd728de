// The counting serial number: its bytes in the units' blocks, the programmed range widened to hold
// them, addresses outside the main flash refused, the edit's two forms, the advance, and
// the numbers of the units of one run.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <ostream>
#include <vector>

#include "tests/app/AppTestSupport.h"
#include "app/SerialNumbers.h"
#include "app/UnitSerialNumbers.h"
#include "base/Errors.h"
#include "images/Checksums.h"

namespace qx {
namespace {

class SerialNumbers : public ::testing::Test {
 protected:
  std::unique_ptr<ChipModel> chip = test::ChosenChip();
  MessageLog log = test::FixedClockLog();
  test::ViewRecorder op;
};

struct InsertCase {
  const char* name;
  u32 address;
  bool bigEndian;
  u32 index;
  std::array<u8, 4> bytes;
};
// Cases print as their name, not as their bytes.
void PrintTo(const InsertCase& c, std::ostream* os) { *os << c.name; }

class Insert : public SerialNumbers, public ::testing::WithParamInterface<InsertCase> {};

TEST_P(Insert, TheUnitsBlocksCarryTheBytesAndTheirSixteenBitSumsAndTheGridShowsThem) {
  const InsertCase& c = GetParam();
  chip->Sn.SnValue = 0x12345678;
  chip->Sn.SnAddress = c.address;
  chip->Sums.MainAcc32 = 0xDEAD;
  const std::vector<u8> loaded(chip->MainFlashImage.begin(), chip->MainFlashImage.end());
  ASSERT_EQ(PrepareSerialNumberRange(*chip, log, op), std::optional<u32>(c.index));
  UnitSerialPatch patch;
  NumberUnit(SerialRun{chip->Sn, c.bigEndian}, *chip, 0, patch);
  ShowSerialNumberRows(chip->Params, patch, op);
  EXPECT_EQ(patch.Active, 1);
  EXPECT_EQ(patch.Index, c.index);
  EXPECT_EQ(patch.Bytes, c.bytes);
  ASSERT_EQ(op.mainRows.size(), 1u);
  EXPECT_EQ(op.mainRows[0], std::make_pair(c.address, c.address + 3));
  std::vector<u8> numbered = loaded;
  std::copy(c.bytes.begin(), c.bytes.end(), numbered.begin() + c.index);
  const u32 last = chip->Params.DownloadSize - 1;
  EXPECT_EQ(patch.MainCheck16, CalcCheck16(numbered, 0, last));
  EXPECT_EQ(patch.MainSum16, static_cast<u16>(CalcAcc32(numbered, 0, last)));
  // Each unit's number travels in its own blocks.
  EXPECT_TRUE(std::equal(loaded.begin(), loaded.end(), chip->MainFlashImage.begin()));
  EXPECT_EQ(chip->Sums.MainAcc32, 0xDEADu);
  EXPECT_TRUE(op.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Orders, Insert,
    ::testing::Values(InsertCase{"big_endian", 0x0800FFF0, true, 0xFFF0, {0x12, 0x34, 0x56, 0x78}},
                      InsertCase{"little_endian", 0x0800FFF0, false, 0xFFF0, {0x78, 0x56, 0x34, 0x12}},
                      InsertCase{"across_a_row", 0x0800FFFD, true, 0xFFFD, {0x12, 0x34, 0x56, 0x78}},
                      InsertCase{"last_bytes_of_the_flash", 0x0803FFFC, false, 0x3FFFC, {0x78, 0x56, 0x34, 0x12}}),
    [](const auto& p) { return std::string(p.param.name); });

TEST_F(SerialNumbers, AnAddressBeyondTheProgrammedRangeWidensIt) {
  struct Case {
    u32 downloadSize;
    u32 address;
    u32 widened;
  } cases[] = {
      {0x1000, test::kMainStart + 0x100, 0x1000},      // already inside
      {0x1000, test::kMainStart + 0xFFD, 0x1100},      // last byte just past it
      {0x1000, test::kMainStart + 0x10000, 0x10100},   // its 256-byte page
      {0x1000, test::kMainStart + 0x3FFFC, 0x40000},   // at most the flash
  };
  for (const Case& c : cases) {
    chip->Params.DownloadSize = c.downloadSize;
    chip->Sn.SnAddress = c.address;
    log.Clear();
    ASSERT_TRUE(PrepareSerialNumberRange(*chip, log, op).has_value());
    EXPECT_EQ(chip->Params.DownloadSize, c.widened) << std::hex << c.address;
    EXPECT_EQ(log.Lines().size(), c.widened == c.downloadSize ? 0u : 1u);
  }
  EXPECT_EQ(log.Lines()[0], test::Info("Chip Actual Programmed Data Size is: 262144Bytes/0x0003FFFF."));
}

TEST_F(SerialNumbers, AnAddressOutsideTheMainFlashStopsTheCommandAndWritesNothing) {
  chip->Params.DownloadSize = 0x1000;
  for (const u32 address : {test::kMainStart - 1, test::kMainStart + test::kMainSize - 3, 0xFFFFFFFEu, 0xFFFFFFu}) {
    op.messages.clear();
    chip->Sn.SnAddress = address;
    const auto before = chip->MainFlashImage;
    EXPECT_FALSE(PrepareSerialNumberRange(*chip, log, op).has_value()) << std::hex << address;
    EXPECT_EQ(chip->MainFlashImage, before);
    EXPECT_EQ(chip->Params.DownloadSize, 0x1000u);
    ASSERT_EQ(op.messages.size(), 1u);
    char text[80];
    std::snprintf(text, sizeof text, "S/N address 0x%08X is outside the main flash, command stopped!", address);
    EXPECT_EQ(op.messages[0].text, text);
    EXPECT_TRUE(test::HasLine(log, test::Info(text)));
  }
  EXPECT_TRUE(op.mainRows.empty());
}

TEST_F(SerialNumbers, EachUnitOfARunHasItsOwnNumber) {
  chip->Sn.SnAddress = test::kMainStart + 0x100;
  chip->Sn.SnValue = 0xFFFFFFFE;
  chip->Sn.SnGain = 3;
  struct Case {
    u8 unit;
    u32 value;
  } cases[] = {{0, 0xFFFFFFFE}, {1, 0x00000001}, {2, 0x00000004}, {9, 0x00000019}};
  for (const Case& c : cases) {
    const auto big = SerialNumberForUnit(chip->Params, chip->Sn, true, c.unit);
    ASSERT_TRUE(big.has_value());
    EXPECT_EQ(big->Value, c.value);
    EXPECT_EQ(big->Index, 0x100u);
    EXPECT_EQ(big->Bytes, (std::array<u8, 4>{static_cast<u8>(c.value >> 24), static_cast<u8>(c.value >> 16),
                                             static_cast<u8>(c.value >> 8), static_cast<u8>(c.value)}));
    EXPECT_EQ(SerialNumberForUnit(chip->Params, chip->Sn, false, c.unit)->Bytes[0], static_cast<u8>(c.value));
  }
  chip->Sn.SnAddress = test::kMainStart + test::kMainSize;
  EXPECT_FALSE(SerialNumberForUnit(chip->Params, chip->Sn, true, 0).has_value());
}

TEST_F(SerialNumbers, TheEditShowsDecimalOrHexadecimal) {
  EXPECT_EQ(RedisplaySerialNumber("0x000000FF", true), "255");
  EXPECT_EQ(RedisplaySerialNumber("255", false), "0x000000FF");
  EXPECT_EQ(RedisplaySerialNumber("4294967295", false), "0xFFFFFFFF");
  EXPECT_EQ(RedisplaySerialNumber("$FFFFFFFF", true), "4294967295");
  EXPECT_EQ(RedisplaySerialNumber("4294967297", true), "1");
  EXPECT_THROW(RedisplaySerialNumber("12x", true), EConvertError);
}

TEST_F(SerialNumbers, AdvanceOnlyWithBothBoxesAndWrapping) {
  SnSettings sn;
  sn.SnValue = 0xFFFFFFFF;
  sn.SnGain = 1;
  EXPECT_EQ(AdvanceSerialNumber(sn, {true, true, false}), "0x00000000");
  EXPECT_EQ(sn.SnValue, 0u);
  sn.SnGain = 10;
  EXPECT_EQ(AdvanceSerialNumber(sn, {true, true, true}), "10");
  EXPECT_FALSE(AdvanceSerialNumber(sn, {true, false, true}).has_value());
  EXPECT_FALSE(AdvanceSerialNumber(sn, {false, true, true}).has_value());
  EXPECT_EQ(sn.SnValue, 10u);
}

TEST_F(SerialNumbers, FillSnDataNeedsChipAndObjectAndRefreshesTheSums) {
  EXPECT_FALSE(ConfigSnAllowed(*chip, op));
  ASSERT_EQ(op.messages.size(), 1u);
  EXPECT_EQ(op.messages[0].text, "Please Select Chip and Load Object File first!");
  EXPECT_EQ(op.messages[0].kind, MsgKind::Warning);
  chip->ObjectLoaded = 1;
  EXPECT_TRUE(ConfigSnAllowed(*chip, op));

  chip->MainFlashImage[0x1234] = 0x00;  // as the S/N constant dialog wrote it
  chip->EepImage[0] = 0x00;
  AfterConfigSn(*chip, log, op);
  EXPECT_EQ(chip->Params.DownloadSize, 0x1300u);
  EXPECT_EQ(chip->Sums.MainAcc32, 0x12FFu * 0xFF);
  EXPECT_EQ(chip->Sums.EepAcc32, (test::kEepSize - 1) * 0xFF);
  EXPECT_EQ(chip->Sums.ChipChecksum, chip->Sums.MainAcc32 + chip->Sums.EepAcc32);
  EXPECT_EQ(op.checksumRefreshes, 1);
  ASSERT_EQ(log.Lines().size(), 5u);
  EXPECT_EQ(log.Lines()[0], test::Info("Chip Actual Programmed Data Size is: 4864Bytes/0x000012FF."));
  char chipLine[64];
  std::snprintf(chipLine, sizeof chipLine, "Chip ACC32 CheckSum is : 0x%08X", chip->Sums.ChipChecksum);
  EXPECT_EQ(log.Lines()[4], test::Info(chipLine));
}

}  // namespace
}  // namespace qx
