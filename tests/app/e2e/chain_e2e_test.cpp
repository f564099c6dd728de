// Ten simulated units through the station: start-up, linking, the chains, faults.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "base/ByteOrder.h"
#include "programmer/AutoChain.h"
#include "programmer/CommandCodes.h"
#include "programmer/DownloadChain.h"
#include "programmer/OnlineChains.h"
#include "tests/app/e2e/station_fixture.h"

namespace qx::test {
namespace {

using Kind = RecordingOperator::Kind;

class EndToEnd : public ::testing::Test {
 protected:
  void Start(std::vector<sim::UnitConfig> configs) {
    const auto n = static_cast<u8>(configs.size());
    rig.Units(std::move(configs));
    rig.FirmwareFile();
    rig.Make();
    rig.StartUp();
    ASSERT_TRUE(rig.Linked(n));
  }
  void PrepareImage(u32 size) {
    auto& m = StationProbe::Model(*rig.st);
    auto& p = m.Params;
    p.MainFlashStart = 0;
    p.MainFlashEnd = size - 1;
    p.MainFlashSize = size;
    p.DownloadSize = size;
    for (u32 i = 0; i < size; ++i) m.MainFlashImage[i] = static_cast<u8>((i * 31) ^ (i >> 9));
  }
  bool AllIdle() {
    for (u8 k = 0; k < rig.st->UnitCount(); ++k) {
      if (rig.U(k).Busy) return false;
    }
    return true;
  }
  std::vector<u8> BeganSteps(u8 k) const {
    std::vector<u8> steps;
    for (const auto& e : rig.op.Events(k, Kind::Began)) steps.push_back(e.step);
    return steps;
  }

