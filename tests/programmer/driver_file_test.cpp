// Flash-driver files: the lookup table, loading with descrambling, the rejections, and the
// segments the commands carry.
#include <gtest/gtest.h>

#include "base/ByteOrder.h"
#include "chips/MakerRegistry.h"
#include "programmer/FlashDriver.h"
#include "programmer/UnitStep.h"
#include "tests/programmer/wire_support.h"
#include "tests/support/RecordingOperator.h"
#include "tests/unitsim/SimFiles.h"
#include "texts/Texts.h"

namespace qx::wiretest {
namespace {

TEST(DriverTable, FirstMatchingPrefixWinsCaseSensitive) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"AC7840x", "FDrvAC784X"}, {"AC7801x", "FDrvAC78X"}, {"ac7840", ""},      {"LE5010A", "FDrvIndieA"},
      {"LE5110", "FDrvIndieA"},  {"IND832", "FDrvIndieA"}, {"ML630Q448x", "FDrvMxQ448"}, {"ML630Q46x", "FDrvML6xQ"}, {"AC7", ""},
      {"SA32B1x", "DRVSILRGY2X"}, {"", ""}};
  for (const auto& [chip, stem] : cases) EXPECT_EQ(DriverStemOf(chip), stem) << chip;
  // The simulator keeps its own copy of the table; the two agree on every prefix.
  for (const auto& row : DriverFileTable()) EXPECT_EQ(sim::DriverStemFor(row.Prefix), DriverStemOf(row.Prefix));
}

TEST(DriverTable, PathAndNoMatchMessage) {
  test::RecordingOperator op;
  EXPECT_EQ(GetDriverFileName("AC7840x", "/opt/qx/", op), "/opt/qx/DromixDRVs/FDrvAC784X.KDV");
  EXPECT_TRUE(op.messages.empty());
  EXPECT_EQ(GetDriverFileName("XYZ", "/opt/qx/", op), "");
  ASSERT_EQ(op.messages.size(), 1u);
  EXPECT_EQ(op.messages[0].text, Text(TextId::DriverChipNotExists));
}

class DriverLoad : public ::testing::Test {
 protected:
  void Write(const Bytes& bytes) {
    std::filesystem::create_directories(dir.Dir() + "DromixDRVs");
    ASSERT_TRUE(sim::WriteBytesFile(dir.Dir() + "DromixDRVs/FDrvAC78X.KDV", bytes));
  }
  // Family 0x04 puts the common segment furthest into a packet, at 4440.
  void Load(u8 family = 0x04) { LoadFlashDriver(*driver, "AC7801", family, dir.Dir(), op); }
  void ExpectRejected() {
    EXPECT_EQ(driver->DriverLoaded, 0);
    ASSERT_EQ(op.messages.size(), 1u);
    EXPECT_EQ(op.messages[0].text, Text(TextId::DriverDataCheckError));
  }
  TempDir dir;
  test::RecordingOperator op;
  std::unique_ptr<FlashDriver> driver = std::make_unique<FlashDriver>();
  sim::DriverFileSpec spec;
};

TEST_F(DriverLoad, ValidFileIsDescrambled) {
  const Bytes plain = sim::MakePlainDriverFile(spec);
  Write(sim::ScrambleDriverFile(plain));
  Load();
  EXPECT_EQ(driver->DriverLoaded, 1);
  EXPECT_TRUE(op.messages.empty());
  EXPECT_EQ(driver->DriverSize, plain.size());
  EXPECT_TRUE(std::equal(plain.begin(), plain.end(), driver->Image.begin()));
  EXPECT_TRUE(CheckFlashDriver(*driver));
}

TEST_F(DriverLoad, LongBodyRowsWrapTheRowNumber) {
  spec.BodyLength = 16000;  // rows beyond 255
  const Bytes plain = sim::MakePlainDriverFile(spec);
  Write(sim::ScrambleDriverFile(plain));
  Load();
  EXPECT_EQ(driver->DriverLoaded, 1);
  EXPECT_TRUE(std::equal(plain.begin(), plain.end(), driver->Image.begin()));
}

TEST_F(DriverLoad, OneByteTooLongOrShortIsRejected) {
  for (int delta : {+1, -1}) {
    op.messages.clear();
    Bytes f = sim::MakeDriverFile(spec);
    if (delta > 0) f.push_back(0x00); else f.pop_back();
    Write(f);
    Load();
    ExpectRejected();
  }
}

