// Object files made by objcopy and srec_cat load byte-exact, and files our writers save
// convert back to the same bytes with objcopy.
#include <gtest/gtest.h>

#include <numeric>
#include <ostream>

#include "tests/images/ObjectFileFixture.h"
#include "images/IntelHexFile.h"
#include "images/SRecordFile.h"

namespace qx {
namespace {

enum class Format { Hex, SRec };

struct ToolCase {
  const char* name;
  const char* tool;
  const char* command;  // %IN, %OUT, %ADDR are replaced
  Format format;
  u32 mainStart;
  u32 offset;  // of the file's first byte in the main window
  std::size_t size;
};
// Cases print as their name, not as their bytes.
void PrintTo(const ToolCase& c, std::ostream* os) { *os << c.name; }

std::unique_ptr<ChipModel> ChipAt(u32 mainStart) {
  auto chip = test::MakeChip();
  chip->Params.MainFlashStart = mainStart;
  chip->Params.MainFlashEnd = mainStart + test::kMainSize - 1;
  if (mainStart < test::kEepStart && test::kEepStart <= chip->Params.MainFlashEnd) {
    chip->Params.EepStart = chip->Params.EepEnd = NoWindow;
  }
  return chip;
}

class MadeByTool : public ::testing::TestWithParam<ToolCase> {};

TEST_P(MadeByTool, LoadsByteExact) {
  const ToolCase& c = GetParam();
  QX_NEED_TOOL(c.tool);
  test::TempDir dir;
  const auto data = test::RandomBytes(c.size, static_cast<unsigned>(c.size));
  test::WriteFile(dir.File("in.bin"), data);
  const u32 addr = c.mainStart + c.offset;
  ASSERT_EQ(test::Run(test::ToolCommand(c.command, dir.File("in.bin"), dir.File("out.obj"), addr)), 0) << c.command;

  auto chip = ChipAt(c.mainStart);
  test::RecordingOperator op;
  u32 start = 0, end = 0, sum = 0;
  const bool done = (c.format == Format::Hex ? LoadIntelHexFile(*chip, dir.File("out.obj"), start, end, sum, op)
                                             : LoadSRecordFile(*chip, dir.File("out.obj"), start, end, sum, op))
                        .Complete();
  EXPECT_TRUE(done);
  EXPECT_TRUE(op.messages.empty()) << op.messages.front().text;
  EXPECT_EQ(start, addr);
  EXPECT_EQ(end, addr + c.size - 1);
  EXPECT_EQ(sum, std::accumulate(data.begin(), data.end(), 0u));
  const auto image = std::span<const u8>(chip->MainFlashImage);
  EXPECT_TRUE(std::equal(data.begin(), data.end(), image.begin() + c.offset));
  if (c.offset > 0) {
    EXPECT_EQ(image[c.offset - 1], 0xFF);
  }
  EXPECT_EQ(image[c.offset + c.size], 0xFF);
}

INSTANTIATE_TEST_SUITE_P(
    Tools, MadeByTool,
    ::testing::Values(
        ToolCase{"objcopy_ihex", "objcopy", "objcopy -I binary -O ihex --change-addresses=%ADDR %IN %OUT",
                 Format::Hex, 0x08000000, 0x1234, 0x23457},
        ToolCase{"objcopy_srec", "objcopy", "objcopy -I binary -O srec --change-addresses=%ADDR %IN %OUT",
                 Format::SRec, 0x08000000, 0x1234, 0x23457},
        ToolCase{"objcopy_srec_s1", "objcopy",
                 "objcopy -I binary -O srec --change-addresses=%ADDR %IN %OUT", Format::SRec, 0, 0x100, 0xE000},
        ToolCase{"srec_cat_intel", "srec_cat", "srec_cat %IN -binary -offset %ADDR -o %OUT -intel", Format::Hex,
                 0x08000000, 0x10, 0x30001},
        ToolCase{"srec_cat_intel_16bit", "srec_cat",
                 "srec_cat %IN -binary -offset %ADDR -o %OUT -intel -address-length=2", Format::Hex, 0, 0x10, 0xE001},
        ToolCase{"srec_cat_s37", "srec_cat", "srec_cat %IN -binary -offset %ADDR -o %OUT -motorola", Format::SRec,
                 0x08000000, 0x7, 0x12345},
        ToolCase{"srec_cat_s28", "srec_cat", "srec_cat %IN -binary -offset %ADDR -o %OUT -motorola -address-length=3",
                 Format::SRec, 0x00100000, 0x7, 0x12345}),
    [](const auto& p) { return std::string(p.param.name); });

struct SaveCase {
  const char* name;
  Format format;
  u32 mainStart;
  u32 offset;
  std::size_t size;
};
// Cases print as their name, not as their bytes.
void PrintTo(const SaveCase& c, std::ostream* os) { *os << c.name; }

class ConvertedBackByObjcopy : public ::testing::TestWithParam<SaveCase> {};

TEST_P(ConvertedBackByObjcopy, SameBytes) {
  const SaveCase& c = GetParam();
  QX_NEED_TOOL("objcopy");
  test::TempDir dir;
  auto chip = ChipAt(c.mainStart);
  const auto data = test::RandomBytes(c.size, 99);
  std::copy(data.begin(), data.end(), chip->MainFlashImage.begin() + c.offset);
  const u32 first = c.mainStart + c.offset;
  const u32 last = first + static_cast<u32>(c.size) - 1;
  if (c.format == Format::Hex) {
    SaveIntelHexFile(*chip, dir.File("ours.obj"), first, last);
  } else {
    SaveSRecordFile(*chip, dir.File("ours.obj"), first, last);
  }
  const char* input = c.format == Format::Hex ? "ihex" : "srec";
  ASSERT_EQ(test::Run(std::string("objcopy -I ") + input + " -O binary " + dir.File("ours.obj") + " " +
                      dir.File("back.bin")),
            0);
  EXPECT_EQ(test::ReadFile(dir.File("back.bin")), data);
}

INSTANTIATE_TEST_SUITE_P(Writers, ConvertedBackByObjcopy,
                         ::testing::Values(SaveCase{"hex32", Format::Hex, 0x08000000, 0x1234, 0x23457},
                                           SaveCase{"hex32_aligned", Format::Hex, 0x08000000, 0, 0x20000},
                                           SaveCase{"hex16", Format::Hex, 0, 0x3, 0xFFF0},
                                           SaveCase{"s1", Format::SRec, 0, 0x3, 0xFFF0},
                                           SaveCase{"s2", Format::SRec, 0x00100000, 0x11, 0x10001},
                                           SaveCase{"s3", Format::SRec, 0x08000000, 0x1234, 0x23457}),
                         [](const auto& p) { return std::string(p.param.name); });

}  // namespace
}  // namespace qx
