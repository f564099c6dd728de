#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "chips/ChipSelect.h"
#include "chips/OptionDefaults.h"
#include "chips/OptionListings.h"
#include "chips/ReadOptionListings.h"
#include "tests/chips/ChipTestSupport.h"

namespace qx {
namespace {

using Lines = std::vector<std::string>;

MessageLog StampedLog() {
  return MessageLog([] { return std::string("12:34:56"); });
}

std::vector<u8> Counting(std::size_t n) {
  std::vector<u8> v(n);
  for (std::size_t i = 0; i < n; ++i) v[i] = static_cast<u8>(i);
  return v;
}

std::string Repeat(std::string_view piece, int times) {
  std::string s;
  for (int i = 0; i < times; ++i) s += piece;
  return s;
}

TEST(OptionDefaults, AutoChipAndLcmDefaultsByte) {
  auto m = test::FreshModel();
  m->Params.Subtype = 1;
  InitOptionAC78x(*m);
  EXPECT_TRUE(m->OptionImage == test::ExpectedOptionImage(test::OptionKind::AC78xUnprotected, 0));
  m->Params.Subtype = 16;
  InitOptionAC78x(*m);
  EXPECT_TRUE(m->OptionImage == test::ExpectedOptionImage(test::OptionKind::AllFF, 0));
  InitOptionLcmp(*m);
  EXPECT_TRUE(m->OptionImage == test::ExpectedOptionImage(test::OptionKind::Lcmp, 0));
  ClearOptionImage(*m);
  EXPECT_TRUE(m->OptionImage == test::ExpectedOptionImage(test::OptionKind::AllZero, 0));
  FillOptionImage(*m);
  EXPECT_TRUE(m->OptionImage == test::ExpectedOptionImage(test::OptionKind::AllFF, 0));
}

TEST(CurrentOptionListing, AutoChipDefaultsAndAKnownImage) {
  auto m = test::FreshModel();
  auto log = StampedLog();
  SelectChip(*m, 0, "AC78013xDxx", 10);
  ShowCurrentOptionAC78x(log, *m);
  SelectChip(*m, 0, "AC78409xGxx", 38);
  ShowCurrentOptionAC78x(log, *m);
  for (std::size_t i = 0; i < 48; ++i) m->OptionImage[i] = static_cast<u8>(i);
  ShowCurrentOptionAC78x(log, *m);
  EXPECT_EQ(log.Lines(), (Lines{
                             "> 12:34:56 Current Option: FFAC FFFF FFFF FFFF FFFF FFFF FFFF FFFF",
                             "> 12:34:56 Current Option: FFFF FFFF FFFF FFFF FFFF FFFF FFFF FFFF",
                             "> 12:34:56 Current Option: 0100 0504 0908 0D0C 1110 1514 2928 2D2C",
                         }));
}

TEST(CurrentOptionListing, AucuRowsOfTheDefaultAndOfAKnownImage) {
  auto m = test::FreshModel();
  auto log = StampedLog();
  SelectChip(*m, 3, "AU301LDF51xx", 0);
  ShowCurrentOptionAucu(log, *m);
  ASSERT_EQ(log.Lines().size(), 16u);
  EXPECT_EQ(log.Lines()[0], "  0x03802000 :" + Repeat(" FF", 16));
  EXPECT_EQ(log.Lines()[15], "  0x038020F0 :" + Repeat(" FF", 16));
  log.Clear();
  for (std::size_t i = 0; i < 256; ++i) m->OptionImage[i] = static_cast<u8>(i);
  m->OptionImage[256] = 0x77;  // past the listing
  ShowCurrentOptionAucu(log, *m);
  ASSERT_EQ(log.Lines().size(), 16u);
  EXPECT_EQ(log.Lines()[0], "  0x03802000 : 00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F");
  EXPECT_EQ(log.Lines()[10], "  0x038020A0 : A0 A1 A2 A3 A4 A5 A6 A7 A8 A9 AA AB AC AD AE AF");
  EXPECT_EQ(log.Lines()[15], "  0x038020F0 : F0 F1 F2 F3 F4 F5 F6 F7 F8 F9 FA FB FC FD FE FF");
}

TEST(CurrentOptionListing, LcmDefault) {
  auto m = test::FreshModel();
  auto log = StampedLog();
  SelectChip(*m, 5, "LCM32F037K8xx", 13);
  ShowCurrentOptionLcmp(log, *m);
  EXPECT_EQ(log.Lines(), (Lines{
                             "",
                             "> Chip Option Data:",
                             "      FB 04 FF 00 FF 00 FF 00 FF 00 FF 00 FF 00 FF 00",
                             "      00 FF 00 FF 00 FF 00 FF 00 FF 00 FF 00 FF 00 FF",
                             "      00 FF 00 FF 00 FF 00 FF FF FF FF FF FF FF FF FF",
                         }));
}

TEST(ReadOptionListing, AutoChipBothLayouts) {
  auto log = StampedLog();
  ChipParams p;
  p.Subtype = 0;
  const auto counting = Counting(46);
  ShowReadOptionAC78x(log, p, 0, counting);
  ShowReadOptionAC78x(log, p, 9, counting);
  p.Subtype = 16;
  const std::vector<u8> payload = {0x78, 0x56, 0x34, 0x12, 0x01, 0x02, 0x03, 0xA4, 0xFF, 0x00, 0x0B, 0xC0};
  ShowReadOptionAC78x(log, p, 0, payload);
  EXPECT_EQ(log.Lines(), (Lines{
                             "> 12:34:56  C1 Read Option: 0100 0504 0908 0D0C 1110 1514 2928 2D2C",
                             "> 12:34:56  C10 Read Option: 0100 0504 0908 0D0C 1110 1514 2928 2D2C",
                             "> 12:34:56  C1 Read Option:",
                             "> 12:34:56   Read Flash SEC Data   = 0x12345678",
                             "> 12:34:56   Read Flash PPROT Data = 0xA4030201",
                             "> 12:34:56   Read Flash DPROT Data = 0xC00B00FF",
                         }));
}

TEST(ReadOptionListing, AucuConfigData) {
  auto log = StampedLog();
  ShowReadOptionAucu(log, 0, Counting(256));
  ASSERT_EQ(log.Lines().size(), 17u);
  EXPECT_EQ(log.Lines()[0], ">     C1 Read Chip Config Data:");
  EXPECT_EQ(log.Lines()[1], "  0x03802000 : 00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F");
  EXPECT_EQ(log.Lines()[16], "  0x038020F0 : F0 F1 F2 F3 F4 F5 F6 F7 F8 F9 FA FB FC FD FE FF");
}

TEST(ReadOptionListing, LcmFields) {
  auto log = StampedLog();
  ShowReadOptionLcmp(log, 0, Counting(39));
  EXPECT_EQ(log.Lines(), (Lines{
                             "",
                             "> Read Chip 1 Option Data : ",
                             "    USER = 0x18. DATA0 = 0x19. DATA1 = 0x1A. DATA2 = 0x1B. ",
                             "    ROP  = 0x20  ROP2= 0x21",
                             "    WRP0 = 0x24. WRP1 = 0x25. WRP2 = 0x26. ",
                         }));
}

TEST(ReadOptionListing, SilergyInfoSegmentPages) {
  auto log = StampedLog();
  ShowReadOptionSilergy(log, 4, Counting(72));
  ASSERT_EQ(log.Lines().size(), 10u);
  EXPECT_EQ(log.Lines()[0], "> Read Chip Info Segment Data as below: ");
  EXPECT_EQ(log.Lines()[1], "   > Page 0: 00 01 02 03 04 05 06 07");
  EXPECT_EQ(log.Lines()[2], "   > Page 1: 08 09 0A 0B 0C 0D 0E 0F");
  EXPECT_EQ(log.Lines()[9], "   > Page 8: 40 41 42 43 44 45 46 47");
}

// One byte short of what a listing needs: the log says so and shows no byte; exactly
// enough lists normally (the payload vectors are exact, so an over-read trips ASan).
TEST(ReadOptionListing, ShortRepliesAreReportedNotListed) {
  struct Case {
    u8 maker;
    u8 subtype;
    std::size_t needed;
  };
  const Case cases[] = {{0, 0, 46}, {0, 16, 12}, {3, 0, 256}, {5, 0, 39}, {10, 0, 72}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.needed);
    auto m = test::FreshModel();
    m->Params.ManufacturerIndex = c.maker;
    m->Params.Subtype = c.subtype;
    for (const std::size_t size : {std::size_t{0}, c.needed - 1}) {
      auto log = StampedLog();
      const auto payload = Counting(size);
      EXPECT_TRUE(ShowReadOption(log, *m, 1, payload));
      EXPECT_EQ(log.Lines(), (Lines{"> 12:34:56 C2 : Option data reply too short: " + std::to_string(size) +
                                    " bytes received, " + std::to_string(c.needed) + " needed"}));
    }
    auto log = StampedLog();
    const auto payload = Counting(c.needed);
    EXPECT_TRUE(ShowReadOption(log, *m, 1, payload));
    ASSERT_FALSE(log.Lines().empty());
    EXPECT_EQ(log.Lines().back().find("too short"), std::string::npos);
  }
}

TEST(ReadOptionListing, MakersWithoutAListingLogNothing) {
  for (const u8 maker : {u8{1}, u8{2}, u8{4}, u8{6}, u8{7}, u8{8}, u8{9}, u8{11}, u8{12}, u8{13}}) {
    auto m = test::FreshModel();
    m->Params.ManufacturerIndex = maker;
    auto log = StampedLog();
    EXPECT_FALSE(ShowReadOption(log, *m, 0, Counting(256))) << int{maker};
    EXPECT_TRUE(log.Lines().empty());
  }
}

}  // namespace
}  // namespace qx
