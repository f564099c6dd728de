#include <gtest/gtest.h>
#include <ostream>

#include "programmer/ResultCode.h"
#include "programmer/Tick.h"
#include "programmer/UnitSessionReset.h"
#include "programmer/UnitStepFramework.h"
#include "tests/programmer/session_fixture.h"

namespace qx::test {
namespace {

struct BeginCase {
  u16 ticks;
  u32 length;
  bool blockMode;
  u16 blockCount;
  i32 progress;
  i32 max;
};
// Cases print as what they vary, not as their bytes.
void PrintTo(const BeginCase& c, std::ostream* os) { *os << "ticks" << c.ticks << "_length" << c.length << (c.blockMode ? "_blocks" : "_timed"); }

class BeginUnitStepTest : public ::testing::TestWithParam<BeginCase> {};

TEST_P(BeginUnitStepTest, ArmsCountsAndGauge) {
  SessionWorld w;
  const auto& c = GetParam();
  auto& u = w.s->Unit[3];
  u.BlockIndex = 77;
  u.StepState = StepErase;
  u.Gauge.State = GaugeState::Failed;
  BeginUnitStep(*w.s, 3, c.ticks, c.length, c.blockMode);
  EXPECT_EQ(u.BlockIndex, 0);
  EXPECT_EQ(u.TimeoutTicks, c.ticks);
  EXPECT_EQ(u.Busy, 1);
  EXPECT_EQ(u.BlockCount, c.blockCount);
  EXPECT_EQ(u.Gauge.Progress, c.progress);
  EXPECT_EQ(u.Gauge.Max, c.max);
  EXPECT_EQ(u.Gauge.State, GaugeState::Running);
  EXPECT_EQ(u.StepState, StepErase);  // the starter owns the step state
  // One typed event: the step began, with its gauge range.
  ASSERT_EQ(w.op.unitEvents.size(), 1u);
  const auto& e = w.op.unitEvents[0];
  EXPECT_EQ(e.kind, RecordingOperator::Kind::Began);
  EXPECT_EQ(e.unit, 3);
  EXPECT_EQ(e.step, StepErase);
  EXPECT_EQ(e.gauge.Progress, c.progress);
  EXPECT_EQ(e.gauge.Max, c.max);
}

INSTANTIATE_TEST_SUITE_P(Cases, BeginUnitStepTest,
                         ::testing::Values(BeginCase{500, 0, true, 0, 2, 4}, BeginCase{500, 1024, true, 1, 1, 1},
                                           BeginCase{500, 1025, true, 2, 2, 2},
                                           BeginCase{500, 0x20000, true, 128, 4, 128},
                                           BeginCase{500, 4096, false, 4, 15, 500},
                                           BeginCase{2000, 4096, false, 4, 30, 2000}));

TEST(EndUnitStep, FillsTheGaugeSetsItsStateAndGoesIdleKeepingTheRest) {
  SessionWorld w;
  auto& u = w.s->Unit[0];
  BeginUnitStep(*w.s, 0, 500, 0x8000, true);
  u.StepState = StepProgramMain;
  u.GaugeRun = 1;
  u.AutoChain = 1;
  u.BlockIndex = 8;
  EndUnitStep(*w.s, 0, true);
  EXPECT_EQ(u.Busy, 0);
  EXPECT_EQ(u.StepState, StepIdle);
  EXPECT_EQ(u.Gauge.State, GaugeState::Failed);
  EXPECT_EQ(u.Gauge.Progress, u.Gauge.Max);
  EXPECT_EQ(u.GaugeRun, 1);
  EXPECT_EQ(u.AutoChain, 1);
  EXPECT_EQ(u.BlockIndex, 8);
  EXPECT_EQ(u.BlockCount, 32);

  // Already idle: only the gauge state and progress change.
  u.Gauge.Progress = 3;
  EndUnitStep(*w.s, 0, false);
  EXPECT_EQ(u.Gauge.State, GaugeState::Ok);
  EXPECT_EQ(u.Gauge.Progress, u.Gauge.Max);
  EXPECT_TRUE(w.Lines().empty());

  // The operator saw the ended step, then an end with no step running.
  const auto ends = w.op.Ends(0);
  ASSERT_EQ(ends.size(), 2u);
  EXPECT_EQ(ends[0].step, StepProgramMain);
  EXPECT_EQ(ends[0].code, StepFailedWithoutCode);
  EXPECT_FALSE(ends[0].ok);
  EXPECT_EQ(ends[0].gauge.State, GaugeState::Failed);
  EXPECT_EQ(ends[1].step, StepIdle);
  EXPECT_EQ(ends[1].code, 0);
  EXPECT_TRUE(ends[1].ok);
}

struct ResultCase {
  u8 code;
  const char* text;
  bool failed;
};
// Cases print as what they vary, not as their bytes.
void PrintTo(const ResultCase& c, std::ostream* os) { *os << "code" << unsigned{c.code}; }

class ReportUnitResultTest : public ::testing::TestWithParam<ResultCase> {};

TEST_P(ReportUnitResultTest, LogsTheTextAndEndsTheStep) {
  SessionWorld w;
  const auto& c = GetParam();
  w.s->Unit[2].Busy = 1;
  w.s->Unit[2].StepState = StepBlankCheck;
  ReportUnitResult(*w.s, 2, c.code);
  ASSERT_EQ(w.Lines().size(), 1u);
  EXPECT_EQ(w.LastLine(), SessionWorld::UnitLine(2, c.text));
  EXPECT_EQ(w.s->Unit[2].Gauge.State, c.failed ? GaugeState::Failed : GaugeState::Ok);
  EXPECT_EQ(w.s->Unit[2].Busy, 0);
  EXPECT_EQ(w.s->Unit[2].StepState, StepIdle);
  const auto ends = w.op.Ends(2);
  ASSERT_EQ(ends.size(), 1u);
  EXPECT_EQ(ends[0].step, StepBlankCheck);
  EXPECT_EQ(ends[0].code, c.code);
  EXPECT_EQ(ends[0].ok, !c.failed);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, ReportUnitResultTest,
    ::testing::Values(ResultCase{0, "Operation Success!", false}, ResultCase{6, "Operation Success!", false},
                      ResultCase{224, "USB Communication Error!", true},
                      ResultCase{96, "Programming Interface error: No Response!", true},
                      ResultCase{132, "Chip error: Arm Fault Response!", true},
                      ResultCase{160, "Packet Error!", true},
                      ResultCase{166, "USB RX Time Out!", true}, ResultCase{253, "Socket Is Not Identificated!", true},
                      ResultCase{7, "Chip error: Arm Fault Response!", true},
                      ResultCase{64, "Command Execute Time Out!", true},
                      ResultCase{90, "Opertaion Failed! Error Code : 090/0x5A.", true},
                      ResultCase{35, "Opertaion Failed! Error Code : 035/0x23.", true},
                      ResultCase{200, "Opertaion Failed! Error Code : 0200/0xC8.", true},
                      // 0x80 and 0x86 are not success even though their low bits are.
                      ResultCase{0x86, "Opertaion Failed! Error Code : 0134/0x86.", true},
                      ResultCase{0x80, "Opertaion Failed! Error Code : 0128/0x80.", true}));

TEST(AddUnitInfoLine, TagsTheUnitFromOne) {
  SessionWorld w;
  AddUnitInfoLine(*w.s, 2, "Chip is Blank!");
  AddUnitInfoLine(*w.s, 9, "x");
  EXPECT_EQ(w.Lines()[0], "> 12:34:56 C3 : Chip is Blank!");
  EXPECT_EQ(w.Lines()[1], "> 12:34:56 C10 : x");
}

TEST(TickUnits, CreepsCountsDownAndTimesOutOnce) {
  SessionWorld w;
  auto& busy = w.s->Unit[4];
  BeginUnitStep(*w.s, 4, 500, 4096, false);
  busy.GaugeRun = 1;
  busy.StepState = StepBlankCheck;
  busy.TimeoutTicks = 2;
  auto& idle = w.s->Unit[5];
  idle.TimeoutTicks = 1;
  idle.GaugeRun = 1;
  idle.Gauge.Progress = 7;

  TickUnits(*w.s);
  EXPECT_EQ(busy.Gauge.Progress, 16);
  EXPECT_EQ(busy.TimeoutTicks, 1);
  EXPECT_TRUE(w.Lines().empty());
  TickUnits(*w.s);
  ASSERT_EQ(w.Lines().size(), 1u);
  EXPECT_EQ(w.LastLine(), SessionWorld::UnitLine(4, "Command Executed Time Out!"));
  EXPECT_EQ(busy.Busy, 0);
  EXPECT_EQ(busy.StepState, StepIdle);
  EXPECT_EQ(busy.Gauge.State, GaugeState::Failed);
  EXPECT_EQ(busy.Gauge.Progress, busy.Gauge.Max);
  TickUnits(*w.s);
  EXPECT_EQ(w.Lines().size(), 1u);
  const auto ends = w.op.Ends(4);
  ASSERT_EQ(ends.size(), 1u);
  EXPECT_EQ(ends[0].code, ResTimeout);
  EXPECT_FALSE(ends[0].ok);

  EXPECT_TRUE(w.op.Ends(5).empty());
  EXPECT_EQ(idle.TimeoutTicks, 1);
  EXPECT_EQ(idle.Gauge.Progress, 7);
}

TEST(TickUnits, BusyWithZeroTicksTimesOutAtOnceAndGaugeStopsAtItsMaximum) {
  SessionWorld w;
  auto& u = w.s->Unit[0];
  BeginUnitStep(*w.s, 0, 20, 0, false);  // 10 of 20
  u.GaugeRun = 1;
  for (int i = 0; i < 15; ++i) TickUnits(*w.s);
  EXPECT_EQ(u.Gauge.Progress, 20);
  EXPECT_EQ(u.Busy, 1);
  u.TimeoutTicks = 0;
  TickUnits(*w.s);
  EXPECT_EQ(u.Busy, 0);
  EXPECT_EQ(w.LastLine(), SessionWorld::UnitLine(0, "Command Executed Time Out!"));
}

TEST(ResetSessionState, ForgetChipChoiceSetsTheChipsResetValues) {
  SessionWorld w;
  auto& m = *w.model;
  m.ChipName = "X";
  m.Params.MainFlashSize = 0x1000;
  m.Timing.ChipInStableTime = 3;
  m.ObjectLoaded = 1;
  w.s->LinkedCount = 3;
  ForgetChipChoice(m);
  EXPECT_EQ(m.ProgrammerModel, "Nolbin200XX");
  EXPECT_TRUE(m.ChipName.empty());
  EXPECT_EQ(m.Params.MainFlashSize, 0u);
  EXPECT_EQ(m.Timing.ChipInStableTime, 17);
  EXPECT_EQ(m.Control.PowerOnTime, 10);
  EXPECT_EQ(m.ObjectLoaded, 0);
  EXPECT_EQ(w.s->LinkedCount, 3);  // the sessions are not the chip's
}

TEST(ResetSessionState, SetsTheSessionsResetValuesAndLeavesTheChip) {
  SessionWorld w;
  auto& m = *w.model;
  m.ChipName = "X";
  m.ObjectLoaded = 1;
  w.s->LinkedCount = 3;
  w.s->DownloadOkCount = 2;
  for (auto& u : w.s->Unit) {
    u.Busy = u.Linked = u.AutoChain = u.UpgradeBusy = u.GaugeRun = 1;
    u.TimeoutTicks = 5;
    u.StepState = StepErase;
    u.OkCount = u.NgCount = 4;
  }
  ResetSessionState(*w.s);
  EXPECT_EQ(m.ChipName, "X");
  EXPECT_EQ(m.ObjectLoaded, 1);
  EXPECT_EQ(w.s->LinkedCount, 0);
  EXPECT_EQ(w.s->DownloadOkCount, 0);
  for (const auto& u : w.s->Unit) {
    EXPECT_EQ(u.TimeoutTicks, 200);
    EXPECT_EQ(u.StepState, StepIdle);
    EXPECT_EQ(u.Busy | u.Linked | u.AutoChain | u.UpgradeBusy | u.GaugeRun, 0);
    EXPECT_EQ(u.OkCount + u.NgCount, 0);
  }
}

}  // namespace
}  // namespace qx::test