TEST_F(DriverLoad, CorruptionsAreRejected) {
  struct Case {
    const char* name;
    std::function<void(Bytes&)> corrupt;  // on the plain file
  };
  const std::vector<Case> cases = {
      {"magic", [](Bytes& f) { f[0] = 'x'; }},
      {"body", [](Bytes& f) { f[70] ^= 1; }},
      {"length field", [](Bytes& f) { PutLe16(f, 12, 255); }},
      {"segment leaves the image", [](Bytes& f) { PutLe16(f, 32, 0x3FF0); PutLe16(f, 34, 0x20); }},
      {"segment too long for the packet", [](Bytes& f) { PutLe16(f, 44, 64); PutLe16(f, 46, 1959); }},
      {"common segment too long", [](Bytes& f) { PutLe16(f, 48, 64); PutLe16(f, 50, 1703); }},
  };
  for (const auto& c : cases) {
    op.messages.clear();
    Bytes f = sim::MakePlainDriverFile(spec);
    c.corrupt(f);
    Write(sim::ScrambleDriverFile(f));
    Load();
    SCOPED_TRACE(c.name);
    ExpectRejected();
  }
}

// A segment has to fit where the loaded chip's family copies it: the common segment goes
// behind the programming block (4440) only for family 0x04, elsewhere no further than 1112.
TEST_F(DriverLoad, SegmentFitFollowsTheFamily) {
  struct Case {
    const char* name;
    u16 commonLength;
    u8 family;
    bool loads;
  };
  const Case cases[] = {
      {"fits at 1112, family 0x10", 1703, 0x10, true},
      {"fits at 1112, family 0x00", 1703, 0x00, true},
      {"fits at 1112, family 0x18", 1703, 0x18, true},
      {"too long for 4440, family 0x04", 1703, 0x04, false},
      {"longest at 4440, family 0x04", 1702, 0x04, true},
      {"too long for 1112, family 0x10", 5031, 0x10, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    op.messages.clear();
    Bytes f = sim::MakePlainDriverFile(spec);
    PutLe16(f, 48, 64);
    PutLe16(f, 50, c.commonLength);
    Write(sim::ScrambleDriverFile(f));
    Load(c.family);
    EXPECT_EQ(driver->DriverLoaded, c.loads ? 1 : 0);
    EXPECT_EQ(op.messages.size(), c.loads ? 0u : 1u);
  }
}

// Where a request carries the common segment behind the step segment, the step segment has
// the room up to it: 1024 bytes in the chip commands of families 0x00, 0x18 and 0x04, 256 in
// the programming blocks of 0x04. A longer one would go out cut, the common segment in its
// place, so such a file is refused for those families and only for them. The file is not
// damaged: the message names it, the segment, its length and the room.
TEST_F(DriverLoad, AStepSegmentKeepsToItsRoomBeforeTheCommonSegment) {
  struct Case {
    const char* name;
    u16 entryAt;
    u16 length;
    u8 family;
    const char* segment;  // refused: the segment's name, and its room
    u16 room;
  };
  const Case cases[] = {
      {"blank check 1024, family 0x00", 32, 1024, 0x00, nullptr, 0},
      {"blank check 1025, family 0x00", 32, 1025, 0x00, "blank check", 1024},
      {"checksum read 1025, family 0x04", 36, 1025, 0x04, "checksum read", 1024},
      {"erase 1025, family 0x18", 40, 1025, 0x18, "erase", 1024},
      {"blank check 1025, family 0x10", 32, 1025, 0x10, nullptr, 0},
      {"programming 256, family 0x04", 44, 256, 0x04, nullptr, 0},
      {"programming 257, family 0x04", 44, 257, 0x04, "programming", 256},
      {"programming 257, family 0x00", 44, 257, 0x00, nullptr, 0},
      {"option write 1500, family 0x00", 48, 1500, 0x00, nullptr, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    op.messages.clear();
    Bytes f = sim::MakePlainDriverFile(spec);
    PutLe16(f, c.entryAt, 64);
    PutLe16(f, c.entryAt + 2u, c.length);
    Write(sim::ScrambleDriverFile(f));
    Load(c.family);
    EXPECT_EQ(driver->DriverLoaded, c.segment == nullptr ? 1 : 0);
    if (c.segment == nullptr) {
      EXPECT_TRUE(op.messages.empty());
      continue;
    }
    ASSERT_EQ(op.messages.size(), 1u);
    EXPECT_EQ(op.messages[0].text, "Flash driver \"" + dir.Dir() + "DromixDRVs/FDrvAC78X.KDV\": its " + c.segment +
                                       " segment is " + std::to_string(c.length) +
                                       " bytes long, but this chip family has room for " + std::to_string(c.room) +
                                       " bytes before the common segment. The file is not damaged; it does not suit "
                                       "this chip family!");
  }
}

// A file damaged elsewhere as well is called damaged, whatever its step segments.
TEST_F(DriverLoad, ADamagedFileWithALongStepSegmentIsDamaged) {
  Bytes f = sim::MakePlainDriverFile(spec);
  PutLe16(f, 32, 64);
  PutLe16(f, 34, 1025);
  PutLe16(f, 44, 0x3FF0);
  PutLe16(f, 46, 0x20);  // the programming segment leaves the image
  Write(sim::ScrambleDriverFile(f));
  Load(0x00);
  ExpectRejected();
}

// DriverSize is the length of the file last read: a driver file that cannot be read leaves
// it as it was.
TEST_F(DriverLoad, UnreadableFileKeepsTheSizeOfTheLastOneRead) {
  const Bytes good = sim::MakeDriverFile(spec);
  Write(good);
  Load();
  ASSERT_EQ(driver->DriverLoaded, 1);
  ASSERT_EQ(driver->DriverSize, good.size());
  const std::string path = dir.Dir() + "DromixDRVs/FDrvAC78X.KDV";
  std::filesystem::remove(path);
  // A regular file by its type whose reads fail.
  std::filesystem::create_symlink("/proc/self/mem", path);
  op.messages.clear();
  Load();
  ExpectRejected();
  EXPECT_EQ(driver->DriverSize, good.size());
}

TEST_F(DriverLoad, OversizeAndTinyFilesAreRejected) {
  for (std::size_t size : {DriverFileMaxSize + 1, std::size_t{20000}, std::size_t{1}, std::size_t{103}}) {
    op.messages.clear();
    Write(Bytes(size, 0x44));
    Load();
    SCOPED_TRACE(size);
    ExpectRejected();
  }
}

TEST_F(DriverLoad, MissingFileAndUnknownChip) {
  Load();
  ASSERT_EQ(op.messages.size(), 1u);
  EXPECT_EQ(op.messages[0].text, Tx(TextId::DriverFileNotExists, dir.Dir() + "DromixDRVs/FDrvAC78X.KDV"));
  op.messages.clear();
  LoadFlashDriver(*driver, "NOPE", 0x04, dir.Dir(), op);
  ASSERT_EQ(op.messages.size(), 2u);
  EXPECT_EQ(op.messages[1].text, Text(TextId::DriverNotFound));
  EXPECT_TRUE(driver->DriverFilePath.empty());
  EXPECT_EQ(driver->DriverLoaded, 0);
}

TEST_F(DriverLoad, SegmentsBySteps) {
  spec.Segments[1].Length = 0;  // checksum read: empty entry
  const Bytes plain = sim::MakePlainDriverFile(spec);
  Write(sim::ScrambleDriverFile(plain));
  Load();
  ASSERT_EQ(driver->DriverLoaded, 1);
  auto slot = std::make_unique<std::array<u8, PacketSlotSize>>();
  struct Case {
    u8 step;
    u16 length;
    std::size_t from;
  };
  for (const Case c : {Case{StepBlankCheck, 16, 64}, Case{StepErase, 16, 96}, Case{StepProgramMain, 32, 112},
                       Case{StepProgramEep, 32, 112}, Case{StepWriteOption, 48, 144}, Case{StepReadChecksum, 0, 0},
                       Case{StepReadOption, 0, 0}, Case{StepVerifyMain, 0, 0}}) {
    slot->fill(0);
    EXPECT_EQ(CopyDriverStepSegment(*driver, c.step, *slot, 100), c.length) << int(c.step);
    EXPECT_TRUE(std::equal(plain.begin() + c.from, plain.begin() + c.from + c.length, slot->begin() + 100));
  }
  EXPECT_EQ(CopyDriverCommonSegment(*driver, *slot, 4440), 48u);
}

}  // namespace
}  // namespace qx::wiretest
