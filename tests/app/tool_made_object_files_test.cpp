// Object files as objcopy and srec_cat write them on a production line, some passed on
// through a script or an editor (lower case, CR LF, blank lines, no final newline, a
// byte-order mark): Load and Load More take each without a box, byte for byte as the tool
// itself converts the file back to binary.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <ostream>
#include <string>

#include "app/ObjectFileCommands.h"
#include "tests/app/AppTestSupport.h"

namespace qx {
namespace {

struct ToolFile {
  const char* name;
  const char* tool;
  const char* make;  // %IN, %OUT, %ADDR are replaced
  const char* file;  // its name: the extension picks the reader
  const char* edit;  // what the line does to %OUT before it is loaded; "" for nothing
  u32 offset;        // of the first byte in the main window
  std::size_t size;
};
// Cases print as their name, not as their bytes.
void PrintTo(const ToolFile& c, std::ostream* os) { *os << c.name; }

class ToolMadeFiles : public ::testing::TestWithParam<ToolFile> {
 protected:
  ObjectFileContext Ctx() { return {*chip, log, op}; }
  std::vector<u8> Main(std::size_t from, std::size_t n) const {
    return {chip->MainFlashImage.begin() + static_cast<std::ptrdiff_t>(from),
            chip->MainFlashImage.begin() + static_cast<std::ptrdiff_t>(from + n)};
  }
  std::size_t Count(const std::string& text) const {
    return static_cast<std::size_t>(std::count(log.Lines().begin(), log.Lines().end(), test::Info(text)));
  }
  // The tool's file at dir/file and its own conversion back to binary.
  std::vector<u8> Make(const ToolFile& c, const std::string& path) {
    test::WriteFile(dir.File("in.bin"), test::RandomBytes(c.size, static_cast<unsigned>(c.size)));
    const u32 addr = test::kMainStart + c.offset;
    const std::string make = test::ToolCommand(c.make, dir.File("in.bin"), path, addr);
    EXPECT_EQ(test::Run(make), 0) << make;
    const bool hex = ObjectFormatOf(path) == ObjectFormat::IntelHex;
    const std::string back = std::string("objcopy -I ") + (hex ? "ihex" : "srec") + " -O binary " + path + " " +
                             dir.File("tool.bin");
    EXPECT_EQ(test::Run(back), 0) << back;
    if (*c.edit != '\0') {
      const std::string edit = test::ToolCommand(c.edit, "", path, addr);
      EXPECT_EQ(test::Run(edit), 0) << edit;
    }
    return test::ReadFile(dir.File("tool.bin"));
  }
  void ExpectTakenWithoutABox(const ObjectCommandResult& r, const std::string& path) {
    EXPECT_TRUE(r.Done);
    EXPECT_TRUE(op.messages.empty()) << op.messages.front().text;
    EXPECT_EQ(chip->ObjectLoaded, 1);
    EXPECT_EQ(Count("File \"" + path + "\" has been loaded!"), 1u);
    for (const std::string& l : log.Lines()) {
      EXPECT_EQ(l.find("skipped"), std::string::npos) << l;
      EXPECT_EQ(l.find("cut short"), std::string::npos) << l;
    }
  }

