#include <gtest/gtest.h>

#include "tests/images/ObjectFileFixture.h"
#include "base/Errors.h"
#include "images/SRecordFile.h"

namespace qx {
namespace {

using test::kMainStart;

class SRecord : public ::testing::Test {
 protected:
  std::unique_ptr<ChipModel> chip = test::MakeChip();
  test::RecordingOperator op;
  SRecordReaderState state;
  LineParseResult Parse(const std::string& line) { return ParseSRecordLine(*chip, line, state, op); }
};

TEST_F(SRecord, LineResults) {
  const struct {
    const char* line;
    LineParseResult result;
  } cases[] = {
      {"X3090800001001020304D4", LineParseResult::NoStartCode},
      {"S3090800001001020304D4", LineParseResult::Accepted},
      {"S3090800001001020304D5", LineParseResult::ChecksumError},
      {"S9030000FB", LineParseResult::Accepted},  // termination checksums are not checked
      {"S5030001FF", LineParseResult::Accepted},
      {"S00600004844521B", LineParseResult::Accepted},
      {"SA030000FC", LineParseResult::BadRecordType},
      // S4 is a sound record of a type this reader does not use; shown with the number 2.
      {"S4030000FC", LineParseResult::UnusedSRecordType},
      {"S4030000FD", LineParseResult::ChecksumError},
      {"S40300", LineParseResult::ShortLine},
      {"S4030G00FC", LineParseResult::BadDigit},
      {"S604000000FB", LineParseResult::Accepted},  // a count record of 24 bits
      {"S60400", LineParseResult::ShortLine},
      {"S3", LineParseResult::ShortLine},
      {"S30908000010010203", LineParseResult::ShortLine},  // shorter than its count
      {"S3040800000F", LineParseResult::ShortLine},        // count below k + 1
      {"S1020000FD", LineParseResult::ShortLine},
      {"S1060010010203E3", LineParseResult::OutOfChip},
      {"S30508000100F1", LineParseResult::Accepted},  // no data bytes
      {"S30508000100F2", LineParseResult::ChecksumError},
      // S2 carries three address bytes: 0x080000 lies below every window of this chip, while
      // the same characters read with four address bytes would be 0x08000010, inside it.
      {"S20808000010010203D9", LineParseResult::OutOfChip},
      {"S204080000F3", LineParseResult::Accepted},  // count k + 1: no data byte
      {"S2030800F4", LineParseResult::ShortLine},   // count below k + 1
  };
  for (const auto& c : cases) {
    state = {};
    EXPECT_EQ(Parse(c.line), c.result) << c.line;
  }
}

TEST_F(SRecord, RangeWidensForEveryDataRecordButNotForEmptyOnes) {
  // A data record without data bytes (count k + 1) at address 0 must not wrap the range end.
  ASSERT_EQ(Parse("S30500000000FA"), LineParseResult::Accepted);
  EXPECT_EQ(state.Range.Maximum, 0u);
  ASSERT_EQ(Parse("S30508000100F1"), LineParseResult::Accepted);
  EXPECT_EQ(state.Range.Minimum, 0xFFFFFFFFu);
  EXPECT_EQ(state.Range.Maximum, 0u);
  EXPECT_TRUE(op.messages.empty());

  ASSERT_EQ(Parse("S31508000020EEEEEEEEEEEEEEEEEEEEEEEEEEEEEEEEE2"), LineParseResult::Accepted);
  ASSERT_EQ(Parse("S30908000018DDDDDDDD62"), LineParseResult::Accepted);  // lower, overlapping none
  EXPECT_EQ(state.Range.Minimum, kMainStart + 0x18);
  EXPECT_EQ(state.Range.Maximum, kMainStart + 0x2F);
  EXPECT_EQ(chip->LastLoadAddress, kMainStart + 0x1C);
  EXPECT_EQ(chip->MainFlashImage[0x20], 0xEE);
  EXPECT_EQ(chip->MainFlashImage[0x1B], 0xDD);

  // Option window: stored, widens the range, LastLoadAddress unchanged.
  ASSERT_EQ(Parse("S3061FFFF8007F64"), LineParseResult::Accepted);
  EXPECT_EQ(chip->OptionImage[0], 0x7F);
  EXPECT_EQ(chip->LastLoadAddress, kMainStart + 0x1C);
  EXPECT_EQ(state.Range.Maximum, 0x1FFFF800u);

  // Out of chip: widens too, reported, not stored.
  EXPECT_EQ(Parse("S3060900000011DF"), LineParseResult::OutOfChip);
  ASSERT_EQ(op.messages.size(), 1u);
  EXPECT_EQ(op.messages[0].text, "Address \"0x09000000\" is out of Chip!");
  EXPECT_EQ(state.Range.Maximum, 0x1FFFF800u);
  EXPECT_EQ(state.Range.Sum, 16u * 0xEE + 4 * 0xDD + 0x7F + 0x11);
}

TEST_F(SRecord, DataFlashRecord) {
  ASSERT_EQ(Parse("S30708080000AA55E9"), LineParseResult::Accepted);
  EXPECT_EQ(chip->EepImage[0], 0xAA);
  EXPECT_EQ(chip->EepImage[1], 0x55);
  EXPECT_EQ(chip->LastLoadAddress, test::kEepStart + 2);
}

TEST_F(SRecord, FileLoadAsksOkAbortAndReadsPastTermination) {
  test::TempDir dir;
  test::WriteText(dir.File("a.s37"),
                  "S00600004844521B\r\nS3090800001001020304D4\r\nS70500000000FA\r\nS1\r\n"
                  "S3090800001001020304D5\nS30708080000AA55E9");
  u32 start = 0, end = 0, sum = 0;
  const ObjectReadResult ok = LoadSRecordFile(*chip, dir.File("a.s37"), start, end, sum, op);
  EXPECT_EQ(ok.BadLines, 1);
  EXPECT_EQ(ok.AbortedAt, 0);
  EXPECT_TRUE(ok.EndRecord);
  ASSERT_EQ(op.messages.size(), 1u);
  EXPECT_EQ(op.messages[0].text, "Line 5 Data Error : 4.");
  EXPECT_EQ(start, kMainStart + 0x10);
  EXPECT_EQ(end, test::kEepStart + 1);
  EXPECT_EQ(chip->EepImage[1], 0x55);  // last line without a line end
  EXPECT_EQ(sum, 1u + 2 + 3 + 4 + 0xAA + 0x55);  // the damaged line adds nothing

  chip = test::MakeChip();
  op.messages.clear();
  op.answers = {MsgAnswer::Abort};
  EXPECT_EQ(LoadSRecordFile(*chip, dir.File("a.s37"), start, end, sum, op).AbortedAt, 5);
  EXPECT_EQ(chip->EepImage[1], 0xFF);
  EXPECT_EQ(end, kMainStart + 0x13);
  EXPECT_THROW(LoadSRecordFile(*chip, dir.File("none.s37"), start, end, sum, op), EInOutError);
}

TEST(SRecordWriter, DocumentedLines) {
  std::vector<u8> data(0x20000, 0x00);
  const std::string text = FormatSRecords(data, 0x08000000);
  const std::string first = "S32508000000" + std::string(64, '0') + "D2\r\n";
  EXPECT_EQ(text.substr(0, first.size()), first);
  std::size_t records = 0;
  for (std::size_t pos = 0; (pos = text.find("\r\nS325", pos)) != std::string::npos; pos += 2) ++records;
  EXPECT_EQ(records + 1, 4096u);
  EXPECT_EQ(text.substr(text.size() - 16), "S70500000000FA\r\n");
  EXPECT_EQ(text.size(), 4096u * (12 + 64 + 2 + 2) + 16);

  const std::vector<u8> three{1, 2, 3};
  EXPECT_EQ(FormatSRecords(three, 0x0010), "S1060010010203E3\r\nS9030000FC\r\n");
  EXPECT_EQ(FormatSRecords(three, 0x080000), "S207080000010203EA\r\nS804000000FB\r\n");
  const std::vector<u8> many(33, 0x11);
  const std::string s1 = FormatSRecords(many, 0xFF00);
  EXPECT_EQ(s1.substr(0, 8), "S123FF00");
  EXPECT_NE(s1.find("\r\nS104FF2011"), std::string::npos);
}

}  // namespace
}  // namespace qx
