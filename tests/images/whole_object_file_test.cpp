// What a read object file holds against it: damaged lines (whichever button), sound records
// the chip cannot use (skipped after OK), the end record (a file cut at a line boundary has
// none; for S-records a count that agrees at the end stands for it), the S5 or S6 count
// against the data records, no data at all, and a file that holds no records refused
// before any line box.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/Errors.h"
#include "images/IntelHexFile.h"
#include "images/ObjectLineLoader.h"
#include "images/SRecordFile.h"
#include "tests/images/ObjectFileFixture.h"

namespace qx {
namespace {

using test::kMainStart;

enum class Format { Hex, SRec };

// "S5" or "S6" with the given count and its checksum.
std::string CountRecord(u32 count, char type = '5') {
  char b[20];
  if (type == '5') {
    std::snprintf(b, sizeof b, "S503%04X%02X", count, static_cast<unsigned>(~(3 + (count >> 8) + count) & 0xFF));
  } else {
    std::snprintf(b, sizeof b, "S604%06X%02X", count,
                  static_cast<unsigned>(~(4 + (count >> 16) + (count >> 8) + count) & 0xFF));
  }
  return b;
}

// The file's lines without the last (the end record).
std::string WithoutEnd(const std::string& text) {
  const std::size_t last = text.rfind('\n', text.size() - 2);
  return text.substr(0, last + 1);
}

ObjectReadResult Read(Format format, const std::string& path, ChipModel& chip, Operator& op, u32& start, u32& end,
                      u32& sum) {
  return format == Format::Hex ? LoadIntelHexFile(chip, path, start, end, sum, op)
                               : LoadSRecordFile(chip, path, start, end, sum, op);
}

TEST(WholeObjectFile, ReadResultTellsWhatWasWrong) {
  const std::vector<u8> data = test::RandomBytes(0x50, 7);  // three S3 records, five HEX records
  const std::string hex = FormatIntelHex(data, kMainStart);
  const std::string srec = FormatSRecords(data, kMainStart);
  const std::string srecBody = WithoutEnd(srec);
  const std::string bom = "\xEF\xBB\xBF";
  std::string badDigit = hex;
  badDigit[hex.find('\n') + 12] = 'G';  // a data digit of line 2
  std::string srecBadDigit = srec;
  srecBadDigit[14] = 'z';
  const std::string hexOutOfChip = ":020000043000CA\n:0100000011EE\n";  // 0x30000000
  const std::string srecOutOfChip = "S3060900000011DF\n";              // 0x09000000

  struct Case {
    const char* name;
    Format format;
    std::string text;
    int damaged;
    int skipped;
    bool endRecord;
    bool notRecords;
    bool countMismatch;
    bool noData;
    std::vector<std::string> boxes;
  };
  const Case cases[] = {
      {"hex whole", Format::Hex, hex, 0, 0, true, false, false, false, {}},
      {"hex end record in the middle", Format::Hex, ":00000001FF\n" + WithoutEnd(hex), 0, 0, true, false, false, false, {}},
      {"hex without end record", Format::Hex, WithoutEnd(hex), 0, 0, false, false, false, false, {}},
      {"hex end record cut short", Format::Hex, WithoutEnd(hex) + ":00000001\n", 0, 0, false, false, false, false, {}},
      {"hex bad digit", Format::Hex, badDigit, 1, 0, true, false, false, false, {"Line 2 Data Error : 8."}},
      {"hex line cut short", Format::Hex, ":020000040800F2\n:10001000AABB\n:0100000011EE\n:00000001FF\n", 1, 0, true, false,
       false, false, {"Line 2 Data Error : 6."}},
      {"hex text line", Format::Hex, ":020000040800F2\nHello\n" + hex, 1, 0, true, false, false, false,
       {"Line 2 Data Error : 1."}},
      {"hex garbage", Format::Hex, "\x7f" "ELF\x02\x01\n:0100000011EE\nxyz\n", 0, 0, false, true, false, true, {}},
      {"hex garbage after empty lines", Format::Hex, "\n\r\n:zz\n:0100000011EE\n", 0, 0, false, true, false, true, {}},
      {"hex empty file", Format::Hex, "", 0, 0, false, false, false, true, {}},
      {"hex end record only", Format::Hex, ":00000001FF\n", 0, 0, true, false, false, true, {}},
      {"hex record out of the chip", Format::Hex, hexOutOfChip + hex, 0, 1, true, false, false, false,
       {"Address \"0x30000000\" is out of Chip!", "Line 2 Data Error : 7."}},
      {"hex only records out of the chip", Format::Hex, hexOutOfChip + ":00000001FF\n", 0, 1, true, false, false, true,
       {"Address \"0x30000000\" is out of Chip!", "Line 2 Data Error : 7."}},
      {"hex unused record type", Format::Hex, ":0100000601F8\n" + hex, 0, 1, true, false, false, false,
       {"Line 1 Data Error : 5."}},
      {"hex byte-order mark", Format::Hex, bom + hex, 0, 0, true, false, false, false, {}},
      {"hex byte-order mark on a later line", Format::Hex, ":020000040800F2\n" + bom + hex, 1, 0, true, false, false,
       false, {"Line 2 Data Error : 1."}},
      {"srec whole", Format::SRec, srec, 0, 0, true, false, false, false, {}},
      {"srec count agrees", Format::SRec, srecBody + CountRecord(3) + "\nS70500000000FA\n", 0, 0, true, false, false,
       false, {}},
      // A count that agrees after the last data record ends the file as well (srec_cat
      // writes no termination record when there is no start address).
      {"srec ends with a count that agrees", Format::SRec, srecBody + CountRecord(3) + "\n", 0, 0, true, false, false,
       false, {}},
      {"srec ends with a 24-bit count that agrees", Format::SRec, srecBody + CountRecord(3, '6') + "\n", 0, 0, true,
       false, false, false, {}},
      {"srec data after the count", Format::SRec,
       srecBody + CountRecord(3) + "\n" + srecBody.substr(0, srecBody.find('\n') + 1), 0, 0, false, false, false, false,
       {}},
      {"srec count disagrees", Format::SRec, srecBody + CountRecord(2) + "\nS70500000000FA\n", 0, 0, true, false, true,
       false, {}},
      {"srec 24-bit count disagrees", Format::SRec, srecBody + CountRecord(0x10003, '6') + "\n", 0, 0, false, false,
       true, false, {}},
      {"srec count before the records", Format::SRec, CountRecord(3) + "\n" + srec, 0, 0, true, false, true, false, {}},
      {"srec without termination", Format::SRec, srecBody, 0, 0, false, false, false, false, {}},
      {"srec termination cut short", Format::SRec, srecBody + "S7050000\n", 0, 0, false, false, false, false, {}},
      {"srec bad digit", Format::SRec, srecBadDigit, 1, 0, true, false, false, false, {"Line 1 Data Error : 8."}},
      {"srec count unreadable", Format::SRec, srecBody + "S503\n" + "S70500000000FA\n", 1, 0, true, false, false, false,
       {"Line 4 Data Error : 6."}},
      {"srec garbage", Format::SRec, "Some text\nS3090800001001020304D4\nS70500000000FA\n", 0, 0, false, true, false,
       true, {}},
      {"srec end record only", Format::SRec, "S70500000000FA\n", 0, 0, true, false, false, true, {}},
      {"srec record out of the chip", Format::SRec, srecOutOfChip + srec, 0, 1, true, false, false, false,
       {"Address \"0x09000000\" is out of Chip!", "Line 1 Data Error : 7."}},
      {"srec unused record type", Format::SRec, srecBody + "S4030000FC\n" + srec, 0, 1, true, false, false, false,
       {"Line 4 Data Error : 2."}},
      {"srec byte-order mark", Format::SRec, bom + srec, 0, 0, true, false, false, false, {}},
  };
  test::TempDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto chip = test::MakeChip();
    test::RecordingOperator op;
    test::WriteText(dir.File("f.obj"), c.text);
    u32 start = 1, end = 2, sum = 3;
    const ObjectReadResult r = Read(c.format, dir.File("f.obj"), *chip, op, start, end, sum);
    EXPECT_EQ(r.DamagedLines, c.damaged);
    EXPECT_EQ(r.SkippedRecords, c.skipped);
    EXPECT_EQ(r.BadLines, c.damaged + c.skipped);
    EXPECT_EQ(r.AbortedAt, 0);
    EXPECT_EQ(r.EndRecord, c.endRecord);
    EXPECT_EQ(r.NotRecords, c.notRecords);
    EXPECT_EQ(r.CountMismatch, c.countMismatch);
    EXPECT_EQ(r.StoredRecords == 0, c.noData);
    const bool refused = c.damaged != 0 || c.notRecords || c.countMismatch || c.noData;
    EXPECT_EQ(r.Refused(), refused);
    EXPECT_EQ(r.Complete(), !refused && c.skipped == 0 && c.endRecord);
    std::vector<std::string> boxes;
    for (const auto& m : op.messages) boxes.push_back(m.text);
    EXPECT_EQ(boxes, c.boxes);
    if (c.notRecords) {
      // Nothing read: no byte stored, no range of an earlier file left standing.
      EXPECT_EQ(chip->MainFlashImage[0], 0xFF);
      EXPECT_EQ(start, 0xFFFFFFFFu);
      EXPECT_EQ(end, 0u);
      EXPECT_EQ(sum, 0u);
    }
    if (!refused) {
      // What was taken is the file's data, whatever came before or was skipped.
      EXPECT_TRUE(std::equal(data.begin(), data.end(), chip->MainFlashImage.begin()));
    }
  }
}

// Abort on a record the job cannot use ends the read there: nothing counts as skipped.
TEST(WholeObjectFile, AbortOnARecordOutOfTheChipRefusesTheFile) {
  test::TempDir dir;
  const struct {
    Format format;
    std::string text;
  } cases[] = {{Format::Hex, ":020000040800F2\n:0100000011EE\n:020000043000CA\n:0100000011EE\n:00000001FF\n"},
               {Format::SRec, "S30508000100F1\nS3060900000011DF\nS70500000000FA\n"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    auto chip = test::MakeChip();
    test::RecordingOperator op;
    op.answers = {MsgAnswer::Ok, MsgAnswer::Abort};  // the address box, then the line box
    test::WriteText(dir.File("f.obj"), c.text);
    u32 start = 0, end = 0, sum = 0;
    const ObjectReadResult r = Read(c.format, dir.File("f.obj"), *chip, op, start, end, sum);
    EXPECT_EQ(r.AbortedAt, c.format == Format::Hex ? 4 : 2);
    EXPECT_EQ(r.SkippedRecords, 0);
    EXPECT_EQ(r.DamagedLines, 0);
    EXPECT_TRUE(r.Refused());
    EXPECT_EQ(op.messages.size(), 2u);
  }
}

// A file that stores nothing reports no range, not the one its caller held before, and is
// refused.
TEST(WholeObjectFile, AFileWithoutDataReportsNoRange) {
  test::TempDir dir;
  const struct {
    Format format;
    const char* text;
  } cases[] = {{Format::Hex, ":00000001FF\n"}, {Format::SRec, "S00600004844521B\nS9030000FC\n"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    auto chip = test::MakeChip();
    test::RecordingOperator op;
    test::WriteText(dir.File("f.obj"), c.text);
    u32 start = kMainStart, end = kMainStart + 0xFF, sum = 0x1234;
    const ObjectReadResult r = Read(c.format, dir.File("f.obj"), *chip, op, start, end, sum);
    EXPECT_TRUE(r.Refused());
    EXPECT_EQ(r.StoredRecords, 0u);
    EXPECT_EQ(start, 0xFFFFFFFFu);
    EXPECT_EQ(end, 0u);
    EXPECT_EQ(sum, 0u);
  }
}

TEST(WholeObjectFile, FifoAndFolderAreNotOpened) {
  test::TempDir dir;
  ASSERT_EQ(::mkfifo(dir.File("pipe.hex").c_str(), 0600), 0);
  for (const std::string& path : {dir.File("pipe.hex"), dir.Path().string()}) {
    auto chip = test::MakeChip();
    test::RecordingOperator op;
    u32 start = 0, end = 0, sum = 0;
    try {
      LoadIntelHexFile(*chip, path, start, end, sum, op);
      ADD_FAILURE() << path << " was read";
    } catch (const EInOutError& e) {
      EXPECT_EQ(std::string(e.what()), "\"" + path + "\" is not a regular file and has not been opened!");
    }
  }
}

// Every byte value at every position of the eight-at-a-time steps and of the tail.
TEST(WholeObjectFile, HexDigitsOnlyFindsEveryOtherCharacter) {
  const std::string digits = "0123456789abcdefABCDEF0123";  // 26: three steps and a tail of 2
  for (int c = 0; c < 256; ++c) {
    const bool hex = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
    for (std::size_t at = 0; at < digits.size(); ++at) {
      std::string line = digits;
      line[at] = static_cast<char>(c);
      ASSERT_EQ(HexDigitsOnly(line, 0, line.size()), hex) << c << " at " << at;
      // Outside the range asked about it does not count.
      ASSERT_TRUE(HexDigitsOnly(line, at + 1, line.size())) << c << " at " << at;
      ASSERT_TRUE(HexDigitsOnly(line, 0, at)) << c << " at " << at;
    }
  }
}

TEST(WholeObjectFile, CountMismatchNamesBothNumbers) {
  test::TempDir dir;
  auto chip = test::MakeChip();
  test::RecordingOperator op;
  test::WriteText(dir.File("f.s19"), WithoutEnd(FormatSRecords(std::vector<u8>(0x21, 1), kMainStart)) +
                                         CountRecord(0x105) + "\nS70500000000FA\n");
  u32 start = 0, end = 0, sum = 0;
  const ObjectReadResult r = LoadSRecordFile(*chip, dir.File("f.s19"), start, end, sum, op);
  EXPECT_TRUE(r.CountMismatch);
  EXPECT_EQ(r.DeclaredCount, 0x105u);
  EXPECT_EQ(r.CountedRecords, 2u);
}

}  // namespace
}  // namespace qx