  std::unique_ptr<ChipModel> chip = test::ChosenChip();
  MessageLog log = test::FixedClockLog();
  test::ViewRecorder op;
  test::TempDir dir;
};

TEST_P(ToolMadeFiles, LoadTakesThemByteExact) {
  const ToolFile& c = GetParam();
  QX_NEED_TOOL(c.tool);
  QX_NEED_TOOL("objcopy");
  const std::string path = dir.File(c.file);
  const std::vector<u8> tool = Make(c, path);
  ASSERT_EQ(tool.size(), c.size);

  const ObjectCommandResult r = OpenObjectFile(Ctx(), path);
  ExpectTakenWithoutABox(r, path);
  EXPECT_EQ(Main(c.offset, c.size), tool);
  if (c.offset > 0) {
    EXPECT_EQ(chip->MainFlashImage[c.offset - 1], 0xFF);
  }
  EXPECT_EQ(chip->MainFlashImage[c.offset + c.size], 0xFF);
  EXPECT_EQ(chip->ObjectStart, test::kMainStart + c.offset);
  EXPECT_EQ(chip->ObjectEnd, test::kMainStart + c.offset + c.size - 1);
  EXPECT_EQ(chip->Sums.FileChecksum, std::accumulate(tool.begin(), tool.end(), 0u));
}

TEST_P(ToolMadeFiles, LoadMoreTakesThemOverThePreviousJob) {
  const ToolFile& c = GetParam();
  QX_NEED_TOOL(c.tool);
  QX_NEED_TOOL("objcopy");
  const std::vector<u8> previous = test::RandomBytes(test::kMainSize, 77);
  std::copy(previous.begin(), previous.end(), chip->MainFlashImage.begin());
  chip->ObjectLoaded = 1;
  chip->ObjectFileName = "previous.hex";
  const std::string path = dir.File(c.file);
  const std::vector<u8> tool = Make(c, path);

  const ObjectCommandResult r = LoadMoreObjectFile(Ctx(), path);
  ExpectTakenWithoutABox(r, path);
  EXPECT_EQ(Main(c.offset, c.size), tool);
  const auto at = static_cast<std::ptrdiff_t>(c.offset);
  EXPECT_TRUE(std::equal(previous.begin(), previous.begin() + at, chip->MainFlashImage.begin()));
  EXPECT_TRUE(std::equal(previous.begin() + at + static_cast<std::ptrdiff_t>(c.size), previous.end(),
                         chip->MainFlashImage.begin() + at + static_cast<std::ptrdiff_t>(c.size)));
  EXPECT_EQ(chip->ObjectFileName, "previous.hex");
}

constexpr const char* kObjcopyHex = "objcopy -I binary -O ihex --change-addresses=%ADDR %IN %OUT";
constexpr const char* kObjcopySrec = "objcopy -I binary -O srec --change-addresses=%ADDR %IN %OUT";
constexpr const char* kCatHex32 = "srec_cat %IN -binary -offset %ADDR -o %OUT -intel -Output_Block_Size 32";
constexpr const char* kCatS37 = "srec_cat %IN -binary -offset %ADDR -o %OUT -motorola";
// More than 65,535 data records: srec_cat counts them in an S6 record, and writes no
// termination record unless it has a start address.
constexpr const char* kCatS6 = "srec_cat %IN -binary -offset %ADDR -o %OUT -motorola -Output_Block_Size 2";
constexpr const char* kCatS6Start =
    "srec_cat %IN -binary -offset %ADDR -o %OUT -motorola -Output_Block_Size 2 -Execution_Start_Address %ADDR";
constexpr const char* kLowerCase = "tr A-F a-f < %OUT > %OUT.t && mv %OUT.t %OUT";
constexpr const char* kBlankLines = "sed -i G %OUT";
constexpr const char* kByteOrderMark = "printf '\\357\\273\\277' | cat - %OUT > %OUT.t && mv %OUT.t %OUT";

INSTANTIATE_TEST_SUITE_P(
    Line, ToolMadeFiles,
    ::testing::Values(
        ToolFile{"objcopy_ihex_16", "objcopy", kObjcopyHex, "app.hex", "", 0x1234, 0x23457},
        ToolFile{"objcopy_srec_16", "objcopy", kObjcopySrec, "app.s19", "", 0x100, 0x8001},
        ToolFile{"objcopy_srec_64", "objcopy",
                 "objcopy -I binary -O srec --srec-len=64 --change-addresses=%ADDR %IN %OUT", "app.s37", "", 0x40,
                 0x12345},
        ToolFile{"srec_cat_intel_32", "srec_cat", kCatHex32, "fw.hex", "", 0x10, 0x30001},
        ToolFile{"srec_cat_intel_64", "srec_cat",
                 "srec_cat %IN -binary -offset %ADDR -o %OUT -intel -Output_Block_Size 64", "fw.HEX", "", 0x3,
                 0x2F00D},
        ToolFile{"srec_cat_intel_255", "srec_cat",
                 "srec_cat %IN -binary -offset %ADDR -o %OUT -intel -Output_Block_Size 255", "fw.hex", "", 0x7,
                 0x3FFF0},
        ToolFile{"srec_cat_s37_32", "srec_cat", kCatS37, "fw.s37", "", 0x7, 0x12345},
        ToolFile{"srec_cat_s37_250", "srec_cat", "srec_cat %IN -binary -offset %ADDR -o %OUT -motorola -Output_Block_Size 250",
                 "fw.mot", "", 0x0, 0x20000},
        ToolFile{"srec_cat_s6_without_start", "srec_cat", kCatS6, "many.s37", "", 0x10, 140000},
        ToolFile{"srec_cat_s6_with_start", "srec_cat", kCatS6Start, "many.S37", "", 0x11, 140001},
        ToolFile{"lower_case_hex", "srec_cat", kCatHex32, "lower.hex", kLowerCase, 0x20, 0x4321},
        ToolFile{"lower_case_srec", "objcopy", kObjcopySrec, "lower.s19", kLowerCase, 0x20, 0x4321},
        ToolFile{"crlf_srec", "srec_cat", "srec_cat %IN -binary -offset %ADDR -o %OUT -motorola -CRLF", "crlf.s37", "",
                 0x30, 0x5555},
        ToolFile{"crlf_hex", "srec_cat", "srec_cat %IN -binary -offset %ADDR -o %OUT -intel -CRLF", "crlf.hex", "", 0x30,
                 0x5555},
        ToolFile{"blank_lines_hex", "objcopy", kObjcopyHex, "blank.hex", kBlankLines, 0x44, 0x777},
        ToolFile{"blank_lines_srec", "srec_cat", kCatS37, "blank.s37", kBlankLines, 0x44, 0x777},
        ToolFile{"no_final_newline_hex", "objcopy", kObjcopyHex, "cut.hex", "truncate -s -1 %OUT", 0x50, 0x999},
        ToolFile{"no_final_newline_crlf_srec", "srec_cat",
                 "srec_cat %IN -binary -offset %ADDR -o %OUT -motorola -CRLF", "cut.s37", "truncate -s -2 %OUT", 0x50,
                 0x999},
        ToolFile{"byte_order_mark_hex", "srec_cat", kCatHex32, "bom.hex", kByteOrderMark, 0x60, 0x1001},
        ToolFile{"byte_order_mark_srec", "objcopy", kObjcopySrec, "bom.s19", kByteOrderMark, 0x60, 0x1001}),
    [](const auto& p) { return std::string(p.param.name); });

}  // namespace
}  // namespace qx
