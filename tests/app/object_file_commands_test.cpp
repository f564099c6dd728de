// The object-file commands: files made by objcopy and srec_cat load and report their range
// and sums, files we save convert back to the same bytes, binary files land at their offset
// inside the chip, and a file that cannot be read changes nothing.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <numeric>
#include <ostream>

#include "tests/app/AppTestSupport.h"
#include "tests/support/FileSizeLimit.h"
#include "app/FileDialogs.h"
#include "app/ObjectFileCommands.h"
#include "base/Errors.h"
#include "images/Checksums.h"
#include "images/IntelHexFile.h"

namespace qx {
namespace {

using test::Hex8;

u32 Sum(const std::vector<u8>& v) { return std::accumulate(v.begin(), v.end(), 0u); }

// The load-offset dialog: answers with the offset set, or leaves the preset.
class OffsetAnswering : public test::ViewRecorder {
 public:
  void AskBinaryOffset() override {
    ++asks;
    if (answer && model != nullptr) model->BinOffset = *answer;
  }
  ChipModel* model = nullptr;
  std::optional<u32> answer;
  int asks = 0;
};

class ObjectFiles : public ::testing::Test {
 protected:
  ObjectFileContext Ctx() {
    op.model = chip.get();
    return {*chip, log, op};
  }
  // Random data whose last byte is not blank, so the programmed size ends with it.
  std::vector<u8> Data(std::size_t n, unsigned seed) {
    auto d = test::RandomBytes(n, seed);
    d.back() = 0x5A;
    return d;
  }
  std::vector<u8> MainBytes(u32 index, std::size_t n) const {
    return {chip->MainFlashImage.begin() + index, chip->MainFlashImage.begin() + index + n};
  }
  // A chip whose binary images run from the main-flash start to the end of its data flash:
  // 32 KiB of main flash at 0x03000000, 8 KiB of data flash at 0x03026000.
  void MainAndDataFlashBinaries() {
    ChipParams& p = chip->Params;
    p.MainFlashStart = 0x03000000;
    p.MainFlashSize = 0x8000;
    p.MainFlashEnd = 0x03007FFF;
    p.EepStart = 0x03026000;
    p.EepEnd = 0x03027FFF;
    p.EepSize = 0x2000;
    chip->Control.EraseFlags = 0x80;
  }

