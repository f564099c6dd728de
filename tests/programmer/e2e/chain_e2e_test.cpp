// Through real serial components against the simulated units on pseudo-terminals.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <memory>

#include "programmer/AutoChain.h"
#include "programmer/CommandCodes.h"
#include "programmer/DownloadChain.h"
#include "programmer/TCommUnitPort.h"
#include "programmer/Tick.h"
#include "programmer/UnitStepTarget.h"
#include "serial/PumpedEventQueue.h"
#include "serial/TComm.h"
#include "tests/programmer/session_fixture.h"
#include "tests/unitsim/UnitSimulator.h"

namespace qx::test {
namespace {

using namespace std::chrono_literals;

class EndToEnd : public ::testing::Test {
 protected:
  void Start(std::vector<sim::UnitConfig> configs) {
    simulator = std::make_unique<sim::UnitSimulator>(configs);
    w.s->UnitCount = static_cast<u8>(configs.size());
    router = std::make_unique<UnitCommRouter>(*w.s, list);
    for (u8 k = 0; k < configs.size(); ++k) {
      w.U(k).Linked = 0;
      list.Entries.push_back(simulator->Path(k));
      comms[k] = std::make_unique<TComm>(queue);
      SetProgrammerLinePreset(*comms[k]);
      comms[k]->SetCommName(simulator->Path(k));
      comms[k]->OpenPort();
      router->Bind(k, *comms[k]);
      SendDeviceProbe(UnitTarget(*w.s, k));
    }
  }
  void TearDown() override {
    router.reset();
    for (auto& c : comms) {
      if (c) c->ClosePort();
    }
    if (simulator) simulator->Stop();
  }
  // Serves port events and 10 ms ticks (run faster than real time) until done.
  bool RunUntil(const std::function<bool()>& done, int maxTicks = 4000) {
    for (int t = 0; t < maxTicks && !done(); ++t) {
      if (queue.PumpUntil(done, 3ms)) break;
      TickUnits(*w.s);
    }
    return done();
  }
  bool AllIdle() const {
    for (u8 k = 0; k < w.s->UnitCount; ++k) {
      if (w.s->Unit[k].Busy) return false;
    }
    return true;
  }
  void PrepareImage(u32 size) {
    auto& p = w.model->Params;
    p.MainFlashStart = 0;
    p.MainFlashEnd = size - 1;
    p.MainFlashSize = size;
    p.DownloadSize = size;
    for (u32 i = 0; i < size; ++i) w.model->MainFlashImage[i] = static_cast<u8>((i * 31) ^ (i >> 9));
  }

