// A unit's own serial number: its bytes in the unit's main-flash program blocks and in what
// its verification compares, and the sums of its own bytes in every chip header it is sent;
// the other units and the image keep the image's bytes and sums.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <vector>

#include "programmer/CommandCodes.h"
#include "programmer/ChipInfoHeader.h"
#include "programmer/OnlineChains.h"
#include "programmer/ResultCode.h"
#include "programmer/SerialPatch.h"
#include "tests/programmer/session_fixture.h"

namespace qx::test {
namespace {

constexpr u32 kSize = 0x3000;
constexpr std::size_t kData = 8 + ChipInfoHeaderSize;  // first image byte of a program block

class SerialPatchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto& p = w.model->Params;
    p.MainFlashStart = 0x08000000;
    p.MainFlashEnd = 0x08000000 + kSize - 1;
    p.MainFlashSize = kSize;
    p.DownloadSize = kSize;
    for (std::size_t i = 0; i < kSize; ++i) w.model->MainFlashImage[i] = static_cast<u8>(i * 7 + 3);
    w.model->Sums.MainCheck16 = CalcCheck16(w.model->MainFlashImage, 0, kSize - 1);
    w.model->Sums.MainSum16 = static_cast<u16>(CalcAcc32(w.model->MainFlashImage, 0, kSize - 1));
    for (auto& chip : chips) chip.assign(w.model->MainFlashImage.begin(), w.model->MainFlashImage.begin() + kSize);
  }

  // The image as unit k was meant to receive it.
  std::vector<u8> OwnImage(u8 k) const {
    std::vector<u8> v(w.model->MainFlashImage.begin(), w.model->MainFlashImage.begin() + kSize);
    OverlaySerialPatch(w.wire->Units[k].Serial, 0, v);
    return v;
  }

  // A unit that programs into its chip and reads it back.
  void RunUnit(u8 k) {
    for (int guard = 0; w.U(k).Busy && guard < 100; ++guard) {
      const auto& req = w.ports[k].packets.back();
      const std::size_t at = std::size_t{GetLe16(req, 1)} * 1024;
      if (req[0] == CmdProgramMainBlock) {
        for (std::size_t i = 0; i < 4096 && at + i < kSize; ++i) chips[k][at + i] = req[kData + i];
        w.Status(k, ResAck);
      } else if (req[0] == CmdReadMainBlock) {
        std::vector<u8> data(4096, 0xFF);
        for (std::size_t i = 0; i < 4096 && at + i < kSize; ++i) data[i] = chips[k][at + i];
        w.Feed(k, DataReply(data));
      } else {
        w.Status(k, ResAck);
      }
    }
  }

  static u16 HeaderWord(const std::vector<u8>& packet, std::size_t at) { return GetLe16(packet, 8 + at); }

  SessionWorld w;
  std::array<std::vector<u8>, 2> chips;
  const std::array<u8, 4> number = {0xA1, 0xB2, 0xC3, 0xD4};
};

TEST_F(SerialPatchTest, EachUnitIsProgrammedAndVerifiedWithItsOwnBytesAndSums) {
  // Across the first two program blocks: two bytes at the end of one, two at the start of the next.
  PlaceSerialPatch(w.wire->Units[1].Serial, *w.model, 0x0FFE, number);
  const auto own = OwnImage(1);
  const u16 ownCheck = CalcCheck16(std::span<const u8>(own));
  const u16 ownSum = static_cast<u16>(CalcAcc32(own, 0, kSize - 1));
  ASSERT_NE(ownCheck, w.model->Sums.MainCheck16);

  for (u8 k : {u8{0}, u8{1}}) {
    StartProgramMain(*w.s, k);
    RunUnit(k);
    StartVerifyMain(*w.s, k);
    RunUnit(k);
  }
  EXPECT_EQ(chips[1], own);
  EXPECT_EQ(std::vector<u8>(chips[1].begin() + 0x0FFE, chips[1].begin() + 0x1002),
            std::vector<u8>(number.begin(), number.end()));
  EXPECT_TRUE(std::equal(chips[0].begin(), chips[0].end(), w.model->MainFlashImage.begin()));
  EXPECT_EQ(w.model->MainFlashImage[0x0FFE], static_cast<u8>(0x0FFE * 7 + 3));  // the image as loaded
  EXPECT_TRUE(w.op.messages.empty());
  for (u8 k : {u8{0}, u8{1}}) {
    EXPECT_EQ(w.U(k).Gauge.State, GaugeState::Ok) << int(k);
    ASSERT_EQ(w.ports[k].packets.size(), 6u);  // three program and three verify requests
    for (const auto& p : w.ports[k].packets) {
      EXPECT_EQ(HeaderWord(p, ChipInfoMainCheck16At), k == 1 ? ownCheck : w.model->Sums.MainCheck16);
      EXPECT_EQ(HeaderWord(p, ChipInfoMainSum16At), k == 1 ? ownSum : w.model->Sums.MainSum16);
    }
  }

  // A chip holding the image's bytes instead fails unit 1's verification at the number.
  chips[1].assign(w.model->MainFlashImage.begin(), w.model->MainFlashImage.begin() + kSize);
  w.op.answers.push_back(MsgAnswer::Abort);
  StartVerifyMain(*w.s, 1);
  RunUnit(1);
  ASSERT_EQ(w.op.messages.size(), 1u);
  char text[80];
  std::snprintf(text, sizeof text, "Chip 2: Address=0x00000FFE,Buffer=0xA1,Chip=0x%02X", chips[1][0x0FFE]);
  EXPECT_EQ(w.op.messages[0].text, text);
  EXPECT_EQ(w.U(1).Gauge.State, GaugeState::Failed);
}

TEST_F(SerialPatchTest, SumsCoverTheProgrammedRangeWithTheUnitsBytes) {
  struct Case {
    u32 downloadSize;
    u32 index;
  } cases[] = {
      {kSize, 0x100},       // inside
      {kSize, 0},           // first bytes
      {0x1000, 0x0FFE},     // half inside the programmed range
      {0x1000, 0x2000},     // beyond it: the image's sums
      {0, 0x10},            // nothing programmed
  };
  for (const Case& c : cases) {
    w.model->Params.DownloadSize = c.downloadSize;
    UnitSerialPatch patch;
    PlaceSerialPatch(patch, *w.model, c.index, number);
    std::vector<u8> own(w.model->MainFlashImage.begin(), w.model->MainFlashImage.begin() + kSize);
    std::copy(number.begin(), number.end(), own.begin() + c.index);
    const u32 last = c.downloadSize - 1;
    EXPECT_EQ(patch.MainCheck16, CalcCheck16(own, 0, last)) << std::hex << c.index;
    EXPECT_EQ(patch.MainSum16, static_cast<u16>(CalcAcc32(own, 0, last))) << std::hex << c.index;
    EXPECT_EQ(patch.Active, 1);
  }
}

TEST_F(SerialPatchTest, OtherRequestsOfTheUnitCarryItsSumsToo) {
  PlaceSerialPatch(w.wire->Units[2].Serial, *w.model, 0x20, number);
  StartBlankCheck(*w.s, 2);
  StartBlankCheck(*w.s, 3);
  EXPECT_EQ(HeaderWord(w.ports[2].packets.back(), ChipInfoMainCheck16At), w.wire->Units[2].Serial.MainCheck16);
  EXPECT_EQ(HeaderWord(w.ports[3].packets.back(), ChipInfoMainCheck16At), w.model->Sums.MainCheck16);
}

}  // namespace
}  // namespace qx::test
