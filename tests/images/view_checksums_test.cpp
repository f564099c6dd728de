// The sums the window shows cover the programmed ranges; a chip without data flash adds
// nothing of a previous chip's data flash.
#include <gtest/gtest.h>

#include <cstdio>
#include <numeric>

#include "tests/images/ObjectFileFixture.h"
#include "base/MessageLog.h"
#include "images/Checksums.h"
#include "images/ViewChecksums.h"

namespace qx {
namespace {

class ViewChecksums : public ::testing::Test {
 protected:
  void SetUp() override {
    chip->Params.DownloadSize = 0x400;
    for (u32 i = 0; i < 0x400; ++i) chip->MainFlashImage[i] = static_cast<u8>(i * 7);
    chip->MainFlashImage[0x400] = 0x55;  // just past the programmed range
    for (u32 i = 0; i < test::kEepSize; ++i) chip->EepImage[i] = static_cast<u8>(i);
  }
  std::unique_ptr<ChipModel> chip = test::MakeChip();
  MessageLog log{[] { return std::string("08:15:00"); }};
};

TEST_F(ViewChecksums, MainAndDataFlashSumsOverTheProgrammedRangesWithTheirLines) {
  RefreshChecksums(*chip, log);
  const auto image = std::span<const u8>(chip->MainFlashImage);
  const u32 main = std::accumulate(image.begin(), image.begin() + 0x400, 0u);
  const u32 eep = std::accumulate(chip->EepImage.begin(), chip->EepImage.begin() + test::kEepSize, 0u);
  EXPECT_EQ(chip->Sums.MainAcc32, main);
  EXPECT_EQ(chip->Sums.MainSum16, static_cast<u16>(main));
  EXPECT_EQ(chip->Sums.MainCheck16, CalcCheck16(image, 0, 0x3FF));
  EXPECT_EQ(chip->Sums.EepAcc32, eep);
  EXPECT_EQ(chip->Sums.EepCheck16, CalcCheck16(chip->EepImage, 0, test::kEepSize - 1));
  EXPECT_EQ(chip->Sums.ChipChecksum, main + eep);
  ASSERT_EQ(log.Lines().size(), 4u);
  EXPECT_EQ(log.Lines()[0], "");
  char line[96];
  std::snprintf(line, sizeof line, "> 08:15:00 Chip Main Flash ACC32 CheckSum = 0x%08X.", main);
  EXPECT_EQ(log.Lines()[1], line);
  std::snprintf(line, sizeof line, "> 08:15:00 Chip EEP Data ACC32 CheckSum   = 0x%08X", eep);
  EXPECT_EQ(log.Lines()[2], line);
  char chipLine[64];
  std::snprintf(chipLine, sizeof chipLine, "> 08:15:00 Chip ACC32 CheckSum is : 0x%08X", main + eep);
  EXPECT_EQ(log.Lines()[3], chipLine);
}

TEST_F(ViewChecksums, AChipWithoutDataFlashClearsThePreviousDataFlashSums) {
  RefreshChecksums(*chip, log);
  ASSERT_NE(chip->Sums.EepAcc32, 0u);
  chip->Params.EepSize = 0;
  log.Clear();
  RefreshChecksums(*chip, log);
  EXPECT_EQ(chip->Sums.EepAcc32, 0u);
  EXPECT_EQ(chip->Sums.EepSum16, 0u);
  EXPECT_EQ(chip->Sums.EepCheck16, 0u);
  EXPECT_EQ(chip->Sums.ChipChecksum, chip->Sums.MainAcc32);
  EXPECT_EQ(log.Lines().size(), 3u);  // no data-flash line
}

TEST_F(ViewChecksums, EmptyProgrammedRangeSumsToZeroAndStatusTexts) {
  chip->Params.DownloadSize = 0;
  CalcMainChecksum(*chip, log);
  EXPECT_EQ(chip->Sums.MainAcc32, 0u);
  EXPECT_EQ(chip->Sums.MainCheck16, 0u);
  chip->Sums.FileChecksum = 0x00ABCDEF;
  chip->Sums.ChipChecksum = 0x1234;
  EXPECT_EQ(FileChecksumText(*chip), "File CheckSum: 0x00ABCDEF");
  EXPECT_EQ(ChipChecksumText(*chip), "Chip CheckSum: 0x00001234");
}

TEST_F(ViewChecksums, OptionSumsOverTheFirst256Bytes) {
  chip->OptionImage[0] = 0xFF;
  chip->OptionImage[255] = 0x01;
  chip->OptionImage[256] = 0x77;  // not counted
  CalcOptionChecksum(*chip);
  EXPECT_EQ(chip->Sums.OptionSum16, 0x100);
  EXPECT_EQ(chip->Sums.OptionCheck16, CalcCheck16(chip->OptionImage, 0, 255));
}

}  // namespace
}  // namespace qx
