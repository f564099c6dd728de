#include <gtest/gtest.h>

#include <memory>

#include "base/MessageLog.h"
#include "images/Checksums.h"
#include "images/ChipModel.h"
#include "images/ViewChecksums.h"

namespace qx {
namespace {

class ReadChecksums : public ::testing::Test {
 protected:
  std::unique_ptr<ChipModel> m = std::make_unique<ChipModel>();
  MessageLog log{[] { return std::string("01:02:03"); }};
};

TEST_F(ReadChecksums, MainSumsCoverTheWindowWhileTheLineCoversTheDownload) {
  auto& p = m->Params;
  p.MainFlashStart = 0x08000000;  // the bits above 24 are dropped for the image index
  p.MainFlashEnd = 0x08000FFF;
  p.MainImageOffset = 0;
  p.DownloadSize = 0x100;
  for (std::size_t i = 0; i < 0x1000; ++i) m->MainFlashImage[i] = 1;
  m->MainFlashImage[0x1000] = 0x77;  // past the window: counted nowhere
  m->Sums.MainAcc32 = 0xDEADBEEF;
  m->Params.EepSize = 0x10;
  m->EepImage.fill(3);  // 0x30 within the data flash
  m->Sums.EepAcc32 = 0x55;
  m->Sums.ChipChecksum = 0xDEADBEEF + 0x55;  // the files' sum before the read
  CalcReadMainChecksum(*m, log);
  EXPECT_EQ(m->Sums.MainSum16, 0x1000);
  EXPECT_EQ(m->Sums.MainCheck16, CalcCheck16(std::span<const u8>(m->MainFlashImage).first(0x1000)));
  EXPECT_EQ(m->Sums.MainAcc32, 0xDEADBEEFu);
  EXPECT_EQ(m->Sums.ChipChecksum, 0x100u + 0x30u);  // the bytes read, with the data flash
  ASSERT_EQ(log.Lines().size(), 1u);
  EXPECT_EQ(log.Lines()[0], "> 01:02:03 Read Chip Main Flash ACC32 CheckSum = 0x00000100.");
}

TEST_F(ReadChecksums, EepSumsOverTheDataFlashSizeAndNothingForNone) {
  for (std::size_t i = 0; i < 0x20; ++i) m->EepImage[i] = 2;
  m->Params.EepSize = 0x10;
  m->Sums.EepAcc32 = 7;
  CalcReadEepChecksum(*m, log);
  EXPECT_EQ(m->Sums.EepSum16, 0x20);
  EXPECT_EQ(m->Sums.EepCheck16, CalcCheck16(std::span<const u8>(m->EepImage).first(0x10)));
  EXPECT_EQ(m->Sums.EepAcc32, 7u);
  m->Params.EepSize = 0;
  CalcReadEepChecksum(*m, log);
  EXPECT_EQ(m->Sums.EepSum16, 0);
  EXPECT_EQ(m->Sums.EepCheck16, 0);
  EXPECT_EQ(log.Lines(), (std::vector<std::string>{"> 01:02:03 Read Chip EEP Data ACC32 CheckSum = 0x00000020.",
                                                   "> 01:02:03 Read Chip EEP Data ACC32 CheckSum = 0x00000000."}));
}

}  // namespace
}  // namespace qx