  SessionWorld w;
  PumpedEventQueue queue;
  PortList list;
  std::unique_ptr<sim::UnitSimulator> simulator;
  std::array<std::unique_ptr<TComm>, UnitMax> comms;
  std::unique_ptr<UnitCommRouter> router;
};

TEST_F(EndToEnd, TenUnitsLinkAndTakeADownloadOfMainAndDataFlash) {
  Start(std::vector<sim::UnitConfig>(10));
  ASSERT_TRUE(RunUntil([&] { return w.s->LinkedCount == 10; }));
  PrepareImage(0x40000);
  w.model->ProgramEep = 1;
  w.model->Params.EepSize = 0x2000;
  w.model->Sn.SnValue = 1000;
  w.model->Sn.SnGain = 2;
  for (u8 k = 0; k < 10; ++k) StartDownloadChipData(*w.s, k);
  ASSERT_TRUE(RunUntil([&] { return w.s->DownloadOkCount == 10; }));
  for (u8 k = 0; k < 10; ++k) {
    SCOPED_TRACE(static_cast<int>(k));
    const auto st = simulator->Stats(k);
    EXPECT_TRUE(st.SettingsValid);
    EXPECT_EQ(st.DownloadSize, 0x40000u);
    EXPECT_EQ(st.ByCommand.at(CmdDownloadMainBlock), 64u);
    EXPECT_EQ(st.ByCommand.at(CmdDownloadEepBlock), 2u);
    EXPECT_EQ(st.BadFrames, 0u);
    u32 sn = 0;
    simulator->WithUnit(k, [&](sim::SimUnit& u) { sn = GetLe32(u.LastSettingsBlock(), 96); });
    EXPECT_EQ(sn, 1000u + 2u * k);
    const auto texts = w.UnitTexts(k);
    EXPECT_NE(std::find(texts.begin(), texts.end(), "Data Donwload Success!"), texts.end());
  }
  ASSERT_TRUE(RunUntil([&] {
    for (u8 k = 0; k < 10; ++k) {
      if (!simulator->Stats(k).Restarted) return false;
    }
    return true;
  }));
}

TEST_F(EndToEnd, AutoChainOnAllUnitsWithFaultsFailingExactlyThoseUnits) {
  Start(std::vector<sim::UnitConfig>(8));
  ASSERT_TRUE(RunUntil([&] { return w.s->LinkedCount == 8; }));
  PrepareImage(0x8000);
  w.model->ProgramOptionBytes = 1;
  simulator->SetFaults(3, {{sim::FaultKind::Status, 0, 0x2C}});
  simulator->SetFaults(4, {{sim::FaultKind::Silence, 0, 0}});
  simulator->SetFaults(5, {{sim::FaultKind::BadCheck, 0, 0}});
  simulator->SetFaults(6, {{sim::FaultKind::BadEscape, 0, 0}});
  simulator->SetFaults(7, {{sim::FaultKind::Garbage, 0, 0}});
  for (u8 k = 0; k < 8; ++k) {
    w.U(k).AutoChain = 1;
    StartAutoProgram(*w.s, k);
  }
  ASSERT_TRUE(RunUntil([&] { return AllIdle(); }));
  for (int k : {0, 1, 2, 7}) {
    SCOPED_TRACE(static_cast<int>(k));
    EXPECT_EQ(w.UnitTexts(k).back(), "Write Option Byte Successed!");
    EXPECT_EQ(w.s->Unit[static_cast<std::size_t>(k)].Gauge.State, GaugeState::Ok);
    bool same = false;
    simulator->WithUnit(static_cast<std::size_t>(k), [&](sim::SimUnit& u) {
      same = std::equal(u.Main().begin(), u.Main().begin() + 0x8000, w.model->MainFlashImage.begin());
    });
    EXPECT_TRUE(same);
  }
  EXPECT_EQ(w.UnitTexts(3).back(), "Flash Memory Error!");
  EXPECT_EQ(w.UnitTexts(4).back(), "Command Executed Time Out!");
  EXPECT_EQ(w.UnitTexts(5).back(), "Opertaion Failed! Error Code : 035/0x23.");
  EXPECT_EQ(w.UnitTexts(6).back(), "Packet Error!");
  for (int k : {3, 4, 5, 6}) EXPECT_EQ(w.s->Unit[static_cast<std::size_t>(k)].Gauge.State, GaugeState::Failed);
}

TEST_F(EndToEnd, OldFirmwareAndBootLoaderUnitsAreUpgradedAndLinkAgain) {
  std::vector<sim::UnitConfig> configs(3);
  configs[1].OldFirmware = true;
  configs[2].BootLoader = true;
  auto& fw = w.wire->Firmware;
  fw.FirmwareLoaded = 1;
  std::memcpy(fw.FirmwareVersion.data(), "V2.4", 4);
  fw.FirmwareBaseAddress = 0x1000;
  fw.FirmwareEndAddress = 0x2FFF;
  Start(configs);
  ASSERT_TRUE(RunUntil([&] { return w.s->LinkedCount == 1 && w.s->Unit[1].StepState == StepFirmwareUpgrade; }));
  ASSERT_TRUE(RunUntil([&] { return AllIdle() && !w.U(1).UpgradeBusy && !w.U(2).UpgradeBusy; }));
  EXPECT_EQ(w.s->LinkedCount, 1);  // the upgraded units are counted after the search again
  ASSERT_TRUE(RunUntil([&] { return simulator->Stats(1).FirmwareEnded && simulator->Stats(2).FirmwareEnded; }));
  EXPECT_EQ(simulator->Stats(1).FirmwareBlocks, 8u);
  // The search again.
  w.s->LinkedCount = 0;
  for (u8 k = 0; k < 3; ++k) {
    w.U(k).Linked = 0;
    SendDeviceProbe(UnitTarget(*w.s, k));
  }
  ASSERT_TRUE(RunUntil([&] { return w.s->LinkedCount == 3; }));
  EXPECT_EQ(w.U(1).StepState, StepIdle);
}

TEST_F(EndToEnd, AHangUpClosesThatPortAndItsStepTimesOut) {
  Start(std::vector<sim::UnitConfig>(2));
  ASSERT_TRUE(RunUntil([&] { return w.s->LinkedCount == 2; }));
  PrepareImage(0x10000);
  simulator->SetFaults(1, {{sim::FaultKind::HangUp, 2, 0}});
  StartDownloadChipData(*w.s, 0);
  StartDownloadChipData(*w.s, 1);
  ASSERT_TRUE(RunUntil([&] { return AllIdle(); }));
  EXPECT_EQ(w.s->DownloadOkCount, 1);
  EXPECT_FALSE(comms[1]->IsOpen());
  EXPECT_EQ(w.U(1).Linked, 0);
  EXPECT_EQ(list.Entries, (std::vector<std::string>{simulator->Path(0)}));
  EXPECT_EQ(w.UnitTexts(1).back(), "Command Executed Time Out!");
}

}  // namespace
}  // namespace qx::test