  StationRig rig;
};

TEST_F(EndToEnd, TenUnitsLinkAndTakeADownloadOfMainAndDataFlash) {
  Start(std::vector<sim::UnitConfig>(10));
  PrepareImage(0x40000);
  auto& m = StationProbe::Model(*rig.st);
  m.ProgramEep = 1;
  m.Params.EepSize = 0x2000;
  m.Sn.SnValue = 1000;
  m.Sn.SnGain = 2;
  EXPECT_EQ(rig.st->StartWritingCommand(StartDownloadChipData, AutoChainRule::Keep), UnitSet().set());
  ASSERT_TRUE(rig.RunUntil([&] { return rig.st->DownloadOkCount() == 10; }));
  for (u8 k = 0; k < 10; ++k) {
    SCOPED_TRACE(static_cast<int>(k));
    const auto st = rig.sim->Stats(k);
    EXPECT_TRUE(st.SettingsValid);
    EXPECT_EQ(st.DownloadSize, 0x40000u);
    EXPECT_EQ(st.ByCommand.at(CmdDownloadMainBlock), 64u);
    EXPECT_EQ(st.ByCommand.at(CmdDownloadEepBlock), 2u);
    EXPECT_EQ(st.BadFrames, 0u);
    u32 sn = 0;
    rig.sim->WithUnit(k, [&](sim::SimUnit& u) { sn = GetLe32(u.LastSettingsBlock(), 96); });
    EXPECT_EQ(sn, 1000u + 2u * k);
    EXPECT_EQ(BeganSteps(k), (std::vector<u8>{StepDownloadChipData, StepDownloadMain, StepDownloadEep}));
    const auto ends = rig.op.Ends(k);
    ASSERT_EQ(ends.size(), 1u);
    EXPECT_TRUE(ends[0].ok);
    EXPECT_EQ(ends[0].step, StepDownloadEep);
    EXPECT_EQ(ends[0].gauge.State, GaugeState::Ok);
    EXPECT_EQ(ends[0].gauge.Progress, ends[0].gauge.Max);
  }
  ASSERT_TRUE(rig.RunUntil([&] {
    for (u8 k = 0; k < 10; ++k) {
      if (!rig.sim->Stats(k).Restarted) return false;
    }
    return true;
  }));
}

TEST_F(EndToEnd, AutoChainOnTenUnitsWithFaultsFailingExactlyThoseUnits) {
  Start(std::vector<sim::UnitConfig>(10));
  PrepareImage(0x8000);
  StationProbe::Model(*rig.st).ProgramOptionBytes = 1;
  rig.sim->SetFaults(3, {{sim::FaultKind::Status, 0, 0x2C}});
  rig.sim->SetFaults(4, {{sim::FaultKind::Silence, 0, 0}});
  rig.sim->SetFaults(5, {{sim::FaultKind::BadCheck, 0, 0}});
  rig.sim->SetFaults(6, {{sim::FaultKind::BadEscape, 0, 0}});
  rig.sim->SetFaults(7, {{sim::FaultKind::Garbage, 0, 0}});
  EXPECT_EQ(rig.st->StartWritingCommand(StartAutoProgram, AutoChainRule::Set), UnitSet().set());
  ASSERT_TRUE(rig.RunUntil([&] { return AllIdle(); }));
  const std::vector<u8> good = {0, 1, 2, 7, 8, 9};
  for (u8 k : good) {
    SCOPED_TRACE(static_cast<int>(k));
    const auto ends = rig.op.Ends(k);
    ASSERT_EQ(ends.size(), 1u);
    EXPECT_TRUE(ends[0].ok);
    EXPECT_EQ(ends[0].step, StepWriteOption);
    EXPECT_EQ(BeganSteps(k), (std::vector<u8>{StepBlankCheck, StepProgramMain, StepVerifyMain, StepWriteOption}));
    bool same = false;
    rig.sim->WithUnit(k, [&](sim::SimUnit& u) {
      same = std::equal(u.Main().begin(), u.Main().begin() + 0x8000, rig.st->Model().MainFlashImage.begin());
    });
    EXPECT_TRUE(same);
  }
  // Flash error, time-out, check word, framing: each ends its own unit's chain.
  const std::vector<std::pair<u8, u8>> failed = {{3, 0x2C}, {4, 64}, {5, 35}, {6, 32}};
  for (const auto& [k, code] : failed) {
    SCOPED_TRACE(static_cast<int>(k));
    const auto ends = rig.op.Ends(k);
    ASSERT_EQ(ends.size(), 1u);
    EXPECT_FALSE(ends[0].ok);
    EXPECT_EQ(ends[0].code, code);
    EXPECT_EQ(ends[0].step, StepBlankCheck);
    EXPECT_EQ(ends[0].gauge.State, GaugeState::Failed);
  }
  auto advanced = rig.op.serialAdvances;
  std::sort(advanced.begin(), advanced.end());
  EXPECT_EQ(advanced, good);
}

TEST_F(EndToEnd, OldFirmwareAndBootLoaderUnitsAmongTenAreUpgradedAndLinkAgain) {
  std::vector<sim::UnitConfig> configs(10);
  configs[4].OldFirmware = true;
  configs[7].BootLoader = true;
  Start(configs);
  for (u8 k : {u8{4}, u8{7}}) {
    SCOPED_TRACE(static_cast<int>(k));
    EXPECT_TRUE(rig.sim->Stats(k).FirmwareEnded);
    EXPECT_EQ(rig.sim->Stats(k).FirmwareBlocks, 2u);
    EXPECT_EQ(BeganSteps(k), std::vector<u8>{StepFirmwareUpgrade});
    const auto ends = rig.op.Ends(k);
    ASSERT_EQ(ends.size(), 1u);
    EXPECT_TRUE(ends[0].ok);
    EXPECT_EQ(rig.U(k).StepState, StepIdle);
  }
  for (u8 k = 0; k < 10; ++k) EXPECT_EQ(rig.U(k).Linked, 1);
  EXPECT_EQ(rig.sim->Stats(0).FirmwareBlocks, 0u);
}

TEST_F(EndToEnd, AHangUpClosesThatPortAndItsStepTimesOut) {
  Start(std::vector<sim::UnitConfig>(2));
  PrepareImage(0x10000);
  rig.sim->SetFaults(1, {{sim::FaultKind::HangUp, 2, 0}});
  rig.st->StartChain(0, StartDownloadChipData, AutoChainRule::Keep);
  rig.st->StartChain(1, StartDownloadChipData, AutoChainRule::Keep);
  ASSERT_TRUE(rig.RunUntil([&] { return AllIdle(); }));
  EXPECT_EQ(rig.st->DownloadOkCount(), 1);
  EXPECT_FALSE(rig.st->PortOpen(1));
  EXPECT_EQ(rig.U(1).Linked, 0);
  EXPECT_EQ(rig.st->Ports().Entries, (std::vector<std::string>{rig.sim->Path(0)}));
  const auto ends = rig.op.Ends(1);
  ASSERT_EQ(ends.size(), 1u);
  EXPECT_EQ(ends[0].code, 64);
  EXPECT_FALSE(ends[0].ok);
}

// Unplugged and plugged in again (a new terminal): a new search finds the unit, links it
// again and it works as before; the units that stayed are linked again as well.
TEST_F(EndToEnd, AHangUpARePlugAndANewSearchLinkTheUnitAgainAndItTakesADownload) {
  Start(std::vector<sim::UnitConfig>(3));
  PrepareImage(0x10000);
  rig.sim->HangUp(1);
  ASSERT_TRUE(rig.RunUntil([&] { return !rig.st->PortOpen(1); }));
  EXPECT_EQ(rig.U(1).Linked, 0);
  ASSERT_TRUE(rig.sim->Replug(1));
  ASSERT_TRUE(rig.sim->WriteConfigFile(rig.dir.Dir()));
  const u32 probes = rig.sim->Stats(1).Probes;
  rig.st->BitBtnFindDevClick();
  ASSERT_TRUE(rig.RunUntil([&] { return rig.st->LinkedCount() == 3; }));
  EXPECT_EQ(rig.st->Ports().Entries,
            (std::vector<std::string>{rig.sim->Path(0), rig.sim->Path(1), rig.sim->Path(2)}));
  EXPECT_TRUE(rig.st->PortOpen(1));
  EXPECT_EQ(rig.sim->Stats(1).Probes, probes + 1);
  for (u8 k = 0; k < 3; ++k) EXPECT_EQ(rig.U(k).Linked, 1) << int(k);

  const std::size_t endsBefore = rig.op.Ends(1).size();
  rig.st->StartChain(1, StartDownloadChipData, AutoChainRule::Keep);
  ASSERT_TRUE(rig.RunUntil([&] { return AllIdle(); }));
  const auto ends = rig.op.Ends(1);
  ASSERT_EQ(ends.size(), endsBefore + 1);
  EXPECT_TRUE(ends.back().ok);
  EXPECT_EQ(rig.U(1).DownloadDone, 1);
  EXPECT_EQ(rig.sim->Stats(1).BadFrames, 0u);
}

// A finished Auto leaves its unit's chain flag set; a start on unit 0 that follows it sends
// what it sends on a fresh unit and nothing of the chain, its own rule deciding the flag.
TEST_F(EndToEnd, AUnitZeroStartAfterAnAutoSendsOnlyItsOwnRequests) {
  const struct {
    const char* name;
    UnitStarter start;
    u8 step;
  } starts[] = {
      {"blank check", StartBlankCheck, StepBlankCheck},
      {"read checksum", StartReadChecksum, StepReadChecksum},
      {"read option", StartReadOption, StepReadOption},
      {"read chip info", StartReadChipInfo, StepReadChipInfo},
  };
  Start(std::vector<sim::UnitConfig>(1));
  PrepareImage(0x2000);
  // What each start sends on a unit no Auto ran on.
  std::vector<u32> fresh;
  for (const auto& c : starts) {
    const u32 before = rig.sim->Stats(0).Requests;
    rig.st->StartReadOnUnit0(c.start, AutoChainRule::Clear);
    ASSERT_TRUE(rig.RunUntil([&] { return AllIdle(); })) << c.name;
    fresh.push_back(rig.sim->Stats(0).Requests - before);
  }
  for (std::size_t i = 0; i < std::size(starts); ++i) {
    const auto& c = starts[i];
    SCOPED_TRACE(c.name);
    ASSERT_EQ(rig.st->StartWritingCommand(StartAutoProgram, AutoChainRule::Set), UnitSet(0b1));
    ASSERT_TRUE(rig.RunUntil([&] { return AllIdle(); }));
    ASSERT_TRUE(rig.op.Ends(0).back().ok);
    ASSERT_EQ(rig.U(0).AutoChain, 1);
    rig.op.unitEvents.clear();
    const u32 before = rig.sim->Stats(0).Requests;
    rig.st->StartReadOnUnit0(c.start, AutoChainRule::Clear);
    ASSERT_TRUE(rig.RunUntil([&] { return AllIdle(); }));
    EXPECT_EQ(rig.sim->Stats(0).Requests - before, fresh[i]);
    EXPECT_EQ(BeganSteps(0), std::vector<u8>{c.step});
    EXPECT_EQ(rig.U(0).AutoChain, 0);
  }
}

// A unit that fails at the first, a middle or the last request of a command ends that
// command failed with the unit's code, once, and receives nothing more; the other unit
// completes. One table for every writing command.
TEST(CommandFaults, AtTheFirstMiddleAndLastRequestOfEachCommand) {
  struct Command {
    const char* name;
    UnitStarter start;
    AutoChainRule rule;
    bool programFirst;  // the chip must hold the image (verify)
    u32 unanswered;     // requests sent after the step ended (the download's restart)
  };
  const Command commands[] = {
      {"download", StartDownloadChipData, AutoChainRule::Keep, false, 1},
      {"auto", StartAutoProgram, AutoChainRule::Set, false, 0},
      {"blank check", StartBlankCheck, AutoChainRule::Clear, false, 0},
      {"erase", [](UnitSessions& s, u8 k) { StartErase(s, k, "erase"); }, AutoChainRule::Clear, false, 0},
      {"program", StartProgramMain, AutoChainRule::Clear, false, 0},
      {"verify", StartVerifyMain, AutoChainRule::Clear, true, 0},
  };
  constexpr u8 kCode = 0x2C;
  struct Run {
    StationRig rig;
    bool Start() {
      rig.Units(std::vector<sim::UnitConfig>(2));
      rig.FirmwareFile();
      rig.Make();
      rig.StartUp();
      if (!rig.Linked(2)) return false;
      auto& m = StationProbe::Model(*rig.st);
      auto& p = m.Params;
      p.MainFlashStart = 0;
      p.MainFlashEnd = 0x9FFF;
      p.MainFlashSize = 0xA000;
      p.DownloadSize = 0xA000;
      for (u32 i = 0; i < p.DownloadSize; ++i) m.MainFlashImage[i] = static_cast<u8>(i * 7 + (i >> 8));
      return true;
    }
    bool Do(const Command& c) {
      if (rig.st->StartWritingCommand(c.start, c.rule).count() != 2) return false;
      return rig.RunUntil([&] { return !rig.U(0).Busy && !rig.U(1).Busy; }, 8000);
    }
  };
  for (const Command& c : commands) {
    SCOPED_TRACE(c.name);
    // The command's requests, counted on a clean run.
    u32 count = 0;
    {
      Run clean;
      ASSERT_TRUE(clean.Start());
      if (c.programFirst) {
        ASSERT_TRUE(clean.Do(commands[4]));
      }
      const u32 before = clean.rig.sim->Stats(1).Requests;
      ASSERT_TRUE(clean.Do(c));
      // The download's restart is not awaited: it reaches the unit after the step ended.
      if (c.unanswered > 0) {
        ASSERT_TRUE(clean.rig.RunUntil([&] { return clean.rig.sim->Stats(1).Restarted; }));
      }
      count = clean.rig.sim->Stats(1).Requests - before;
      ASSERT_TRUE(clean.rig.op.Ends(1).back().ok);
    }
    ASSERT_GT(count, c.unanswered);
    const u32 last = count - c.unanswered;
    for (const u32 at : std::set<u32>{1u, (last + 1) / 2, last}) {
      SCOPED_TRACE("request " + std::to_string(at) + " of " + std::to_string(last));
      Run run;
      ASSERT_TRUE(run.Start());
      if (c.programFirst) {
        ASSERT_TRUE(run.Do(commands[4]));
      }
      const u32 before = run.rig.sim->Stats(1).Requests;
      const u32 before0 = run.rig.sim->Stats(0).Requests;
      const std::size_t ends0 = run.rig.op.Ends(0).size();
      const std::size_t ends1 = run.rig.op.Ends(1).size();
      run.rig.sim->SetFaults(1, {{sim::FaultKind::Status, before + at, kCode}});
      ASSERT_TRUE(run.Do(c));
      run.rig.RunUntil([] { return false; }, 20);  // anything more would arrive meanwhile
      const auto failed = run.rig.op.Ends(1);
      ASSERT_EQ(failed.size(), ends1 + 1);
      EXPECT_FALSE(failed.back().ok);
      EXPECT_EQ(failed.back().code, kCode);
      EXPECT_EQ(failed.back().gauge.State, GaugeState::Failed);
      EXPECT_EQ(run.rig.sim->Stats(1).Requests - before, at);
      const auto good = run.rig.op.Ends(0);
      ASSERT_EQ(good.size(), ends0 + 1);
      EXPECT_TRUE(good.back().ok);
      run.rig.RunUntil([&] { return run.rig.sim->Stats(0).Requests - before0 >= count; });
      EXPECT_EQ(run.rig.sim->Stats(0).Requests - before0, count);
      EXPECT_EQ(run.rig.U(1).DownloadDone, 0);
    }
  }
}

}  // namespace
}  // namespace qx::test
