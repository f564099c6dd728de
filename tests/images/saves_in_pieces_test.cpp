// Saves go out in pieces through one buffer: the file holds exactly what the whole form of
// the file holds, wherever the pieces cut it, and a save that fails after pieces went out
// keeps the file it was to replace.
#include <gtest/gtest.h>

#include <numeric>

#include "base/Errors.h"
#include "images/BinaryFile.h"
#include "images/FileReplace.h"
#include "images/IntelHexFile.h"
#include "images/SRecordFile.h"
#include "tests/images/ObjectFileFixture.h"
#include "tests/support/FileSizeLimit.h"

namespace qx {
namespace {

constexpr std::size_t kPiece = ReplacingFile::PieceSize;
const std::vector<u8> kPrevious(300, 0xA5);

TEST(ReplacingFile, AppendsOfAnySizeArriveWholeInOrderAndOnlyAtTheCommit) {
  const struct {
    const char* name;
    std::vector<std::size_t> appends;
  } cases[] = {
      {"nothing", {}},
      {"one byte", {1}},
      {"one byte short of a piece", {kPiece - 1}},
      {"a piece", {kPiece}},
      {"a piece and a byte", {kPiece + 1}},
      {"a piece filled in two", {kPiece - 7, 7}},
      {"a piece crossed in two", {kPiece - 7, 8}},
      {"a long run after a part, then the rest", {5, 3 * kPiece + 11, kPiece - 16, 1}},
      {"many short records", std::vector<std::size_t>(3000, 77)},
  };
  test::TempDir dir;
  const std::string path = dir.File("out.bin");
  unsigned seed = 1;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    test::WriteFile(path, kPrevious);
    const std::size_t total = std::accumulate(c.appends.begin(), c.appends.end(), std::size_t{0});
    const std::vector<u8> bytes = test::RandomBytes(total, seed++);
    ReplacingFile file(path);
    std::size_t at = 0;
    for (const std::size_t n : c.appends) {
      file.Append(std::span<const u8>(bytes).subspan(at, n));
      at += n;
    }
    EXPECT_EQ(test::ReadFile(path), kPrevious);
    file.Commit();
    EXPECT_EQ(test::ReadFile(path), bytes);
    EXPECT_EQ(dir.EntryCount(), 1u);
  }
}

TEST(ReplacingFile, DroppedBeforeTheCommitLeavesThePreviousFileAndNoTemporary) {
  test::TempDir dir;
  const std::string path = dir.File("out.bin");
  test::WriteFile(path, kPrevious);
  {
    ReplacingFile file(path);
    file.Append(test::RandomBytes(3 * kPiece, 2));
  }
  EXPECT_EQ(test::ReadFile(path), kPrevious);
  EXPECT_EQ(dir.EntryCount(), 1u);
}

enum class Format { Binary, IntelHex, SRecords };

struct Save {
  const char* name;
  Format format;
  u32 start;
};

constexpr Save kSaves[] = {
    {"binary", Format::Binary, 0x08000000},
    {"Intel HEX from 0 (16-byte records up to 64 KiB)", Format::IntelHex, 0},
    {"Intel HEX from 0x08000000", Format::IntelHex, 0x08000000},
    {"S-records from 0 (S1 up to 64 KiB)", Format::SRecords, 0},
    {"S-records from 0x00100000 (S2)", Format::SRecords, 0x00100000},
    {"S-records from 0x08000000 (S3)", Format::SRecords, 0x08000000},
};

// What the file of a save must hold: the text the whole-text writers make, or the bytes.
std::vector<u8> WholeForm(const Save& s, std::span<const u8> data) {
  std::string text;
  switch (s.format) {
    case Format::Binary: return {data.begin(), data.end()};
    case Format::IntelHex: text = FormatIntelHex(data, s.start); break;
    case Format::SRecords: text = FormatSRecords(data, s.start); break;
  }
  return {text.begin(), text.end()};
}

void SaveRange(const Save& s, const ChipModel& chip, const std::string& path, u32 size) {
  switch (s.format) {
    case Format::Binary: return SaveBinaryFile(path, chip.MainFlashImage, 0, size - 1);
    case Format::IntelHex: return SaveIntelHexFile(chip, path, s.start, s.start + size - 1);
    case Format::SRecords: return SaveSRecordFile(chip, path, s.start, s.start + size - 1);
  }
}

class SavesInPieces : public ::testing::Test {
 protected:
  // The main window at start, size bytes of random data in it.
  std::vector<u8> Fill(u32 start, u32 size, unsigned seed) {
    chip->Params.MainFlashStart = start;
    chip->Params.MainFlashSize = size;
    chip->Params.MainFlashEnd = start + size - 1;
    const std::vector<u8> data = test::RandomBytes(size, seed);
    std::copy(data.begin(), data.end(), chip->MainFlashImage.begin());
    return data;
  }

