// The customer information block: its layout, the CRCs over the parts as loaded, and every
// address error stopping the command without touching the image.
#include <gtest/gtest.h>

#include <cstdio>
#include <ostream>

#include "tests/app/AppTestSupport.h"
#include "app/CustomerInfoBlock.h"
#include "base/ByteOrder.h"
#include "base/Errors.h"
#include "images/Checksums.h"

namespace qx {
namespace {

using test::Hex8;

// A 128 KiB Silergy chip with a boot part of 0x2000 bytes and an application part of
// 0x8000 bytes loaded.
class CustomerInfo : public ::testing::Test {
 protected:
  void SetUp() override {
    ChipParams& p = chip->Params;
    p.ManufacturerIndex = 10;
    p.MainFlashStart = 0;
    p.MainFlashSize = 0x20000;
    p.MainFlashEnd = 0x1FFFF;
    p.EepSize = 0;
    p.EepStart = p.EepEnd = NoWindow;
    const auto data = test::RandomBytes(0x20000, 11);
    std::copy(data.begin(), data.end(), chip->MainFlashImage.begin());
    chip->BootInfoEnd = 0x2000;
    chip->AppInfoEnd = 0x8000;
    c.EditSumy = "0x1FF40";
    c.EditBTAS = "0x0000";
    c.EditBTAE = "0x9FFF";
    c.EditAPAS = "0xA000";
    c.EditAPAE = "0x1FF3F";
    c.EditBTFS = "3";
    c.EditBTVER = "0x0102";
    c.EditAPFS = "4";
    c.EditAPVER = "$0201";
    c.ChkBoxPrgInf = true;
  }
  CustomerInfoResult Build() { return BuildCustomerInfoBlock(c, *chip, log, op, actions); }

