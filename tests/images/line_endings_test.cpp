// Text object files end their lines with LF, CR LF or CR alone, in any mix.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "ObjectFileFixture.h"
#include "images/IntelHexFile.h"
#include "images/SRecordFile.h"
#include "images/TextLineReader.h"

namespace qx {
namespace {

std::vector<std::string> ReadLines(const std::string& path) {
  TextLineReader reader(path);
  std::vector<std::string> lines;
  std::string_view line;
  while (reader.Next(line)) lines.emplace_back(line);
  return lines;
}

TEST(TextLineReader, EveryLineEndCountsOnce) {
  struct Case {
    const char* name;
    std::string text;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"LF", "a\nb\n", {"a", "b"}},
      {"CR LF", "a\r\nb\r\n", {"a", "b"}},
      {"CR", "a\rb\r", {"a", "b"}},
      {"mixed", "a\rb\r\nc\nd", {"a", "b", "c", "d"}},
      {"empty lines", "a\r\r\nb\n\n", {"a", "", "b", ""}},
      {"LF then CR", "a\n\rb", {"a", "", "b"}},
      {"lone CR", "\r", {""}},
      {"nothing", "", {}},
  };
  test::TempDir dir;
  for (const Case& c : cases) {
    test::WriteText(dir.File("t.txt"), c.text);
    EXPECT_EQ(ReadLines(dir.File("t.txt")), c.lines) << c.name;
  }
}

// Files larger than one read: with the four prefixes, some CR LF falls across the end of a
// read whatever the reader's buffer size is.
TEST(TextLineReader, CrLfSplitAcrossReadsIsOneLineEnd) {
  test::TempDir dir;
  constexpr std::size_t kLines = 300000;  // 1.2 MB
  for (std::size_t prefix = 0; prefix < 4; ++prefix) {
    std::string text(prefix, 'p');
    text += '\n';
    for (std::size_t i = 0; i < kLines; ++i) text += "ab\r\n";
    test::WriteText(dir.File("big.txt"), text);
    const auto lines = ReadLines(dir.File("big.txt"));
    ASSERT_EQ(lines.size(), kLines + 1) << prefix;
    EXPECT_TRUE(std::all_of(lines.begin() + 1, lines.end(), [](const std::string& l) { return l == "ab"; }))
        << prefix;
  }
}

// Each long line comes back whole up to the longest kept (cut there beyond it), the line
// after it intact, and the buffer holds no more than about twice the longest line: a
// three-line file needs no more than one read's room.
TEST(TextLineReader, TheBufferGrowsWithTheLongestLineOnly) {
  constexpr std::size_t kRead = TextLineReader::ReadSize;
  constexpr std::size_t kMax = TextLineReader::MaxLineLength;
  const std::size_t lengths[] = {3, kRead - 1, kRead, kRead + 1, 3 * kRead, kMax - 1, kMax, kMax + 1, 3 * kMax};
  test::TempDir dir;
  for (const std::size_t length : lengths) {
    for (const auto& [name, end] : {std::pair{"LF", "\n"}, std::pair{"CR LF", "\r\n"}, std::pair{"CR", "\r"}}) {
      SCOPED_TRACE(testing::Message() << length << " then " << name);
      std::string text = "a" + std::string(end);
      for (std::size_t i = 0; i < length; ++i) text += static_cast<char>('0' + i % 10);
      text += std::string(end) + "z" + end;
      test::WriteText(dir.File("t.txt"), text);
      TextLineReader reader(dir.File("t.txt"));
      std::string_view line;
      ASSERT_TRUE(reader.Next(line));
      EXPECT_EQ(line, "a");
      ASSERT_TRUE(reader.Next(line));
      EXPECT_EQ(line.size(), std::min(length, kMax));
      EXPECT_EQ(line, std::string_view(text).substr(1 + std::strlen(end), std::min(length, kMax)));
      ASSERT_TRUE(reader.Next(line));
      EXPECT_EQ(line, "z");
      EXPECT_FALSE(reader.Next(line));
      EXPECT_LE(reader.Capacity(), std::max(kRead, 2 * std::min(length, kMax)));
    }
  }
}

TEST(ObjectFileLineEnds, CrOnlyFilesLoadEveryRecord) {
  struct Case {
    const char* name;
    bool intelHex;
    std::string text;
    std::vector<std::pair<u32, u8>> bytes;  // image index, value
    u32 sum;
  };
  const Case cases[] = {
      {"hex CR", true, ":020000040800F2\r:0100000011EE\r:02010000A1A2BA\r:00000001FF\r",
       {{0, 0x11}, {0x101, 0xA2}}, 0x11u + 0xA1 + 0xA2},
      {"hex mixed", true, ":020000040800F2\r\n:0100000011EE\r:02010000A1A2BA\n:00000001FF",
       {{0, 0x11}, {0x101, 0xA2}}, 0x11u + 0xA1 + 0xA2},
      {"srec CR", false, "S00600004844521B\rS3090800001001020304D4\rS3090800002005060708B4\rS70500000000FA\r",
       {{0x10, 0x01}, {0x13, 0x04}, {0x20, 0x05}, {0x23, 0x08}}, 1u + 2 + 3 + 4 + 5 + 6 + 7 + 8},
  };
  test::TempDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto chip = test::MakeChip();
    test::RecordingOperator op;
    test::WriteText(dir.File("o.txt"), c.text);
    u32 start = 0, end = 0, sum = 0;
    const bool ok = (c.intelHex ? LoadIntelHexFile(*chip, dir.File("o.txt"), start, end, sum, op)
                                : LoadSRecordFile(*chip, dir.File("o.txt"), start, end, sum, op))
                        .Complete();
    EXPECT_TRUE(ok);
    EXPECT_TRUE(op.messages.empty());
    for (const auto& [at, value] : c.bytes) EXPECT_EQ(chip->MainFlashImage[at], value) << at;
    EXPECT_EQ(sum, c.sum);
  }
}

}  // namespace
}  // namespace qx