  std::unique_ptr<ChipModel> chip = test::MakeChip();
  test::TempDir dir;
};

TEST_F(SavesInPieces, EveryFormatWritesWhatItsWholeFormHoldsAroundThePieceSizeAndAt4MiB) {
  // Data sizes around a piece, a text of about one piece (27000 bytes as HEX or S3), and
  // the largest main flash.
  const u32 sizes[] = {1, 27000, kPiece - 1, kPiece, kPiece + 1, 3 * kPiece + 5, 4 * 1024 * 1024};
  unsigned seed = 10;
  for (const Save& s : kSaves) {
    for (const u32 size : sizes) {
      SCOPED_TRACE(std::string(s.name) + ", " + std::to_string(size) + " bytes");
      const std::vector<u8> data = Fill(s.start, size, seed++);
      const std::string path = dir.File("saved");
      test::WriteFile(path, kPrevious);
      SaveRange(s, *chip, path, size);
      const std::vector<u8> file = test::ReadFile(path);
      ASSERT_EQ(file.size(), WholeForm(s, data).size());
      EXPECT_TRUE(file == WholeForm(s, data));
    }
  }
  EXPECT_EQ(dir.EntryCount(), 1u);
}

TEST_F(SavesInPieces, ASaveThatFailsAfterItsFirstPiecesKeepsThePreviousFile) {
  Fill(0x08000000, 4 * 1024 * 1024, 3);
  for (const Save& s : kSaves) {
    if (s.start != 0x08000000) continue;
    SCOPED_TRACE(s.name);
    const std::string path = dir.File("saved");
    test::WriteFile(path, kPrevious);
    try {
      const test::FileSizeLimit full(2 * kPiece + 100);  // the disk fills in the third piece
      SaveRange(s, *chip, path, 4 * 1024 * 1024);
      ADD_FAILURE() << "the save reported success";
    } catch (const EInOutError& e) {
      EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
    }
    EXPECT_EQ(test::ReadFile(path), kPrevious);
    EXPECT_EQ(dir.EntryCount(), 1u);  // nothing of the failed save is left beside it
  }
}

TEST(FilePieceReader, ReadsAFileOfAnySizeWholeAndNoFurtherThanItsLimit) {
  test::TempDir dir;
  const std::string path = dir.File("in.bin");
  const struct {
    std::size_t size, limit;
  } cases[] = {{0, 100}, {1, 100}, {kPiece, 1u << 24}, {kPiece + 1, 1u << 24}, {3 * kPiece + 5, 1u << 24},
               {3 * kPiece + 5, kPiece + 3}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.size) + " bytes, limit " + std::to_string(c.limit));
    const std::vector<u8> bytes = test::RandomBytes(c.size, static_cast<unsigned>(c.size));
    test::WriteFile(path, bytes);
    const std::size_t expected = std::min(c.size, c.limit);
    EXPECT_EQ(ReadFileBytes(path, c.limit), std::vector<u8>(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(expected)));
    FilePieceReader reader(path, c.limit);
    EXPECT_EQ(reader.Size(), expected);
    std::size_t pieces = 0, total = 0;
    for (std::span<const u8> p = reader.Next(); !p.empty(); p = reader.Next()) {
      EXPECT_LE(p.size(), kPiece);
      total += p.size();
      ++pieces;
    }
    EXPECT_EQ(total, expected);
    EXPECT_EQ(pieces, (expected + kPiece - 1) / kPiece);
  }
  EXPECT_THROW(FilePieceReader(dir.File("missing"), 100), EInOutError);
  EXPECT_THROW(FilePieceReader(dir.Path().string(), 100), EInOutError);
}

}  // namespace
}  // namespace qx