  std::unique_ptr<ChipModel> chip = test::ChosenChip();
  MessageLog log = test::FixedClockLog();
  test::ViewRecorder op;
  WindowActions actions;
  CustomerInfoControls c;
};

TEST(CustomerInfoLayout, PartsAtZeroAndNinetySixWithTheirMarkers) {
  const CustomerInfoBlock b = MakeCustomerInfoBlock({0x2000, 0x11223344, 3, 0x102}, {0x8000, 0xAABBCCDD, 4, 0x201});
  EXPECT_EQ(GetLe32(b, 0), 0x2000u);
  EXPECT_EQ(b[0], 0x00);
  EXPECT_EQ(b[1], 0x20);
  EXPECT_EQ(GetLe32(b, 4), 0x11223344u);
  EXPECT_EQ(std::string(b.begin() + 8, b.begin() + 12), "CCUS");
  EXPECT_EQ(GetLe32(b, 12), 3u);
  EXPECT_EQ(GetLe32(b, 16), 0x102u);
  EXPECT_EQ(GetLe32(b, 96), 0x8000u);
  EXPECT_EQ(GetLe32(b, 100), 0xAABBCCDDu);
  EXPECT_EQ(std::string(b.begin() + 104, b.begin() + 108), "ccus");
  EXPECT_EQ(GetLe32(b, 108), 4u);
  EXPECT_EQ(GetLe32(b, 112), 0x201u);
  for (std::size_t i : {20u, 95u, 116u, 191u}) EXPECT_EQ(b[i], 0xFF) << i;
}

TEST_F(CustomerInfo, WrittenAtTheEndOfTheFlashWithCrcsOfBothParts) {
  c.ChkBoxREFIN = c.ChkBoxREFOU = true;  // the standard CRC-32
  ASSERT_EQ(Build(), CustomerInfoResult::Written);
  const std::span<const u8> image(chip->MainFlashImage);
  const u32 bootCrc = CalcCrc32(image, 0, 0x1FFF);
  const u32 appCrc = CalcCrc32(image, 0xA000, 0x11FFF);
  const CustomerInfoBlock expected = MakeCustomerInfoBlock({0x2000, bootCrc, 3, 0x102}, {0x8000, appCrc, 4, 0x201});
  EXPECT_TRUE(std::equal(expected.begin(), expected.end(), image.begin() + 0x1FF40));
  EXPECT_EQ(chip->Crc.Flags, 5);
  EXPECT_EQ(chip->Params.DownloadSize, 0x20000u);
  EXPECT_TRUE(test::HasLine(log, test::Info("Boot Data CRC32 CheckSum=" + Hex8(bootCrc) + ".")));
  EXPECT_TRUE(test::HasLine(log, test::Info("APP Data CRC32 CheckSum=" + Hex8(appCrc) + ".")));
  EXPECT_EQ(op.mainHex.size(), 1u);
  EXPECT_EQ(op.checksumRefreshes, 1);
  EXPECT_TRUE(actions.ChipPageToFront);
  EXPECT_TRUE(op.messages.empty());
}

TEST_F(CustomerInfo, BootCrcCoversTheBootPartFromItsStart) {
  c.EditBTAS = "0x100";
  chip->BootInfoEnd = 0x200;
  chip->AppInfoEnd = 0;
  ASSERT_EQ(Build(), CustomerInfoResult::Written);
  const std::span<const u8> image(chip->MainFlashImage);
  const u32 crc = GetLe32(image, 0x1FF40 + 4);
  EXPECT_EQ(crc, CalcCrc32Param(image, chip->Crc, 0x100, 0x2FF));
  EXPECT_NE(crc, CalcCrc32Param(image, chip->Crc, 0x100, 0x1FF));
  // An empty application part gives the CRC of no bytes.
  EXPECT_EQ(GetLe32(image, 0x1FF40 + 100), 0xFFFFFFFFu ^ 0xFFFFFFFFu);
}

TEST_F(CustomerInfo, UncheckedOnlyLogs) {
  c.ChkBoxPrgInf = false;
  const auto before = chip->MainFlashImage;
  EXPECT_EQ(Build(), CustomerInfoResult::NotRequested);
  EXPECT_EQ(chip->MainFlashImage, before);
  ASSERT_EQ(log.Lines().size(), 1u);
  EXPECT_EQ(log.Lines()[0], test::Info("No Summary Data need to be Setup!"));
  EXPECT_TRUE(op.messages.empty());
}

struct AddressCase {
  const char* name;
  std::function<void(CustomerInfoControls&, ChipModel&)> spoil;
  std::vector<std::string> messages;
};
// Cases print as their name, not as their bytes.
void PrintTo(const AddressCase& c, std::ostream* os) { *os << c.name; }

class AddressError : public CustomerInfo, public ::testing::WithParamInterface<AddressCase> {};

TEST_P(AddressError, StopsTheCommandAndLeavesTheImage) {
  const AddressCase& t = GetParam();
  t.spoil(c, *chip);
  const auto before = chip->MainFlashImage;
  const u32 downloadSize = chip->Params.DownloadSize;
  EXPECT_EQ(Build(), CustomerInfoResult::AddressError);
  EXPECT_EQ(chip->MainFlashImage, before);
  EXPECT_EQ(chip->Params.DownloadSize, downloadSize);
  ASSERT_EQ(op.messages.size(), t.messages.size());
  for (std::size_t i = 0; i < t.messages.size(); ++i) {
    EXPECT_EQ(op.messages[i].text, t.messages[i]);
    EXPECT_EQ(op.messages[i].kind, MsgKind::Warning);
  }
  EXPECT_TRUE(op.mainHex.empty());
}

const char* const kInfo = "Info Address Set Eror! Please Checked";
const char* const kOrder = "Address Set Eror!please Checked";

INSTANTIATE_TEST_SUITE_P(
    Blocks, AddressError,
    ::testing::Values(
        AddressCase{"one_byte_past_the_flash", [](auto& c, auto&) { c.EditSumy = "0x1FF41"; }, {kInfo}},
        // 0xFFFFFFFF + 192 wraps below the flash size in 32 bits.
        AddressCase{"wrapping_index", [](auto& c, auto&) { c.EditSumy = "0xFFFFFFFF"; }, {kInfo}},
        AddressCase{"boot_not_ordered", [](auto& c, auto&) { c.EditBTAE = "0"; }, {kOrder}},
        AddressCase{"app_not_ordered_and_block_outside",
                    [](auto& c, auto&) {
                      c.EditAPAE = c.EditAPAS;
                      c.EditSumy = "0x20000";
                    },
                    {kOrder, kInfo}},
        AddressCase{"boot_part_past_the_flash", [](auto&, auto& m) { m.BootInfoEnd = 0x20001; }, {kOrder}},
        AddressCase{"app_part_past_the_flash",
                    [](auto& c, auto& m) {
                      c.EditAPAS = "0x18001";
                      m.AppInfoEnd = 0x8000;
                    },
                    {kOrder}}),
    [](const auto& p) { return std::string(p.param.name); });

TEST_F(CustomerInfo, ATextThatIsNotANumberRaises) {
  c.EditPOLY = "0x04C11DB7h";
  EXPECT_THROW(Build(), EConvertError);
  c.EditPOLY = "0x04C11DB7";
  c.EditSumy = "end";
  c.ChkBoxPrgInf = false;  // read before the check box is looked at
  EXPECT_THROW(Build(), EConvertError);
  EXPECT_TRUE(log.Lines().empty());
}

}  // namespace
}  // namespace qx
