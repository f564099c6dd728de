#include <gtest/gtest.h>

#include <cstring>

#include "programmer/CommandCodes.h"
#include "programmer/FirmwareUpgrade.h"
#include "programmer/Tick.h"
#include "tests/programmer/session_fixture.h"

namespace qx::test {
namespace {

class Upgrade : public ::testing::Test {
 protected:
  void SetUp() override {
    auto& fw = w.wire->Firmware;
    fw.FirmwareLoaded = 1;
    std::memcpy(fw.FirmwareVersion.data(), "V2.4", 4);
    fw.FirmwareBaseAddress = 0x1000;
    fw.FirmwareEndAddress = 0x1800;  // three blocks
  }
  SessionWorld w;
};

TEST_F(Upgrade, SendsEveryBlockThenTheEndAndCompletes) {
  StartFirmwareUpgrade(*w.s, 0);
  StartFirmwareUpgrade(*w.s, 1);
  EXPECT_EQ(w.s->RelinkPending, 1);
  EXPECT_EQ(w.U(0).BlockCount, 3);
  EXPECT_EQ(w.U(0).Gauge.Progress, 2);
  EXPECT_EQ(w.U(0).Gauge.Max, 3);
  for (int i = 0; i < 3; ++i) w.Status(0, 6);
  const auto& p = w.ports[0].packets;
  ASSERT_EQ(p.size(), 4u);
  EXPECT_EQ(p[0][1], 0);
  EXPECT_EQ(p[1][1], 4);
  EXPECT_EQ(p[2][1], 8);
  EXPECT_EQ(p[3][0], CmdFirmwareEnd);
  EXPECT_EQ(w.U(0).UpgradeBusy, 0);
  EXPECT_EQ(w.U(0).StepState, StepIdle);
  // Typed events: one begin with the gauge range, one good end with the full gauge.
  const auto began = w.op.Events(0, RecordingOperator::Kind::Began);
  ASSERT_EQ(began.size(), 1u);
  EXPECT_EQ(began[0].step, StepFirmwareUpgrade);
  EXPECT_EQ(began[0].gauge.Progress, 2);
  EXPECT_EQ(began[0].gauge.Max, 3);
  ASSERT_EQ(w.op.Ends(0).size(), 1u);
  EXPECT_TRUE(w.op.Ends(0)[0].ok);
  EXPECT_EQ(w.op.Ends(0)[0].gauge.Progress, 3);
  EXPECT_EQ(w.UnitTexts(0), (std::vector<std::string>{"Start to Upgrade Programmer 1s Firmware......",
                                                      "Programmer 1s Firmware Fpgrade Completed!"}));
  // Unit 1 has its own counter and is still at its first block.
  EXPECT_EQ(w.U(1).BlockIndex, 0);
  EXPECT_EQ(w.U(1).UpgradeBusy, 1);
}

TEST_F(Upgrade, AnyBlockAnswerButSixFailsRedNeverSuccess) {
  for (u8 code : {u8{0}, u8{0x2C}}) {
    SessionWorld v;
    v.wire->Firmware = w.wire->Firmware;
    StartFirmwareUpgrade(*v.s, 3);
    v.Status(3, code);
    EXPECT_EQ(v.U(3).Gauge.State, GaugeState::Failed);
    // The failed upgrade is over: the re-search need not wait for it.
    EXPECT_EQ(v.U(3).UpgradeBusy, 0);
    EXPECT_EQ(v.U(3).UpgradeFailed, 1);
    const auto ends = v.op.Ends(3);
    ASSERT_EQ(ends.size(), 1u);
    EXPECT_EQ(ends[0].step, StepFirmwareUpgrade);
    EXPECT_EQ(ends[0].code, code);
    EXPECT_FALSE(ends[0].ok);
    EXPECT_EQ(v.U(3).Busy, 0);
    EXPECT_NE(v.LastLine(), SessionWorld::UnitLine(3, "Operation Success!"));
    EXPECT_EQ(v.ports[3].packets.size(), 1u);
  }
}

TEST_F(Upgrade, NothingWithoutFirmwareAndSilenceTimesOut) {
  SessionWorld v;
  StartFirmwareUpgrade(*v.s, 0);
  EXPECT_TRUE(v.ports[0].packets.empty());
  EXPECT_EQ(v.s->RelinkPending, 0);
  StartFirmwareUpgrade(*w.s, 0);
  for (int i = 0; i < 500; ++i) TickUnits(*w.s);
  EXPECT_EQ(w.LastLine(), SessionWorld::UnitLine(0, "Command Executed Time Out!"));
  EXPECT_EQ(w.U(0).UpgradeBusy, 0);
  EXPECT_EQ(w.U(0).UpgradeFailed, 1);
  ASSERT_EQ(w.op.Ends(0).size(), 1u);
  EXPECT_EQ(w.op.Ends(0)[0].code, 64);
}

}  // namespace
}  // namespace qx::test
