#include <gtest/gtest.h>

#include <sstream>

#include "tests/images/ObjectFileFixture.h"
#include "base/Errors.h"
#include "images/IntelHexFile.h"

namespace qx {
namespace {

using test::kMainStart;

std::vector<std::string> Lines(const std::string& text) { return test::CrLfLines(text); }

class IntelHex : public ::testing::Test {
 protected:
  std::unique_ptr<ChipModel> chip = test::MakeChip();
  test::RecordingOperator op;
  HexReaderState state;
  LineParseResult Parse(const std::string& line) { return ParseHexLine(*chip, line, state, op); }
};

struct LineCase {
  const char* line;
  LineParseResult result;
};

TEST_F(IntelHex, LineResults) {
  const LineCase cases[] = {
      {"020000040800F2", LineParseResult::NoStartCode},
      {":020000040800F2", LineParseResult::Accepted},
      {":020000040800F3", LineParseResult::ChecksumError},
      {":020001040800F1", LineParseResult::NonZeroOffset},
      {":0200000408", LineParseResult::ShortLine},
      {":1000000000", LineParseResult::ShortLine},
      {":10000000000102030405060708090A0B0C0D0E", LineParseResult::ShortLine},
      {":0300300002337A1E", LineParseResult::Accepted},
      {":0300300002337A1F", LineParseResult::ChecksumError},
      {":00000001FF", LineParseResult::Accepted},
      {":00000001", LineParseResult::Accepted},
      {":0000", LineParseResult::ShortLine},
      {":04000005080000ED0A", LineParseResult::Accepted},
      // Types above 05 are sound records this reader does not use, when they are whole.
      {":0100000601F8", LineParseResult::UnknownType},
      {":0100000601F9", LineParseResult::ChecksumError},
      {":01000006", LineParseResult::ShortLine},
      {":01000006G1F8", LineParseResult::BadDigit},
      {":00000006FA", LineParseResult::Accepted},  // no data: nothing to use or skip
  };
  for (const auto& c : cases) {
    state = {};
    state.Ela = kMainStart;
    EXPECT_EQ(Parse(c.line), c.result) << c.line;
  }
}

TEST_F(IntelHex, DataRecordsRouteByWindowAndSum) {
  ASSERT_EQ(Parse(":020000040800F2"), LineParseResult::Accepted);
  ASSERT_EQ(Parse(":0400100001020304E2"), LineParseResult::Accepted);
  EXPECT_EQ(chip->MainFlashImage[0x10], 0x01);
  EXPECT_EQ(chip->MainFlashImage[0x13], 0x04);
  EXPECT_EQ(chip->LastLoadAddress, kMainStart + 0x14);
  EXPECT_EQ(state.Range.Minimum, kMainStart + 0x10);
  EXPECT_EQ(state.Range.Maximum, kMainStart + 0x13);
  // Data flash.
  ASSERT_EQ(Parse(":020000040808EA"), LineParseResult::Accepted);
  ASSERT_EQ(Parse(":02000000AA55FF"), LineParseResult::Accepted);
  EXPECT_EQ(chip->EepImage[0], 0xAA);
  EXPECT_EQ(state.Range.Maximum, test::kEepStart + 1);
  // Option window: stored, counted in the sum, range and LastLoadAddress untouched.
  const u32 lastLoad = chip->LastLoadAddress;
  ASSERT_EQ(Parse(":020000041FFFDC"), LineParseResult::Accepted);
  ASSERT_EQ(Parse(":01F800007F88"), LineParseResult::Accepted);
  EXPECT_EQ(chip->OptionImage[0], 0x7F);
  EXPECT_EQ(chip->LastLoadAddress, lastLoad);
  EXPECT_EQ(state.Range.Maximum, test::kEepStart + 1);
  EXPECT_EQ(state.Range.Sum, 1u + 2 + 3 + 4 + 0xAA + 0x55 + 0x7F);
}

TEST_F(IntelHex, OutOfChipIsReportedAndSummedButNotStored) {
  ASSERT_EQ(Parse(":020000040900F1"), LineParseResult::Accepted);
  EXPECT_EQ(Parse(":0100000011EE"), LineParseResult::OutOfChip);
  ASSERT_EQ(op.messages.size(), 1u);
  EXPECT_EQ(op.messages[0].text, "Address \"0x09000000\" is out of Chip!");
  EXPECT_EQ(state.Range.Sum, 0x11u);
  EXPECT_EQ(state.Range.Minimum, 0xFFFFFFFFu);
  // A damaged record is no record out of the chip: only its own fault is reported.
  EXPECT_EQ(Parse(":0100000011EF"), LineParseResult::ChecksumError);
  EXPECT_EQ(op.messages.size(), 1u);
  EXPECT_EQ(state.Range.Sum, 0x11u);
}

TEST_F(IntelHex, SegmentAndLinearBasesAdd) {
  ASSERT_EQ(Parse(":020000021000EC"), LineParseResult::Accepted);  // segment base 0x10000
  ASSERT_EQ(Parse(":020000040800F2"), LineParseResult::Accepted);  // linear base 0x08000000
  ASSERT_EQ(Parse(":01002000429D"), LineParseResult::Accepted);
  EXPECT_EQ(chip->MainFlashImage[0x10020], 0x42);
  EXPECT_EQ(state.Range.Minimum, kMainStart + 0x10020);
}

TEST_F(IntelHex, RecordPastWindowEndIsStoredWhole) {
  ASSERT_EQ(Parse(":020000040803EF"), LineParseResult::Accepted);
  ASSERT_EQ(Parse(":08FFFC000102030405060708D9"), LineParseResult::Accepted);
  EXPECT_EQ(chip->MainFlashImage[0x3FFFC], 0x01);
  EXPECT_EQ(chip->MainFlashImage[0x40003], 0x08);
  EXPECT_EQ(state.Range.Maximum, kMainStart + 0x40003);
}

TEST_F(IntelHex, RecordsNeverWritePastAnImage) {
  // An option window wider than the option image: the record's tail past the image is dropped.
  chip->Params.OptionEnd = 0x2FFFFFFF;
  ASSERT_EQ(Parse(":020000042000DA"), LineParseResult::Accepted);
  ASSERT_EQ(Parse(":1017F80000112233445566778899AABBCCDDEEFFE9"), LineParseResult::Accepted);  // index 0x1FF8
  EXPECT_EQ(chip->OptionImage[0x1FF8], 0x00);
  EXPECT_EQ(chip->OptionImage[0x1FFF], 0x77);
  // The same at the end of the main image (index 0x400FF8 of 0x401000).
  chip->Params.MainFlashEnd = 0x08FFFFFF;
  const u8 before = chip->EepImage[0];
  ASSERT_EQ(Parse(":020000040840B2"), LineParseResult::Accepted);
  ASSERT_EQ(Parse(":100FF800000102030405060708090A0B0C0D0E0F71"), LineParseResult::Accepted);
  EXPECT_EQ(chip->MainFlashImage[MainImageSize - 1], 0x07);
  EXPECT_EQ(chip->EepImage[0], before);
}

TEST_F(IntelHex, AbsentWindowTakesNoAddress) {
  chip->Params.InfoStart = NoWindow;
  chip->Params.InfoEnd = NoWindow;
  chip->Params.MainFlashStart = chip->Params.MainFlashEnd = NoWindow;
  ASSERT_EQ(Parse(":02000004FFFFFC"), LineParseResult::Accepted);
  EXPECT_EQ(Parse(":01FFFF0011F0"), LineParseResult::OutOfChip);  // address 0xFFFFFFFF
  EXPECT_EQ(chip->MainFlashImage[0], 0xFF);
}

class IntelHexFileLoad : public IntelHex {
 protected:
  test::TempDir dir;
  u32 start = 0, end = 0, sum = 0;
  ObjectReadResult Load(const std::string& text) {
    test::WriteText(dir.File("a.hex"), text);
    return LoadIntelHexFile(*chip, dir.File("a.hex"), start, end, sum, op);
  }
};

TEST_F(IntelHexFileLoad, EndRecordDoesNotStopReadingAndLineEndsMayMix) {
  EXPECT_TRUE(Load(":020000040800F2\r\n:0100000011EE\n:00000001FF\r\n\r\n:02010000A1A2BA\n:00FFFF0101\n").Complete());
  EXPECT_TRUE(op.messages.empty());
  EXPECT_EQ(chip->MainFlashImage[0], 0x11);
  EXPECT_EQ(chip->MainFlashImage[0x101], 0xA2);
  EXPECT_EQ(start, kMainStart);
  EXPECT_EQ(end, kMainStart + 0x101);
  EXPECT_EQ(sum, 0x11u + 0xA1 + 0xA2);
}

TEST_F(IntelHexFileLoad, BadLinesAskOkAbort) {
  const std::string text = ":020000040800F2\nxyz\n:0100000011EF\n:02010000A1A2BA\n";
  const ObjectReadResult ok = Load(text);  // OK on both bad lines goes on
  EXPECT_EQ(ok.BadLines, 2);
  EXPECT_EQ(ok.AbortedAt, 0);
  EXPECT_FALSE(ok.Complete());
  ASSERT_EQ(op.messages.size(), 2u);
  EXPECT_EQ(op.messages[0].text, "Line 2 Data Error : 1.");
  EXPECT_EQ(op.messages[0].buttons, MsgButtons::OkAbort);
  EXPECT_EQ(op.messages[1].text, "Line 3 Data Error : 4.");
  EXPECT_EQ(chip->MainFlashImage[0x101], 0xA2);

  chip = test::MakeChip();
  op.messages.clear();
  op.answers = {MsgAnswer::Abort};
  const ObjectReadResult aborted = Load(text);
  EXPECT_EQ(aborted.AbortedAt, 2);
  EXPECT_EQ(aborted.BadLines, 1);
  EXPECT_EQ(op.messages.size(), 1u);
  EXPECT_EQ(chip->MainFlashImage[0x101], 0xFF);
  EXPECT_EQ(start, 0xFFFFFFFFu);  // as left by line 1
}

TEST_F(IntelHexFileLoad, MissingFileRaises) {
  u32 s = 0, e = 0, c = 0;
  EXPECT_THROW(LoadIntelHexFile(*chip, dir.File("none.hex"), s, e, c, op), EInOutError);
}

TEST(IntelHexWriter, DocumentedLines) {
  // Above 64 KiB: one extended address record per 64 KiB, 32-byte records, and a last
  // extended address record after the final byte at a 64 KiB boundary.
  std::vector<u8> data(0x20000, 0xFF);
  const auto lines = Lines(FormatIntelHex(data, 0x08000000));
  ASSERT_EQ(lines.size(), 1u + 2048 + 1 + 2048 + 1 + 1);
  EXPECT_EQ(lines[0], ":020000040800F2");
  EXPECT_EQ(lines[1].substr(0, 9), ":20000000");
  EXPECT_EQ(lines[1].size(), 1u + 8 + 64 + 2);
  EXPECT_EQ(lines[2048].substr(0, 9), ":20FFE000");
  EXPECT_EQ(lines[2049], ":020000040801F1");
  EXPECT_EQ(lines[4098], ":020000040802F0");
  EXPECT_EQ(lines[4099], ":00000001FF");

  // Up to 64 KiB: 16-byte records and no extended address record.
  std::vector<u8> small(0x10000, 0x00);
  const auto s = Lines(FormatIntelHex(small, 0));
  ASSERT_EQ(s.size(), 4097u);
  EXPECT_EQ(s[0], ":1000000000000000000000000000000000000000F0");
  EXPECT_EQ(s[4095].substr(0, 9), ":10FFF000");
  EXPECT_EQ(s[4096], ":00000001FF");

  // A partial last record and a start inside a 64 KiB page.
  const std::vector<u8> five{1, 2, 3, 4, 5};
  EXPECT_EQ(FormatIntelHex(five, 0x0010), ":050010000102030405DC\r\n:00000001FF\r\n");
  const auto cross = Lines(FormatIntelHex(std::vector<u8>(8, 0xAB), 0x0800FFFC));
  ASSERT_EQ(cross.size(), 5u);
  EXPECT_EQ(cross[1], ":04FFFC00ABABABAB55");
  EXPECT_EQ(cross[2], ":020000040801F1");
  EXPECT_EQ(cross[3], ":04000000ABABABAB50");
}

TEST(IntelHexWriter, RangeClampedToTheImage) {
  auto chip = test::MakeChip();
  test::TempDir dir;
  chip->MainFlashImage[MainImageSize - 1] = 0x5A;
  // An end address at the top of the address space ends, and is cut at the image end.
  SaveIntelHexFile(*chip, dir.File("a.hex"), kMainStart + MainImageSize - 1, 0xFFFFFFFF);
  EXPECT_EQ(test::ReadText(dir.File("a.hex")), ":020000040840B2\r\n:010FFF005A97\r\n:00000001FF\r\n");
  // Start below the image's first address: cut at index 0.
  SaveIntelHexFile(*chip, dir.File("b.hex"), 0, kMainStart);
  EXPECT_EQ(test::ReadText(dir.File("b.hex")), ":020000040800F2\r\n:01000000FF00\r\n:00000001FF\r\n");
  EXPECT_THROW(SaveIntelHexFile(*chip, dir.File("no/dir.hex"), kMainStart, kMainStart), EInOutError);
}

}  // namespace
}  // namespace qx
