#include <gtest/gtest.h>
#include <ostream>

#include "programmer/CommandCodes.h"
#include "programmer/DownloadChain.h"
#include "programmer/ResultCode.h"
#include "programmer/SettingsBlock.h"
#include "texts/Texts.h"
#include "tests/programmer/session_fixture.h"

namespace qx::test {
namespace {

class DownloadChain : public ::testing::Test {
 protected:
  void SetUp() override {
    auto& p = w.model->Params;
    p.MainImageOffset = 0x1000;
    p.MainFlashSize = 0x40000;
    for (std::size_t i = 0; i < 0x30000; ++i) w.model->MainFlashImage[i] = static_cast<u8>(i * 7 + (i >> 12));
    for (std::size_t i = 0; i < 0x2000; ++i) w.model->EepImage[i] = static_cast<u8>(i ^ 0x5A);
  }
  // Acknowledges every request with 6 until the unit is idle; returns the requests sent.
  const std::vector<std::vector<u8>>& Run(u8 k, u8 ack = ResAck) {
    StartDownloadChipData(*w.s, k);
    for (int guard = 0; w.U(k).Busy && guard < 1000; ++guard) w.Status(k, ack);
    return w.ports[k].packets;
  }
  static std::vector<u8> Commands(const std::vector<std::vector<u8>>& packets) {
    std::vector<u8> c;
    for (const auto& p : packets) c.push_back(p.empty() ? 0 : p[0]);
    return c;
  }
  SessionWorld w;
};

struct SizeCase {
  u32 downloadSize;
  std::vector<u16> blocks;
};
// Cases print as what they vary, not as their bytes.
void PrintTo(const SizeCase& c, std::ostream* os) { *os << "size" << c.downloadSize; }

class DownloadSizes : public DownloadChain, public ::testing::WithParamInterface<SizeCase> {};

TEST_P(DownloadSizes, SendsWholePacketsOfTheMainImageFromItsOffset) {
  w.model->Params.DownloadSize = GetParam().downloadSize;
  const auto& packets = Run(2);
  const auto& blocks = GetParam().blocks;
  ASSERT_EQ(packets.size(), blocks.size() + 2);  // chip data, blocks, restart
  EXPECT_EQ(packets.front()[0], CmdChipData);
  for (std::size_t i = 0; i < blocks.size(); ++i) {
    const auto& p = packets[1 + i];
    ASSERT_EQ(p.size(), 4106u);
    EXPECT_EQ(p[0], CmdDownloadMainBlock);
    EXPECT_EQ(GetLe16(p, 1), blocks[i]);
    const std::size_t from = 0x1000 + std::size_t{blocks[i]} * 1024;
    EXPECT_TRUE(std::equal(p.begin() + 8, p.begin() + 8 + 4096, w.model->MainFlashImage.begin() + from)) << i;
  }
  EXPECT_EQ(packets.back()[0], CmdRestart);
  EXPECT_EQ(w.s->DownloadOkCount, 1);
  EXPECT_EQ(w.UnitTexts(2), (std::vector<std::string>{"Start to Download Chip Data......",
                                                      "Start to Download Main Flash Data......",
                                                      "Data Donwload Success!"}));
  EXPECT_EQ(w.U(2).Gauge.State, GaugeState::Ok);
  EXPECT_EQ(w.U(2).StepState, StepIdle);
}

std::vector<u16> Blocks(u16 count) {
  std::vector<u16> b;
  for (u16 i = 0; i < count; ++i) b.push_back(static_cast<u16>(i * 4));
  return b;
}

INSTANTIATE_TEST_SUITE_P(Sizes, DownloadSizes,
                         ::testing::Values(SizeCase{4096, {0}}, SizeCase{4097, {0, 4}}, SizeCase{0x20000, Blocks(32)},
                                           SizeCase{0, {0}}));

TEST_F(DownloadChain, DataFlashFollowsWhenSelectedAndZeroSizeSendsOnePacket) {
  w.model->Params.DownloadSize = 4096;
  w.model->ProgramEep = 1;
  w.model->Params.EepSize = 0x1800;
  auto cmds = Commands(Run(0));
  EXPECT_EQ(cmds, (std::vector<u8>{CmdChipData, CmdDownloadMainBlock, CmdDownloadEepBlock, CmdDownloadEepBlock, CmdRestart}));
  EXPECT_EQ(GetLe16(w.ports[0].packets[3], 1), 4);
  EXPECT_TRUE(std::equal(w.ports[0].packets[3].begin() + 8, w.ports[0].packets[3].begin() + 8 + 4096,
                         w.model->EepImage.begin() + 4096));
  EXPECT_EQ(w.UnitTexts(0)[2], "Start to Dwonload EEP Data......");

  SessionWorld w2;
  w2.model->Params.DownloadSize = 4096;
  w2.model->ProgramEep = 1;
  w2.model->Params.EepSize = 0;
  StartDownloadChipData(*w2.s, 1);
  while (w2.U(1).Busy) w2.Status(1, 0);
  EXPECT_EQ(Commands(w2.ports[1].packets),
            (std::vector<u8>{CmdChipData, CmdDownloadMainBlock, CmdDownloadEepBlock, CmdRestart}));
  EXPECT_EQ(GetLe16(w2.ports[1].packets[2], 1), 0);
}

TEST_F(DownloadChain, DataFlashNotSentUnlessSelected) {
  w.model->Params.DownloadSize = 4096;
  w.model->Params.EepSize = 0x1000;
  EXPECT_EQ(Commands(Run(0)), (std::vector<u8>{CmdChipData, CmdDownloadMainBlock, CmdRestart}));
}

TEST_F(DownloadChain, CommandLineOffEndsWithoutTheRestart) {
  w.model->Params.DownloadSize = 4096;
  w.s->CmdLineOff = 1;
  EXPECT_EQ(Commands(Run(9)), (std::vector<u8>{CmdChipData, CmdDownloadMainBlock}));
  EXPECT_EQ(w.LastLine(), SessionWorld::UnitLine(9, "Data Donwload Success!"));
  EXPECT_EQ(w.s->DownloadOkCount, 1);
}

TEST_F(DownloadChain, DriverBlockFollowsTheChipDataWhenTheFamilyNeedsOne) {
  w.model->Params.DownloadSize = 4096;
  w.model->Params.UseFlashDriver = 1;
  w.wire->Driver.DriverLoaded = 1;
  w.wire->Driver.DriverSize = 0x123;
  w.wire->Driver.Image[5] = 0x77;
  const auto& packets = Run(0);
  EXPECT_EQ(Commands(packets), (std::vector<u8>{CmdChipData, CmdDriverBlock, CmdDownloadMainBlock, CmdRestart}));
  EXPECT_EQ(GetLe16(packets[1], 1), 0x123);
  EXPECT_EQ(packets[1][8 + 5], 0x77);
}

TEST_F(DownloadChain, NoValidDriverFailsTheUnitBeforeAnythingIsSent) {
  w.model->Params.DownloadSize = 4096;
  w.model->Params.UseFlashDriver = 1;
  w.wire->Driver.DriverLoaded = 0;
  StartDownloadChipData(*w.s, 3);
  EXPECT_TRUE(w.ports[3].packets.empty());
  EXPECT_EQ(w.U(3).Busy, 0);
  EXPECT_EQ(w.U(3).Gauge.State, GaugeState::Failed);
  EXPECT_EQ(w.LastLine(), SessionWorld::UnitLine(3, "Flash driver is not loaded, command not sent!"));
  EXPECT_EQ(w.s->DownloadOkCount, 0);
}

// The units count their serial numbers by the step of all units in use, carried in 16 bits:
// with the serial number on, a step beyond 16 bits fails the unit before anything is sent;
// a step of 0 (every chip the same number), the largest that fits, and any step with the
// serial number off, go out as they are.
TEST_F(DownloadChain, AnSnStepBeyondSixteenBitsFailsTheUnitBeforeAnythingIsSent) {
  struct Case {
    const char* name;
    u8 flags;
    u16 gain;
    u8 units;
    bool refused;
  };
  const Case cases[] = {
      {"0x1999 x 10 fits", SnFlagOn, 0x1999, 10, false},
      {"0xFFFF x 1 fits", SnFlagOn | 0x04, 0xFFFF, 1, false},
      {"0x2000 x 8 wraps to 0", SnFlagOn, 0x2000, 8, true},
      {"0x6000 x 3 is cut to 0x2000", SnFlagOn | 0x40, 0x6000, 3, true},
      {"gain 0: every chip the same number", SnFlagOn, 0, 4, false},
      {"serial number off", 0x04, 0x2000, 8, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SessionWorld world;
    world.model->Params.DownloadSize = 4096;
    world.model->Sn.SnFlags = c.flags;
    world.model->Sn.SnGain = c.gain;
    world.s->UnitCount = c.units;
    const u8 k = static_cast<u8>(c.units - 1);
    StartDownloadChipData(*world.s, k);
    if (!c.refused) {
      ASSERT_EQ(world.ports[k].packets.size(), 1u);
      const auto& p = world.ports[k].packets[0];
      EXPECT_EQ(p[0], CmdChipData);
      // The payload's even bytes are masked by the nonce's low byte, the odd by its high byte.
      const u8 m0 = static_cast<u8>((p[1] ^ 0xF4) | 0x80);
      const u8 m1 = static_cast<u8>((p[2] ^ 0xED) | 0x80);
      EXPECT_EQ((p[8 + SbSnStepAt] ^ m0) | ((p[9 + SbSnStepAt] ^ m1) << 8), static_cast<u16>(c.gain * c.units));
      EXPECT_EQ(world.U(k).Busy, 1);
      continue;
    }
    EXPECT_TRUE(world.ports[k].packets.empty());
    EXPECT_EQ(world.U(k).Busy, 0);
    EXPECT_EQ(world.U(k).Gauge.State, GaugeState::Failed);
    EXPECT_EQ(world.U(k).DownloadDone, 0);
    EXPECT_EQ(world.LastLine(),
              SessionWorld::UnitLine(k, Tx(TextId::SnStepRefused, u32{c.gain}, u32{c.units}, u32{c.gain} * c.units)));
  }
}

TEST_F(DownloadChain, AFailureCodeEndsOnlyThatUnitsChain) {
  w.model->Params.DownloadSize = 0x3000;
  StartDownloadChipData(*w.s, 0);
  StartDownloadChipData(*w.s, 1);
  w.Status(0, 6);
  w.Status(1, 6);
  w.Status(0, 0x2C);  // the first main block fails on unit 0
  EXPECT_EQ(w.LastLine(), SessionWorld::UnitLine(0, "Flash Memory Error!"));
  EXPECT_EQ(w.U(0).Gauge.State, GaugeState::Failed);
  while (w.U(1).Busy) w.Status(1, 6);
  EXPECT_EQ(w.s->DownloadOkCount, 1);
  EXPECT_EQ(w.ports[0].packets.back()[0], CmdDownloadMainBlock);
  EXPECT_EQ(w.ports[1].packets.back()[0], CmdRestart);
  // A late reply to the idle unit changes nothing.
  const auto lines = w.Lines().size();
  w.Status(0, 6);
  EXPECT_EQ(w.Lines().size(), lines);
}

TEST_F(DownloadChain, GaugeCountsBlocksAndTimeoutsFollowTheSteps) {
  w.model->Params.DownloadSize = 0x3000;
  StartDownloadChipData(*w.s, 0);
  EXPECT_EQ(w.U(0).Gauge.Progress, 15);
  EXPECT_EQ(w.U(0).Gauge.Max, 500);
  EXPECT_EQ(w.U(0).GaugeRun, 1);
  w.Status(0, 6);
  EXPECT_EQ(w.U(0).StepState, StepDownloadMain);
  EXPECT_EQ(w.U(0).Gauge.Max, 12);
  EXPECT_EQ(w.U(0).Gauge.Progress, 4);
  EXPECT_EQ(w.U(0).TimeoutTicks, 500);
  w.Status(0, 6);
  EXPECT_EQ(w.U(0).Gauge.Progress, 5);
  EXPECT_EQ(w.U(0).TimeoutTicks, 1000);  // re-armed by the received reply
}

}  // namespace
}  // namespace qx::test