  std::unique_ptr<ChipModel> chip = test::ChosenChip();
  MessageLog log = test::FixedClockLog();
  OffsetAnswering op;
  test::TempDir dir;
  std::optional<u32>& offset = op.answer;
  int& offsetAsks = op.asks;
};

TEST(ObjectFormat, ChosenByTheUpperCasedExtensionOfTheFileName) {
  struct Case {
    const char* path;
    ObjectFormat object, eep;
  } cases[] = {
      {"app.s19", ObjectFormat::SRecord, ObjectFormat::SRecord}, {"APP.Hex", ObjectFormat::IntelHex, ObjectFormat::IntelHex},
      {"a.S32", ObjectFormat::SRecord, ObjectFormat::SRecord},   {"a.s37", ObjectFormat::SRecord, ObjectFormat::Unknown},
      {"a.Mot", ObjectFormat::SRecord, ObjectFormat::SRecord},   {"/x/fw.bin", ObjectFormat::Binary, ObjectFormat::Binary},
      {"app.s28", ObjectFormat::Unknown, ObjectFormat::Unknown}, {"/x.hex/app", ObjectFormat::Unknown, ObjectFormat::Unknown},
      {"app.hex.txt", ObjectFormat::Unknown, ObjectFormat::Unknown},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ObjectFormatOf(c.path), c.object) << c.path;
    EXPECT_EQ(EepFileFormatOf(c.path), c.eep) << c.path;
  }
}

TEST(FileDialogs, DesignedFiltersInQtForm) {
  const FileDialogDesign open = ObjectOpenDialog();
  ASSERT_EQ(open.Filters.size(), 5u);
  EXPECT_EQ(open.Filters[open.SelectedFilter - 1], "All Hex/Binary Files (*.Hex *.S1* *.S3* *.Bin)");
  EXPECT_EQ(open.Filters[3], "All Motorola Hex Files (*.S19 *.S3*)");
  const FileDialogDesign save = SaveDialog();
  EXPECT_EQ(FilterIndexOf(save, "Intel Hex Files (*.HEX)"), 2);
  EXPECT_EQ(FilterIndexOf(save, "Motorola S-record Files (*.S19)"), 3);
  EXPECT_EQ(FilterIndexOf(save, "nothing"), 0);
  EXPECT_EQ(save.DefaultSuffix, "bin");
  EXPECT_EQ(EepOpenDialog().Filters[1], "All Object Files (*.S19 *.S3* *.HEX)");
}

TEST_F(ObjectFiles, EveryLoadNeedsAChosenChip) {
  chip->ChipSelected = 0;
  EXPECT_FALSE(ChipChosen(*chip, op));
  ASSERT_EQ(op.messages.size(), 1u);
  EXPECT_EQ(op.messages[0].text, "Please select chip type first!");
  EXPECT_EQ(op.messages[0].kind, MsgKind::Information);
  chip->ChipSelected = 1;
  EXPECT_TRUE(ChipChosen(*chip, op));
  EXPECT_EQ(op.messages.size(), 1u);
}

struct ToolCase {
  const char* name;
  const char* tool;
  const char* command;  // %IN, %OUT, %ADDR
  const char* file;
  u32 offset;
  std::size_t size;
  u8 maker;
};
// Cases print as their name, not as their bytes.
void PrintTo(const ToolCase& c, std::ostream* os) { *os << c.name; }

class MadeByTool : public ObjectFiles, public ::testing::WithParamInterface<ToolCase> {};

TEST_P(MadeByTool, LoadsAndLogsItsRangeSumsAndSize) {
  const ToolCase& c = GetParam();
  QX_NEED_TOOL(c.tool);
  chip->Params.ManufacturerIndex = c.maker;
  const auto data = Data(c.size, static_cast<unsigned>(c.size));
  test::WriteFile(dir.File("in.bin"), data);
  const u32 addr = test::kMainStart + c.offset;
  const std::string cmd = test::ToolCommand(c.command, dir.File("in.bin"), dir.File(c.file), addr);
  ASSERT_EQ(test::Run(cmd), 0) << cmd;

  const ObjectCommandResult r = OpenObjectFile(Ctx(), dir.File(c.file));
  EXPECT_TRUE(r.Done);
  EXPECT_TRUE(op.messages.empty()) << op.messages.front().text;
  EXPECT_EQ(chip->ObjectLoaded, 1);
  EXPECT_EQ(chip->ObjectFileName, c.file);
  EXPECT_EQ(r.Actions.StatusFilePath, dir.File(c.file));
  EXPECT_TRUE(r.Actions.ChipPageToFront);
  EXPECT_EQ(MainBytes(c.offset, c.size), data);

  const u32 size = std::max<u32>(1024, ((c.offset + static_cast<u32>(c.size) - 1) / 256 + 1) * 256);
  EXPECT_EQ(chip->Params.DownloadSize, size);
  EXPECT_TRUE(test::HasLine(log, test::Info("File \"" + dir.File(c.file) + "\" has been loaded!")));
  EXPECT_TRUE(test::HasLine(log, test::Info("Object File Start Address  = " + Hex8(addr) + ".")));
  EXPECT_TRUE(test::HasLine(log, test::Info("Object File End Address    = " + Hex8(addr + static_cast<u32>(c.size) - 1) + ".")));
  EXPECT_TRUE(test::HasLine(log, test::Info("Object File ACC32 Checksum = " + Hex8(Sum(data)))));
  EXPECT_TRUE(test::HasLine(log, test::Info("Chip Actual Programmed Data Size is: " + std::to_string(size) +
                                            "Bytes/" + Hex8(size - 1) + ".")));
  EXPECT_EQ(chip->Sums.FileChecksum, Sum(data));
  const bool crcLine = test::HasLine(
      log, test::Info("Object File CRC32 Checksum = " + Hex8(CalcCrc32(data)).replace(0, 2, "0x")));
  EXPECT_EQ(crcLine, c.maker == 3);

  // Sums, status bar and both grids follow the load.
  const u32 blanks = (size - c.offset - static_cast<u32>(c.size)) * 0xFF + c.offset * 0xFF;
  EXPECT_EQ(chip->Sums.MainAcc32, Sum(data) + blanks);
  ASSERT_EQ(op.mainHex.size(), 1u);
  EXPECT_EQ(op.mainHex[0], std::make_pair(0u, size - 1));
  EXPECT_EQ(op.eepViews, 1);
  EXPECT_EQ(op.checksumRefreshes, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Tools, MadeByTool,
    ::testing::Values(
        ToolCase{"objcopy_ihex", "objcopy", "objcopy -I binary -O ihex --change-addresses=%ADDR %IN %OUT", "app.hex",
                 0x1234, 0x23457, 0},
        ToolCase{"objcopy_srec", "objcopy", "objcopy -I binary -O srec --change-addresses=%ADDR %IN %OUT", "APP.S19",
                 0x100, 0x8001, 3},
        ToolCase{"srec_cat_intel", "srec_cat", "srec_cat %IN -binary -offset %ADDR -o %OUT -intel", "fw.Hex", 0x10,
                 0x30001, 0},
        ToolCase{"srec_cat_s37", "srec_cat", "srec_cat %IN -binary -offset %ADDR -o %OUT -motorola", "fw.s37", 0x7,
                 0x12345, 3},
        ToolCase{"srec_cat_mot", "srec_cat", "srec_cat %IN -binary -offset %ADDR -o %OUT -motorola", "fw.mot", 0,
                 0x200, 0}),
    [](const auto& p) { return std::string(p.param.name); });

// A save that fails part-way says so and leaves the file it was to replace as it was.
TEST_F(ObjectFiles, AFailedSaveKeepsThePreviousFile) {
  chip->ObjectLoaded = 1;
  const std::vector<u8> previous(300, 0xA5);
  const struct {
    const char* name;
    int filter;  // 0: the data-flash save
  } cases[] = {{"m.bin", 1}, {"m.hex", 2}, {"m.s19", 3}, {"ee.bin", 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = dir.File(c.name);
    test::WriteFile(path, previous);
    {
      const test::FileSizeLimit full(1024);
      if (c.filter == 0) {
        EXPECT_THROW(SaveEepDataFile(*chip, path), EInOutError);
      } else {
        EXPECT_THROW(SaveMemoryToFile(*chip, path, c.filter), EInOutError);
      }
    }
    EXPECT_EQ(test::ReadFile(path), previous);
  }
  // Nothing of the failed saves is left beside them.
  std::size_t files = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.Path())) ++files;
  EXPECT_EQ(files, std::size(cases));
}

TEST_F(ObjectFiles, SavedMemoryConvertsBackToTheSameBytes) {
  QX_NEED_TOOL("objcopy");
  const auto data = Data(0x20011, 7);
  std::copy(data.begin(), data.end(), chip->MainFlashImage.begin() + 0x100);
  chip->ObjectLoaded = 1;
  ASSERT_TRUE(SaveMemoryAllowed(*chip));
  const auto window = MainBytes(0, test::kMainSize);

  ASSERT_TRUE(SaveMemoryToFile(*chip, dir.File("m.bin"), 1));
  EXPECT_EQ(test::ReadFile(dir.File("m.bin")), window);
  ASSERT_TRUE(SaveMemoryToFile(*chip, dir.File("m.hex"), 2));
  ASSERT_EQ(test::Run("objcopy -I ihex -O binary " + dir.File("m.hex") + " " + dir.File("hex.bin")), 0);
  EXPECT_EQ(test::ReadFile(dir.File("hex.bin")), window);
  ASSERT_TRUE(SaveMemoryToFile(*chip, dir.File("m.s19"), 3));
  ASSERT_EQ(test::Run("objcopy -I srec -O binary " + dir.File("m.s19") + " " + dir.File("srec.bin")), 0);
  EXPECT_EQ(test::ReadFile(dir.File("srec.bin")), window);

  EXPECT_FALSE(SaveMemoryToFile(*chip, dir.File("none"), 4));
  EXPECT_FALSE(std::filesystem::exists(dir.File("none")));
  chip->ObjectLoaded = 0;
  EXPECT_FALSE(SaveMemoryAllowed(*chip));
}

TEST_F(ObjectFiles, LoadMoreMergesOverTheImage) {
  const std::vector<u8> first(0x40, 0x11), second(0x10, 0x22);
  test::WriteText(dir.File("a.hex"), FormatIntelHex(first, test::kMainStart + 0x1000));
  test::WriteText(dir.File("b.hex"), FormatIntelHex(second, test::kMainStart + 0x1020));
  ASSERT_TRUE(OpenObjectFile(Ctx(), dir.File("a.hex")).Done);
  const ObjectCommandResult r = LoadMoreObjectFile(Ctx(), dir.File("b.hex"));
  EXPECT_TRUE(r.Done);
  EXPECT_FALSE(r.Actions.StatusFilePath.has_value());
  EXPECT_EQ(chip->ObjectFileName, "a.hex");
  EXPECT_EQ(chip->MainFlashImage[0x101F], 0x11);
  EXPECT_EQ(chip->MainFlashImage[0x1020], 0x22);
  EXPECT_EQ(chip->MainFlashImage[0x1030], 0x11);
  EXPECT_EQ(chip->ObjectStart, test::kMainStart + 0x1020);
  EXPECT_EQ(chip->ObjectEnd, test::kMainStart + 0x102F);
  EXPECT_EQ(chip->Sums.FileChecksum, 0x10u * 0x22);
}

TEST_F(ObjectFiles, UnknownExtensionClearsTheImagesAndTheLoadedFlag) {
  chip->ObjectLoaded = 1;
  chip->MainFlashImage[5] = 0x12;
  test::WriteText(dir.File("app.s28"), "S00600004844521B\r\n");
  const ObjectCommandResult r = OpenObjectFile(Ctx(), dir.File("app.s28"));
  EXPECT_EQ(chip->ObjectLoaded, 0);
  EXPECT_EQ(chip->MainFlashImage[5], 0xFF);
  ASSERT_EQ(op.messages.size(), 1u);
  EXPECT_EQ(op.messages[0].text, "Object file format error(not matche the extend name)!");
  EXPECT_TRUE(test::HasLine(log, test::Info("Object file format error(not matche the extend name)!")));
  EXPECT_TRUE(op.mainHex.empty());
  EXPECT_TRUE(r.Done);
}

enum class Made { Nothing, Folder, Fifo, Empty };
constexpr const char* kNotRegular = "\"%s\" is not a regular file and has not been opened!";

struct UnreadableCase {
  const char* name;
  const char* file;  // a missing file, or a folder or FIFO of that name
  Made made;
  bool loadMore;
  const char* message;  // %s: the path
};
// Cases print as their name, not as their bytes.
void PrintTo(const UnreadableCase& c, std::ostream* os) { *os << c.name; }

std::string WithPath(std::string message, const std::string& path) {
  return message.replace(message.find("%s"), 2, path);
}

class Unreadable : public ObjectFiles, public ::testing::WithParamInterface<UnreadableCase> {};

TEST_P(Unreadable, LeavesTheImagesAndThePreviousObject) {
  const UnreadableCase& c = GetParam();
  const std::vector<u8> data(0x20, 0x33);
  test::WriteText(dir.File("good.hex"), FormatIntelHex(data, test::kMainStart + 0x40));
  ASSERT_TRUE(OpenObjectFile(Ctx(), dir.File("good.hex")).Done);
  chip->EepImage[3] = 0x44;
  const auto before = std::make_unique<ChipModel>(*chip);
  op.mainHex.clear();
  if (c.made == Made::Folder) std::filesystem::create_directory(dir.File(c.file));
  // Never opened: an open would wait for a writer that never comes.
  if (c.made == Made::Fifo) {
    ASSERT_EQ(::mkfifo(dir.File(c.file).c_str(), 0600), 0);
  }
  if (c.made == Made::Empty) test::WriteText(dir.File(c.file), "");
  offset = test::kMainStart;

  const std::string path = dir.File(c.file);
  const ObjectCommandResult r = c.loadMore ? LoadMoreObjectFile(Ctx(), path) : OpenObjectFile(Ctx(), path);
  EXPECT_FALSE(r.Done);
  EXPECT_FALSE(r.Actions.StatusFilePath.has_value());
  ASSERT_EQ(op.messages.size(), 1u);
  EXPECT_EQ(op.messages[0].text, WithPath(c.message, path));
  EXPECT_TRUE(test::HasLine(log, test::Info(WithPath(c.message, path))));
  if (c.made == Made::Folder || c.made == Made::Fifo) {
    EXPECT_EQ(offsetAsks, 0);  // refused before anything is asked
  }
  EXPECT_EQ(chip->MainFlashImage, before->MainFlashImage);
  EXPECT_EQ(chip->EepImage, before->EepImage);
  EXPECT_EQ(chip->ObjectLoaded, 1);
  EXPECT_EQ(chip->ObjectFileName, "good.hex");
  EXPECT_EQ(chip->ObjectStart, before->ObjectStart);
  EXPECT_EQ(chip->ObjectEnd, before->ObjectEnd);
  EXPECT_EQ(chip->Sums.FileChecksum, before->Sums.FileChecksum);
  EXPECT_EQ(chip->LastLoadAddress, before->LastLoadAddress);
  EXPECT_TRUE(op.mainHex.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Files, Unreadable,
    ::testing::Values(UnreadableCase{"missing_hex", "gone.hex", Made::Nothing, false, "Cannot open file %s"},
                      UnreadableCase{"missing_srec_more", "gone.s19", Made::Nothing, true, "Cannot open file %s"},
                      UnreadableCase{"folder_hex", "dir.hex", Made::Folder, false, kNotRegular},
                      UnreadableCase{"missing_bin", "gone.bin", Made::Nothing, false, "Cannot open file %s"},
                      UnreadableCase{"folder_bin_more", "dir.bin", Made::Folder, true, kNotRegular},
                      UnreadableCase{"fifo_srec", "pipe.s19", Made::Fifo, false, kNotRegular},
                      UnreadableCase{"fifo_bin", "pipe.bin", Made::Fifo, false, kNotRegular},
                      UnreadableCase{"fifo_hex_more", "pipe.hex", Made::Fifo, true, kNotRegular},
                      UnreadableCase{"empty_bin", "empty.bin", Made::Empty, false, "Binary file is empty: %s"},
                      UnreadableCase{"empty_bin_more", "empty.bin", Made::Empty, true, "Binary file is empty: %s"}),
    [](const auto& p) { return std::string(p.param.name); });

TEST_F(ObjectFiles, FirstLoadThatCannotBeReadLeavesNothingLoaded) {
  EXPECT_FALSE(OpenObjectFile(Ctx(), dir.File("gone.hex")).Done);
  EXPECT_EQ(chip->ObjectLoaded, 0);
  EXPECT_TRUE(chip->ObjectFileName.empty());
}

// Binary object files on a chip at 0x08000000 with 128 KiB of main flash.
struct BinaryCase {
  const char* name;
  u32 address;  // entered in the offset dialog
  std::size_t size;
  bool outOfSpace;   // the message
  u32 objectEnd;     // last index copied, from the offset
  u32 bootInfoEnd;
  u32 appInfoEnd;
};
// Cases print as their name, not as their bytes.
void PrintTo(const BinaryCase& c, std::ostream* os) { *os << c.name; }

class BinaryObject : public ObjectFiles, public ::testing::WithParamInterface<BinaryCase> {};

TEST_P(BinaryObject, LandsAtItsOffsetInsideTheChip) {
  const BinaryCase& c = GetParam();
  chip->Params.MainFlashSize = 0x20000;
  chip->Params.MainFlashEnd = test::kMainStart + 0x1FFFF;
  const auto data = Data(c.size, 3);
  test::WriteFile(dir.File("fw.bin"), data);
  offset = c.address;
  const ObjectCommandResult r = OpenObjectFile(Ctx(), dir.File("fw.bin"));
  EXPECT_TRUE(r.Done);
  EXPECT_EQ(offsetAsks, 1);
  const u32 index = c.address - test::kMainStart;
  EXPECT_EQ(chip->BinOffset, index);
  EXPECT_EQ(chip->ObjectEnd, c.objectEnd);
  EXPECT_EQ(chip->LastLoadAddress, c.size - 1);
  EXPECT_EQ(chip->BootInfoEnd, c.bootInfoEnd);
  EXPECT_EQ(chip->AppInfoEnd, c.appInfoEnd);
  const std::size_t copied = c.objectEnd + 1u;
  EXPECT_EQ(MainBytes(index, copied), std::vector<u8>(data.begin(), data.begin() + copied));
  EXPECT_EQ(chip->MainFlashImage[0x20000], 0xFF);  // nothing past the main flash
  EXPECT_EQ(chip->Sums.FileChecksum, Sum(std::vector<u8>(data.begin(), data.begin() + copied)));
  EXPECT_EQ(chip->ObjectLoaded, 1);
  const std::string message = "The Object File is out of the chip flash address space, please confirm!";
  EXPECT_EQ(op.messages.size(), c.outOfSpace ? 1u : 0u);
  EXPECT_EQ(test::HasLine(log, test::Info(message)), c.outOfSpace);
}

INSTANTIATE_TEST_SUITE_P(
    Offsets, BinaryObject,
    ::testing::Values(BinaryCase{"boot_at_start", 0x08000000, 0x8000, false, 0x7FFF, 0x8000, 0},
                      BinaryCase{"app_at_offset", 0x08004000, 0x8000, false, 0x7FFF, 0, 0x8000},
                      BinaryCase{"one_byte_too_long", 0x08000000, 0x20001, true, 0x1FFFF, 0x20000, 0},
                      // Fits from the window start, not from its offset.
                      BinaryCase{"too_long_from_its_offset", 0x08004000, 0x1C001, true, 0x1BFFF, 0, 0x1C000},
                      BinaryCase{"exactly_to_the_end", 0x0801F000, 0x1000, false, 0xFFF, 0, 0x1000}),
    [](const auto& p) { return std::string(p.param.name); });

TEST_F(ObjectFiles, BinaryOffsetOutsideTheChipIsRefusedAndChangesNothing) {
  test::WriteFile(dir.File("fw.bin"), Data(0x100, 1));
  for (const u32 address : {test::kMainStart - 0x1000, test::kMainStart + test::kMainSize, 0xFFFFFFF0u}) {
    chip->MainFlashImage[0] = 0x77;
    chip->ObjectLoaded = 1;
    op.messages.clear();
    offset = address;
    const ObjectCommandResult r = OpenObjectFile(Ctx(), dir.File("fw.bin"));
    EXPECT_FALSE(r.Done) << Hex8(address);
    ASSERT_EQ(op.messages.size(), 1u);
    EXPECT_EQ(op.messages[0].text, "The Object File is out of the chip flash address space, please confirm!");
    EXPECT_EQ(chip->MainFlashImage[0], 0x77);
    EXPECT_EQ(chip->ObjectLoaded, 1);
    EXPECT_EQ(chip->BinOffset, 0u);
  }
}

TEST_F(ObjectFiles, BinaryOverMainAndDataFlashAlsoFillsTheDataFlashImage) {
  MainAndDataFlashBinaries();
  const auto data = Data(0x28000, 9);
  test::WriteFile(dir.File("all.bin"), data);
  offset = 0x03000000;
  ASSERT_TRUE(OpenObjectFile(Ctx(), dir.File("all.bin")).Done);
  EXPECT_TRUE(op.messages.empty());
  EXPECT_EQ(chip->ObjectEnd, 0x27FFFu);
  EXPECT_TRUE(std::equal(data.begin() + 0x26000, data.end(), chip->EepImage.begin()));
  EXPECT_EQ(chip->Params.DownloadSize, 0x8000u);
}

// Load More over a data flash that came from a data-flash file: the data-flash image takes
// only the bytes the binary file itself holds there.
TEST_F(ObjectFiles, BinaryOverMainAndDataFlashKeepsTheDataFlashItDoesNotReach) {
  MainAndDataFlashBinaries();
  const auto eep = Data(0x2000, 4);
  test::WriteFile(dir.File("ee.bin"), eep);
  offset = 0x03026000;
  ASSERT_TRUE(LoadEepDataFile(Ctx(), dir.File("ee.bin")).Done);

  struct Case {
    const char* name;
    std::size_t size;  // from the main-flash start
    std::size_t reached;  // data-flash bytes the file holds
  } cases[] = {{"past_the_main_flash_short_of_the_data_flash", 0x9000, 0},
               {"into_half_the_data_flash", 0x27000, 0x1000}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto data = Data(c.size, 6);
    test::WriteFile(dir.File("fw.bin"), data);
    offset = 0x03000000;
    ASSERT_TRUE(LoadMoreObjectFile(Ctx(), dir.File("fw.bin")).Done);
    EXPECT_TRUE(std::equal(data.begin() + 0x26000, data.begin() + 0x26000 + c.reached, chip->EepImage.begin()));
    EXPECT_TRUE(std::equal(eep.begin() + c.reached, eep.end(), chip->EepImage.begin() + c.reached));
  }
}

class DataFlashFiles : public ObjectFiles {};

TEST_F(DataFlashFiles, BinaryFillsFromItsOffsetAndReportsWhatDoesNotFit) {
  struct Case {
    u32 address;
    std::size_t size;
    bool message;
  } cases[] = {{test::kEepStart, test::kEepSize, false},
               {test::kEepStart, test::kEepSize + 1, true},
               {test::kEepStart + 0x800, 0x800, false},
               {test::kEepStart + 0x800, 0x801, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(Hex8(c.address) + " " + std::to_string(c.size));
    chip->EepImage.fill(0x00);
    op.messages.clear();
    log.Clear();
    op.eepViews = 0;
    const auto data = Data(c.size, 5);
    test::WriteFile(dir.File("ee.BIN"), data);
    offset = c.address;
    const ObjectCommandResult r = LoadEepDataFile(Ctx(), dir.File("ee.BIN"));
    ASSERT_TRUE(r.Done);
    EXPECT_TRUE(r.Actions.CheckErsEEP);
    const u32 at = c.address - test::kEepStart;
    const std::size_t copied = std::min<std::size_t>(c.size, test::kEepSize - at);
    EXPECT_TRUE(std::equal(data.begin(), data.begin() + copied, chip->EepImage.begin() + at));
    EXPECT_EQ(chip->EepImage[0], at == 0 ? data[0] : 0xFF);  // the rest is cleared to blank
    EXPECT_EQ(chip->EepImage[test::kEepSize], 0x00);          // nothing past the data flash
    EXPECT_EQ(op.messages.size(), c.message ? 1u : 0u);
    EXPECT_EQ(test::HasLine(log, test::Info("The Object File is out of the chip EEP address space, please confirm!")),
              c.message);
    EXPECT_TRUE(test::HasLine(log, test::Info("EEP Data file of \"" + dir.File("ee.BIN") + "\" hasn been loaded.")));
    EXPECT_TRUE(test::HasLine(log, test::Info("Load EEP File Start Address  = 0x00000000.")));
    EXPECT_TRUE(test::HasLine(log, test::Info("Load EEP File End Address    = " + Hex8(static_cast<u32>(copied - 1)) + ".")));
    const u32 sum = std::accumulate(data.begin(), data.begin() + copied, 0u);
    EXPECT_TRUE(test::HasLine(log, test::Info("Load EEP File ACC32 Checksum = " + Hex8(sum) + ".")));
    EXPECT_EQ(chip->Sums.EepFileChecksum, sum);
    EXPECT_EQ(chip->Sums.EepAcc32,
              std::accumulate(chip->EepImage.begin(), chip->EepImage.begin() + test::kEepSize, 0u));
    EXPECT_EQ(op.eepViews, 1);
  }
}

TEST_F(DataFlashFiles, BinaryOffsetIsNotCutTo16Bits) {
  chip->Params.EepSize = 0x20000;
  chip->Params.EepEnd = test::kEepStart + 0x1FFFF;
  const auto data = Data(0x100, 8);
  test::WriteFile(dir.File("ee.bin"), data);
  offset = test::kEepStart + 0x10010;
  ASSERT_TRUE(LoadEepDataFile(Ctx(), dir.File("ee.bin")).Done);
  EXPECT_TRUE(std::equal(data.begin(), data.end(), chip->EepImage.begin() + 0x10010));
  EXPECT_EQ(chip->EepImage[0x10], 0xFF);
}

TEST_F(DataFlashFiles, RefusedBeforeAnythingIsCleared) {
  chip->EepImage[0] = 0x42;
  test::WriteFile(dir.File("ee.bin"), Data(0x10, 1));
  test::WriteText(dir.File("ee.s37"), "S00600004844521B\r\n");
  test::WriteText(dir.File("none.bin"), "");
  struct Case {
    std::string path;
    std::optional<u32> address;
    std::string message;
  } cases[] = {
      {dir.File("ee.s37"), std::nullopt, "Object file format error(not matche the extend name)!"},
      {dir.File("ee.txt"), std::nullopt, "Object file format error(not matche the extend name)!"},
      {dir.File("ee.bin"), test::kEepStart - 1, "The Object File is out of the chip EEP address space, please confirm!"},
      {dir.File("ee.bin"), test::kEepStart + test::kEepSize, "The Object File is out of the chip EEP address space, please confirm!"},
      {dir.File("gone.bin"), test::kEepStart, "Cannot open file " + dir.File("gone.bin")},
      {dir.File("gone.hex"), std::nullopt, "Cannot open file " + dir.File("gone.hex")},
      {dir.File("none.bin"), test::kEepStart, "Binary file is empty: " + dir.File("none.bin")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    op.messages.clear();
    offset = c.address;
    const ObjectCommandResult r = LoadEepDataFile(Ctx(), c.path);
    EXPECT_FALSE(r.Done);
    EXPECT_FALSE(r.Actions.CheckErsEEP);
    ASSERT_EQ(op.messages.size(), 1u);
    EXPECT_EQ(op.messages[0].text, c.message);
    EXPECT_EQ(chip->EepImage[0], 0x42);
    EXPECT_EQ(chip->EepImage[1], 0xFF);
  }
  EXPECT_EQ(op.eepViews, 0);
}

TEST_F(DataFlashFiles, HexRecordsOfOtherWindowsRefreshTheirViews) {
  std::string text = FormatIntelHex(std::vector<u8>(0x10, 0xE1), test::kEepStart + 0x20);
  text.erase(text.rfind(":00000001FF"));
  text += FormatIntelHex(std::vector<u8>(0x20, 0x5A), test::kMainStart + 0x3000);
  text.erase(text.rfind(":00000001FF"));
  text += FormatIntelHex(std::vector<u8>(4, 0x01), test::kOptStart + 4);
  test::WriteText(dir.File("mix.hex"), text);
  chip->Params.DownloadSize = 0x400;
  chip->Params.OptionCode = 1;
  const ObjectCommandResult r = LoadEepDataFile(Ctx(), dir.File("mix.hex"));
  ASSERT_TRUE(r.Done);
  EXPECT_EQ(chip->EepImage[0x20], 0xE1);
  EXPECT_EQ(chip->MainFlashImage[0x3000], 0x5A);
  EXPECT_EQ(chip->OptionImage[4], 0x01);
  EXPECT_EQ(chip->Params.DownloadSize, 0x3100u);
  ASSERT_EQ(op.mainHex.size(), 1u);
  EXPECT_EQ(op.mainHex[0], std::make_pair(0u, 0x30FFu));
  EXPECT_EQ(chip->Sums.MainAcc32, (0x3100u - 0x20) * 0xFF + 0x20 * 0x5A);
  EXPECT_EQ(chip->Sums.ChipChecksum, chip->Sums.MainAcc32 + chip->Sums.EepAcc32);
  EXPECT_EQ(op.checksumRefreshes, 1);
  EXPECT_EQ(op.eepViews, 1);
  EXPECT_EQ(op.optionViews, 1);
  EXPECT_EQ(chip->Sums.OptionSum16, 4);

  // A file of data-flash records only leaves the main views alone.
  op.mainHex.clear();
  op.optionViews = 0;
  test::WriteText(dir.File("ee.hex"), FormatIntelHex(std::vector<u8>(8, 0x12), test::kEepStart));
  ASSERT_TRUE(LoadEepDataFile(Ctx(), dir.File("ee.hex")).Done);
  EXPECT_TRUE(op.mainHex.empty());
  EXPECT_EQ(op.optionViews, 0);
  EXPECT_EQ(op.eepViews, 2);
}

TEST_F(DataFlashFiles, SaveWritesTheDataFlashAsBinary) {
  for (u32 i = 0; i < test::kEepSize; ++i) chip->EepImage[i] = static_cast<u8>(i ^ 0x3C);
  SaveEepDataFile(*chip, dir.File("ee.hex"));
  EXPECT_EQ(test::ReadFile(dir.File("ee.hex")),
            std::vector<u8>(chip->EepImage.begin(), chip->EepImage.begin() + test::kEepSize));
  chip->Params.EepSize = 0;
  SaveEepDataFile(*chip, dir.File("none.bin"));
  EXPECT_TRUE(test::ReadFile(dir.File("none.bin")).empty());
}

}  // namespace
}  // namespace qx
