// The station against simulated units through its real serial components.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "programmer/CommandCodes.h"
#include "programmer/OnlineChains.h"
#include "project/LogFileWriter.h"
#include "tests/app/e2e/station_fixture.h"
#include "tests/support/StationProbe.h"

namespace qx::test {
namespace {

using Kind = RecordingOperator::Kind;

std::size_t Count(const std::vector<std::string>& v, const std::string& s) {
  return static_cast<std::size_t>(std::count(v.begin(), v.end(), s));
}

TEST(Station, StartUpInItsFolderLinksTheListedUnitsWithTheDesignedLines) {
  StationRig rig;
  rig.Units(std::vector<sim::UnitConfig>(3));
  rig.FirmwareFile();
  rig.dir.Write("ResDW.Txt", "Download Success\r\n");
  rig.Make();
  rig.StartUp();
  EXPECT_FALSE(std::filesystem::exists(rig.dir.File("ResDW.Txt")));
  ASSERT_TRUE(rig.Linked(3));

  EXPECT_TRUE(rig.op.messages.empty());
  EXPECT_EQ(rig.st->FirmwareLoaded(), 1);
  const auto t = rig.Texts();
  const std::vector<std::string> firstLines = {
      "Hello NolbinGenX-KVT User! ------ ",
      "Checking Device 1 In " + rig.sim->Path(0) + "............",
      "Checking Device 2 In " + rig.sim->Path(1) + "............",
      "Checking Device 3 In " + rig.sim->Path(2) + "............"};
  ASSERT_GE(t.size(), 7u);
  EXPECT_EQ(std::vector<std::string>(t.begin(), t.begin() + 4), firstLines);
  for (u8 k = 0; k < 3; ++k) {
    SCOPED_TRACE(static_cast<int>(k));
    const std::string found = "C" + std::to_string(k + 1) + " : Find Device: " + rig.sim->IdText(k) + "!";
    EXPECT_EQ(Count(t, found), 1u);
    EXPECT_EQ(rig.U(k).Linked, 1);
    EXPECT_EQ(rig.sim->Stats(k).Probes, 1u);
  }
  EXPECT_EQ(rig.op.captions.front(), "Searching Devices............");
  EXPECT_EQ(rig.op.gaugeLayouts, (std::vector<u8>{3, 3}));  // start-up, then the search
  EXPECT_EQ(rig.sleeps, (std::vector<int>{50, 10, 10, 10}));
  ASSERT_FALSE(rig.op.portLists.empty());
  EXPECT_EQ(rig.op.portLists.back(),
            (std::vector<std::string>{rig.sim->Path(0), rig.sim->Path(1), rig.sim->Path(2)}));
  EXPECT_EQ(rig.op.portTexts.back(), rig.sim->Path(2));
}

TEST(Station, StartUpWithoutPortsOrFirmwareReportsTheFileAndStopsTimer2AtOnce) {
  StationRig rig;
  rig.Make();
  rig.StartUp();
  const std::string path = rig.dir.File("QX740VRD.FWR");
  const std::string missing = "File \"" + path + "\" not found, Please confirm!";
  EXPECT_EQ(rig.Texts(), (std::vector<std::string>{"Hello NolbinGenX-KVT User! ------ ", missing}));
  ASSERT_EQ(rig.op.messages.size(), 1u);
  EXPECT_EQ(rig.op.messages[0].text, missing);
  EXPECT_EQ(rig.st->FirmwareLoaded(), 0);
  // The values in force after start-up: the chip-state reset, then the session reset.
  const ChipModel& m = rig.st->Model();
  EXPECT_EQ(m.Params.MainFlashSize, 0u);
  EXPECT_EQ(m.Params.DownloadSize, 0x20000u);
  EXPECT_EQ(m.Params.MainPageSize, 0);
  EXPECT_EQ(m.Params.ProtocolKind, 0x55);
  EXPECT_EQ(m.Params.OptionStart, 0x1FFFF800u);
  EXPECT_EQ(m.ReadLength, 64);
  EXPECT_EQ(m.Sn.SnAddress, 0xFFFFFFu);
  EXPECT_EQ(m.Control.PowerOnTime, 10);
  EXPECT_EQ(m.ProgrammerModel, "Nolbin200XX");
  EXPECT_EQ(m.MainFlashImage.back(), 0xFF);
  EXPECT_EQ(m.EepImage.back(), 0xFF);
  EXPECT_EQ(m.OptionImage.front(), 0x00);
  EXPECT_EQ(rig.st->UnitCount(), 0);
  // The first tick searches (an empty list opens nothing) and stops the timer.
  EXPECT_TRUE(rig.st->Timer2Timer());
  EXPECT_EQ(rig.op.portTexts.back(), "No COM Port");
}

// The log is written at close: a folder that cannot take it is said at start-up, while the
// shift's log can still be saved. A box for whoever watches; in a run nobody watches
// ("OFF") a log line and the standard error, so nothing waits for a click.
TEST(Station, ALogThatCannotBeWrittenIsSaidAtStartUp) {
  const struct {
    const char* name;
    const char* config;  // GenLogX.cfg; null: the system log
    const char* blocker;  // a file where the folder belongs
    const char* folder;
    const char* reason;
  } cases[] = {
      {"system log", nullptr, "KVTxLogS", "KVTxLogS", "Not a directory"},
      {"customer log", "[ConfigLog]\r\nEnLog\r\nCustomer\r\nCusDef2\r\nSpcFile=none/x.log\r\n[EndCfg]\r\n", nullptr,
       "none", "No such file or directory"},
      {"writable", nullptr, nullptr, nullptr, nullptr},
  };
  for (const auto& c : cases) {
    for (const bool unattended : {false, true}) {
      SCOPED_TRACE(std::string(c.name) + (unattended ? ", OFF" : ""));
      StationRig rig;
      rig.FirmwareFile();
      if (c.config != nullptr) rig.dir.Write("GenLogX.cfg", c.config);
      if (c.blocker != nullptr) rig.dir.Write(c.blocker, "a file where the log folder belongs");
      rig.Make();
      rig.StartUp(unattended ? std::vector<std::string>{rig.dir.File("job.pqz"), "OFF"} : std::vector<std::string>{});
      const std::string text = c.folder == nullptr ? std::string()
                                                   : "The log file cannot be written to \"" + rig.dir.File(c.folder) +
                                                         "\" (" + c.reason +
                                                         "): this run's log will be lost when the program closes unless "
                                                         "that is put right!";
      std::vector<std::string> boxes;
      for (const auto& m : rig.op.messages) boxes.push_back(m.text);
      if (text.empty()) {
        EXPECT_TRUE(boxes.empty());
        for (const auto& line : rig.Texts()) EXPECT_EQ(line.find("The log file cannot"), std::string::npos) << line;
        continue;
      }
      EXPECT_EQ(Count(rig.Texts(), text), 1u);
      EXPECT_EQ(boxes, unattended ? std::vector<std::string>{} : std::vector<std::string>{text});
      EXPECT_EQ(rig.errorLines, unattended ? std::vector<std::string>{text} : std::vector<std::string>{});
    }
  }
}

// A firmware file that is there but damaged upgrades nothing, like a missing one: it is
// named as such, or a unit in its boot loader would stay unlinked without a word and the
// units with older firmware would go on with it unseen.
TEST(Station, StartUpWithADamagedFirmwareFileSaysSoAndUpgradesNothing) {
  StationRig rig;
  std::vector<sim::UnitConfig> configs(2);
  configs[1].BootLoader = true;
  rig.Units(configs);
  rig.dir.Write("QX740VRD.FWR", std::string(5000, 'x'));
  rig.Make();
  ASSERT_TRUE(rig.StartUpAndSearchUntil([&] { return rig.sim->Stats(1).Probes == 1 && rig.st->LinkedCount() == 1; }));
  rig.RunUntil([] { return false; }, 50);
  const std::string invalid = "Firmware file \"" + rig.dir.File("QX740VRD.FWR") + "\" is not valid, no upgrade started!";
  EXPECT_EQ(Count(rig.Texts(), invalid), 1u);
  ASSERT_EQ(rig.op.messages.size(), 1u);
  EXPECT_EQ(rig.op.messages[0].text, invalid);
  EXPECT_EQ(rig.st->FirmwareLoaded(), 0);
  EXPECT_EQ(rig.sim->Stats(1).FirmwareBlocks, 0u);
  EXPECT_EQ(rig.U(1).Linked, 0);
}

TEST(Station, TheFileNamesTheUnitsPortsAndAPortThatWillNotOpenStopsTheSearch) {
  StationRig rig;
  rig.Units(std::vector<sim::UnitConfig>(1));
  Station& st = rig.Make();
  rig.dir.Write("ConfigQlt.ini", "[Connection]\r\nDEV3=com7\r\nDEV1=ttyS77\r\n");
  st.LoadPortList();
  EXPECT_EQ(st.UnitCount(), 2);
  EXPECT_EQ(st.PortName(2), "COM7");
  EXPECT_EQ(st.PortName(0), "ttyS77");
  EXPECT_EQ(rig.op.portLists.back(), (std::vector<std::string>{"COM7", "ttyS77"}));

  // Unit 0's port opens, unit 1's does not: the error leaves the search, nothing is probed.
  const std::string none = rig.dir.File("none");
  rig.dir.Write("ConfigQlt.ini", "[Connection]\r\nDEV1=" + rig.sim->Path(0) + "\r\nDEV2=" + none + "\r\n");
  StationProbe::Sessions(st).LinkedCount = 4;
  rig.op.captions.clear();
  EXPECT_THROW(st.BitBtnFindDevClick(), ECommsError);
  EXPECT_TRUE(st.PortOpen(0));
  EXPECT_FALSE(st.PortOpen(1));
  EXPECT_EQ(st.LinkedCount(), 0);
  rig.RunUntil([] { return false; }, 10);
  EXPECT_EQ(rig.sim->Stats(0).Requests, 0u);
  EXPECT_TRUE(rig.sleeps.empty());
  // The log keeps the port and the reason; the panel no longer says it searches.
  ASSERT_FALSE(rig.op.logLines.empty());
  EXPECT_EQ(rig.op.logLines.back(), "> 12:34:56 Device search stopped at port " + none + ": Error opening serial port:" +
                                        none + " No such device: the port does not exist or its adapter is unplugged.");
  EXPECT_EQ(rig.op.captions, (std::vector<std::string>{"Searching Devices............", "Device search stopped!"}));
}

TEST(Station, CommandLineSetsBatchModeAndTheOffSwitchInAnyCase) {
  struct Case {
    std::vector<std::string> args;
    u8 mode, off;
    const char* sw;
  };
  for (const Case& c : {Case{{}, 0, 0, ""}, Case{{"job.pqz"}, 1, 0, ""}, Case{{"job.pqz", "oFf"}, 1, 1, "OFF"},
                        Case{{"job.pqz", "on", "extra"}, 1, 0, "ON"}}) {
    StationRig rig;
    Station& st = rig.Make();
    StationProbe::Sessions(st).DownloadOkCount = 3;
    st.ReadCommandLine(c.args);
    EXPECT_EQ(st.CmdLineMode(), c.mode);
    EXPECT_EQ(st.CmdLineOff(), c.off);
    EXPECT_EQ(st.CmdLineSwitch(), c.sw);
    EXPECT_EQ(st.CmdLineProjectFile(), c.args.empty() ? "" : c.args[0]);
    EXPECT_EQ(st.DownloadOkCount(), c.args.empty() ? 3 : 0);
  }
}

// Units 1 and 2 answered the first search and began their upgrades.
bool BothUpgradesBegan(StationRig& rig) {
  return rig.op.Events(1, Kind::Began).size() == 1 && rig.op.Events(2, Kind::Began).size() == 1;
}

TEST(Station, UnitsUpgradedWhileLinkingAreLinkedByTheReSearchAndOnlyThenTimer2Stops) {
  StationRig rig;
  std::vector<sim::UnitConfig> configs(3);
  configs[1].OldFirmware = true;
  configs[2].BootLoader = true;
  rig.Units(configs);
  rig.FirmwareFile("V2.4");
  rig.Make();
  // Whether both upgrades had ended, and the timer still ran, when it waited before the
  // re-search.
  bool upgradesOverAtReSearch = false;
  rig.onSleep = [&](int ms) {
    if (ms != 500) return;
    upgradesOverAtReSearch = rig.timer2On && !rig.U(1).UpgradeBusy && !rig.U(2).UpgradeBusy &&
                             rig.op.Ends(1).size() == 1 && rig.op.Ends(2).size() == 1 && rig.op.Ends(1)[0].ok &&
                             rig.op.Ends(2)[0].ok && rig.st->LinkedCount() == 1;
  };
  ASSERT_TRUE(rig.StartUpAndSearchUntil([&] { return BothUpgradesBegan(rig); }));
  ASSERT_TRUE(rig.RunUntil([&] { return !rig.timer2On; }));
  EXPECT_TRUE(upgradesOverAtReSearch);
  EXPECT_EQ(rig.st->LinkedCount(), 3);
  EXPECT_EQ(rig.st->RelinkPending(), 0);
  for (u8 k = 0; k < 3; ++k) {
    SCOPED_TRACE(static_cast<int>(k));
    EXPECT_EQ(rig.U(k).Linked, 1);
    EXPECT_EQ(rig.U(k).UpgradeBusy, 0);
    EXPECT_EQ(rig.sim->Stats(k).Probes, 2u);  // the search and the re-search
  }
  for (u8 k : {u8{1}, u8{2}}) {
    SCOPED_TRACE(static_cast<int>(k));
    EXPECT_TRUE(rig.sim->Stats(k).FirmwareEnded);
    EXPECT_EQ(rig.sim->Stats(k).FirmwareBlocks, 2u);
    const auto began = rig.op.Events(k, Kind::Began);
    ASSERT_EQ(began.size(), 1u);
    EXPECT_EQ(began[0].step, StepFirmwareUpgrade);
  }
  EXPECT_EQ(std::count(rig.sleeps.begin(), rig.sleeps.end(), 500), 1);
  // Linked after the re-search with the new firmware: the id text now carries V2.4.
  EXPECT_EQ(Count(rig.Texts(), "C2 : Find Device: " + rig.sim->IdText(1) + "!"), 1u);
}

TEST(Station, AUnitWhoseUpgradeFailsDoesNotKeepTheOthersFromLinking) {
  StationRig rig;
  std::vector<sim::UnitConfig> configs(3);
  configs[1].OldFirmware = true;
  configs[1].Faults = {{sim::FaultKind::Silence, 2, 0}};  // its first firmware block
  configs[2].BootLoader = true;
  rig.Units(configs);
  rig.FirmwareFile("V2.4");
  rig.Make();
  ASSERT_TRUE(rig.StartUpAndSearchUntil([&] { return BothUpgradesBegan(rig); }));
  ASSERT_TRUE(rig.Linked(3));
  const auto ends = rig.op.Ends(1);
  ASSERT_EQ(ends.size(), 1u);
  EXPECT_EQ(ends[0].step, StepFirmwareUpgrade);
  EXPECT_EQ(ends[0].code, 64);
  EXPECT_FALSE(ends[0].ok);
  // Not started a second time: it works on with its old firmware.
  EXPECT_EQ(rig.op.Events(1, Kind::Began).size(), 1u);
  EXPECT_FALSE(rig.sim->Stats(1).FirmwareEnded);
  EXPECT_EQ(rig.sim->Stats(1).Probes, 2u);
  EXPECT_TRUE(rig.sim->Stats(2).FirmwareEnded);
  for (u8 k = 0; k < 3; ++k) EXPECT_EQ(rig.U(k).Linked, 1);
}

// Timer2 after the first search: it stops only when every unit in use is linked and no
// re-search is pending; the re-search waits until no unit in use is upgrading or busy.
TEST(Station, Timer2StopsOnlyWhenNothingIsPendingAndReSearchesWhenTheUnitsAreFree) {
  struct Case {
    const char* name;
    u8 linked;
    u8 relink;
    bool upgrading;  // unit 1
    bool busy;       // unit 0 runs a step the operator started
    bool stops;
    bool searches;
  };
  for (const Case& c : {Case{"all linked", 2, 0, false, false, true, false},
                        Case{"linked but upgrading", 2, 1, true, false, false, false},
                        Case{"linked, re-search pending", 2, 1, false, false, false, true},
                        Case{"upgrade running", 1, 1, true, false, false, false},
                        Case{"a unit busy", 1, 1, false, true, false, false},
                        Case{"upgrades over", 1, 1, false, false, false, true}}) {
    SCOPED_TRACE(c.name);
    StationRig rig;
    Station& st = rig.Make();
    auto& s = StationProbe::Sessions(st);
    s.UnitCount = 2;
    s.LinkedCount = c.linked;
    s.RelinkPending = c.relink;
    s.Unit[1].UpgradeBusy = c.upgrading;
    s.Unit[1].Busy = c.upgrading;
    s.Unit[0].Busy = c.busy;
    EXPECT_EQ(st.Timer2Timer(), c.stops);
    EXPECT_EQ(rig.sleeps, (c.searches ? std::vector<int>{500, 50} : std::vector<int>{}));
    EXPECT_EQ(s.RelinkPending, c.searches ? 0 : c.relink);
  }
}

// The owner's guard: it sees each port event with its unit and decides whether it runs.
class CountingGuard final : public PortEventGuard {
 public:
  void RunPortEvent(u8 unit, const std::function<void()>& event) override {
    ++events[unit];
    if (pass) event();
  }
  std::array<int, UnitMax> events{};
  bool pass = true;
};

TEST(Station, EveryPortEventRunsInsideTheGuardItWasMadeWith) {
  for (const bool pass : {true, false}) {
    StationRig rig;
    CountingGuard guard;
    guard.pass = pass;
    rig.guard = &guard;
    rig.Units(std::vector<sim::UnitConfig>(2));
    rig.FirmwareFile();
    rig.Make();
    rig.StartUp();
    if (pass) {
      ASSERT_TRUE(rig.Linked(2));
    } else {
      // The replies reach the guard, which keeps them from the routing: nothing links.
      ASSERT_TRUE(rig.RunUntil([&] { return guard.events[0] > 0 && guard.events[1] > 0; }, 400));
      EXPECT_FALSE(rig.RunUntil([&] { return rig.st->LinkedCount() > 0; }, 100));
    }
    EXPECT_GT(guard.events[0], 0) << pass;
    EXPECT_GT(guard.events[1], 0) << pass;
    for (u8 k = 2; k < UnitMax; ++k) EXPECT_EQ(guard.events[k], 0) << static_cast<int>(k);
  }
}

TEST(Station, ClosingClosesEveryOpenPortAndWritesTheLogOnce) {
  StationRig rig;
  rig.Units(std::vector<sim::UnitConfig>(2));
  rig.FirmwareFile();
  rig.Make();
  rig.StartUp();
  ASSERT_TRUE(rig.Linked(2));
  ASSERT_TRUE(rig.st->PortOpen(0));
  auto& log = rig.st->DialogLogConfig();  // as the log dialog's OK leaves them
  log.Location = LogLocationCustomer;
  log.Mode = LogModeAppend;
  log.FileName = "run.log";
  rig.st->CloseAllPorts();  // the exit command, then the window's close
  rig.st->FormClose();
  rig.st->FormClose();
  for (u8 k = 0; k < UnitMax; ++k) EXPECT_FALSE(rig.st->PortOpen(k));
  const std::string written = ReadText(rig.dir.File("run.log"));
  EXPECT_EQ(written, "Dromix Log File!\r\n" + LogFileBytes(rig.st->Log().Lines(), Language::English));
  EXPECT_TRUE(rig.op.messages.empty());
}

TEST(Station, OffLineStartSendsExactlyOneRestartToEveryUnitAndUnlinksThem) {
  StationRig rig;
  rig.Units(std::vector<sim::UnitConfig>(3));
  rig.FirmwareFile();
  rig.Make();
  rig.StartUp();
  ASSERT_TRUE(rig.Linked(3));
  rig.sleeps.clear();
  rig.st->StartOfflineProgrm1Click();
  EXPECT_EQ(rig.sleeps, (std::vector<int>{30, 30, 30}));
  EXPECT_EQ(rig.Texts().back(), "Start Off-Line Programming......");
  ASSERT_TRUE(rig.RunUntil([&] {
    for (u8 k = 0; k < 3; ++k) {
      if (!rig.sim->Stats(k).Restarted) return false;
    }
    return true;
  }));
  rig.RunUntil([] { return false; }, 20);  // anything more would arrive meanwhile
  for (u8 k = 0; k < 3; ++k) {
    SCOPED_TRACE(static_cast<int>(k));
    const auto st = rig.sim->Stats(k);
    EXPECT_EQ(st.ByCommand.at(CmdRestart), 1u);
    EXPECT_EQ(st.Requests, 2u);  // the probe and the restart
    EXPECT_EQ(rig.U(k).Linked, 0);
    EXPECT_EQ(rig.U(k).Busy, 0);
    EXPECT_TRUE(rig.st->PortOpen(k));
  }
}

TEST(Station, AHangUpRemovesItsPortListEntryAndUnlinksOnlyThatUnit) {
  StationRig rig;
  rig.Units(std::vector<sim::UnitConfig>(3));
  rig.FirmwareFile();
  rig.Make();
  rig.StartUp();
  ASSERT_TRUE(rig.Linked(3));
  rig.sim->HangUp(1);
  ASSERT_TRUE(rig.RunUntil([&] { return !rig.st->PortOpen(1); }));
  const std::vector<std::string> left = {rig.sim->Path(0), rig.sim->Path(2)};
  EXPECT_EQ(rig.st->Ports().Entries, left);
  EXPECT_EQ(rig.op.portLists.back(), left);
  EXPECT_EQ(rig.U(1).Linked, 0);
  EXPECT_EQ(rig.U(0).Linked, 1);
  EXPECT_EQ(rig.U(2).Linked, 1);
  EXPECT_TRUE(rig.st->PortOpen(0));
}

// The commands that close or take over the units wait while a unit in use runs a step.
TEST(Station, CommandsOnAllUnitsAreRefusedWhileUnitsAreBusy) {
  StationRig rig;
  rig.Units(std::vector<sim::UnitConfig>(3));
  rig.FirmwareFile();
  Station& st = rig.Make();
  st.StartUp({});
  const std::size_t lines = rig.op.logLines.size();
  auto& s = StationProbe::Sessions(st);
  s.Unit[1].Busy = 1;
  s.Unit[2].Busy = 1;
  s.Unit[5].Busy = 1;  // not in use
  const std::string refusal = "Busy programmers: 2, 3. Please wait until they have finished!";
  const std::vector<std::function<void()>> commands = {[&] { st.BitBtnFindDevClick(); },
                                                       [&] { st.StartOfflineProgrm1Click(); },
                                                       [&] { st.DoFirmwareUpgrade1Click(); }};
  for (const auto& command : commands) {
    rig.op.messages.clear();
    command();
    ASSERT_EQ(rig.op.messages.size(), 1u);
    EXPECT_EQ(rig.op.messages[0].text, refusal);
  }
  EXPECT_EQ(rig.op.logLines.size(), lines);
  for (u8 k = 0; k < 3; ++k) EXPECT_FALSE(st.PortOpen(k));
  EXPECT_EQ(s.Unit[1].Busy, 1);
  EXPECT_EQ(rig.sim->Stats(0).Requests, 0u);

  // The unit-0 reads: not linked, then linked but busy, then free while others are busy
  // (the read writes the image they send), then with every unit in use idle.
  rig.op.messages.clear();
  EXPECT_FALSE(st.GuardUnit0());
  s.Unit[0].Linked = 1;
  s.Unit[0].Busy = 1;
  EXPECT_FALSE(st.GuardUnit0());
  s.Unit[0].Busy = 0;
  EXPECT_FALSE(st.GuardUnit0());
  s.Unit[1].Busy = s.Unit[2].Busy = 0;
  EXPECT_TRUE(st.GuardUnit0());
  ASSERT_EQ(rig.op.messages.size(), 3u);
  EXPECT_EQ(rig.op.messages[0].text, "Please connect the device!");
  EXPECT_EQ(rig.op.messages[1].text, "Busy programmers: 1, 2, 3. Please wait until they have finished!");
  EXPECT_EQ(rig.op.messages[2].text, refusal);
  EXPECT_FALSE(st.RefuseWhileBusy());
}

TEST(Station, FirmwareUpgradeCommandUpgradesTheLinkedUnitsOrSaysWhyNot) {
  enum class File { Missing, Damaged, Good };
  struct Case {
    File file;
    std::vector<u8> linked;
    std::string message;  // "" for none; {} stands for the program folder
  };
  const std::vector<Case> cases = {
      {File::Missing, {0}, "File \"{}QX740VRD.FWR\" not found, Please confirm!"},
      {File::Damaged, {0}, "Firmware file \"{}QX740VRD.FWR\" is not valid, no upgrade started!"},
      {File::Good, {}, "No Device is Connected!"},
      {File::Good, {1, 3}, ""},
  };
  for (const Case& c : cases) {
    StationRig rig;
    if (c.file == File::Good) rig.FirmwareFile();
    if (c.file == File::Damaged) rig.dir.Write("QX740VRD.FWR", std::string(5000, 'x'));
    Station& st = rig.Make();
    auto& s = StationProbe::Sessions(st);
    s.UnitCount = 4;
    for (u8 k : c.linked) s.Unit[k].Linked = 1;
    s.Unit[6].Linked = 1;  // linked but not in use
    st.DoFirmwareUpgrade1Click();
    std::string expected = c.message;
    if (const auto at = expected.find("{}"); at != std::string::npos) expected.replace(at, 2, rig.dir.Dir());
    if (expected.empty()) {
      EXPECT_TRUE(rig.op.messages.empty());
    } else {
      ASSERT_EQ(rig.op.messages.size(), 1u);
      EXPECT_EQ(rig.op.messages[0].text, expected);
    }
    EXPECT_EQ(st.FirmwareLoaded(), c.file == File::Good ? 1 : 0);
    for (u8 k = 0; k < UnitMax; ++k) {
      const bool upgraded = c.message.empty() && std::count(c.linked.begin(), c.linked.end(), k) == 1;
      EXPECT_EQ(s.Unit[k].StepState, upgraded ? StepFirmwareUpgrade : StepIdle) << static_cast<int>(k);
    }
  }
}

TEST(Station, TheUnitZeroReadsStartTheirStepsAndEndOnTheUnitsReplies) {
  StationRig rig;
  rig.Units(std::vector<sim::UnitConfig>(1));
  rig.FirmwareFile();
  Station& st = rig.Make();
  rig.StartUp();
  ASSERT_TRUE(rig.Linked(1));
  auto idle = [&] { return st.BusyUnits().none(); };

  ASSERT_TRUE(st.GuardUnit0());
  st.StartReadOnUnit0(StartReadChipInfo, AutoChainRule::Clear);
  const auto began = rig.op.Events(0, Kind::Began);
  ASSERT_EQ(began.size(), 1u);
  EXPECT_EQ(began[0].step, StepReadChipInfo);
  EXPECT_EQ(began[0].gauge.Progress, 15);
  EXPECT_EQ(began[0].gauge.Max, 500);
  ASSERT_TRUE(rig.RunUntil(idle));
  auto t = rig.Texts();
  EXPECT_EQ(Count(t, "Read Chip Information Data......"), 1u);
  EXPECT_EQ(Count(t, "  0x03800000 : 5C 5D 5E 5F 58 59 5A 5B 54 55 56 57 50 51 52 53"), 1u);

  StationProbe::Model(st).ReadStart = 0x100;
  StationProbe::Model(st).ReadLength = 32;
  st.StartReadOnUnit0(StartReadAddress, AutoChainRule::Clear);
  EXPECT_EQ(rig.U(0).StepState, StepReadAddress);
  EXPECT_EQ(rig.op.unitEvents.back().kind, Kind::Progress);
  EXPECT_EQ(rig.op.unitEvents.back().gauge.Progress, 250);
  ASSERT_TRUE(rig.RunUntil(idle));
  t = rig.Texts();
  EXPECT_EQ(Count(t, "> Read Address Memory Data below: "), 1u);
  std::string secondRow = "0x00000110 : ";  // the simulated chip is erased
  for (int i = 0; i < 16; ++i) secondRow += "FF ";
  EXPECT_EQ(Count(t, secondRow), 1u);

  st.StartReadOnUnit0(StartReadChecksum, AutoChainRule::Clear);
  ASSERT_TRUE(rig.RunUntil(idle));
  const auto ends = rig.op.Ends(0);
  ASSERT_EQ(ends.size(), 3u);
  EXPECT_EQ(ends[0].step, StepReadChipInfo);
  EXPECT_EQ(ends[1].step, StepReadAddress);
  EXPECT_EQ(ends[2].step, StepReadChecksum);
  for (const auto& e : ends) EXPECT_TRUE(e.ok);
}

// The start of a reply that an earlier step gave up on (its time-out ended it) still lies in
// unit 0's buffer: a read starts afresh like the writing commands do, so that stub does not
// join the read's own reply into one broken frame.
TEST(Station, AUnitZeroReadIsNotSpoiltByTheStubOfAnEarlierReply) {
  StationRig rig;
  rig.Units(std::vector<sim::UnitConfig>(1));
  rig.FirmwareFile();
  Station& st = rig.Make();
  rig.StartUp();
  ASSERT_TRUE(rig.Linked(1));
  auto& buf = StationProbe::Wire(st).Units[0];
  const std::vector<u8> stub = {0xC0, 0x06, 0x00, 0x00, 0x00};
  std::copy(stub.begin(), stub.end(), buf.RxRawBuf.begin());
  buf.RxCount = static_cast<u16>(stub.size());
  ASSERT_TRUE(st.GuardUnit0());
  st.StartReadOnUnit0(StartReadChecksum, AutoChainRule::Clear);
  ASSERT_TRUE(rig.RunUntil([&] { return st.BusyUnits().none(); }));
  const auto ends = rig.op.Ends(0);
  ASSERT_EQ(ends.size(), 1u);
  EXPECT_TRUE(ends[0].ok);
  const auto t = rig.Texts();
  EXPECT_EQ(Count(t, "C1 : Packet Error!"), 0u);
  EXPECT_EQ(std::count_if(t.begin(), t.end(), [](const std::string& l) { return l.rfind("C1 : Read Chip CRC16/ACC32", 0) == 0; }), 1);
}

TEST(Station, WritingCommandStartsLinkedIdleUnitsAndLeavesABusyUnitsBytes) {
  StationRig rig;
  Station& st = rig.Make();
  auto& s = StationProbe::Sessions(st);
  s.UnitCount = 3;
  s.Unit[0].Linked = 1;
  s.Unit[1].Linked = 1;
  s.Unit[1].Busy = 1;
  s.Unit[1].StepState = StepProgramMain;
  s.Unit[3].Linked = 1;  // not in use
  for (u8 k = 0; k < 4; ++k) {
    s.Unit[k].AutoChain = 1;
    StationProbe::Wire(st).Units[k].RxCount = 5;
    StationProbe::Wire(st).Units[k].Serial.Active = 1;
  }
  const UnitSet started = st.StartWritingCommand(StartBlankCheck, AutoChainRule::Clear, {.Renumber = true});
  EXPECT_EQ(started, UnitSet(0b001));
  const std::vector<u8> numbered = {st.UnitSerial(0).Active, st.UnitSerial(1).Active, st.UnitSerial(2).Active,
                                    st.UnitSerial(3).Active};
  EXPECT_EQ(numbered, (std::vector<u8>{0, 1, 1, 1}));
  EXPECT_EQ(s.Unit[0].StepState, StepBlankCheck);
  EXPECT_EQ(s.Unit[1].StepState, StepProgramMain);
  // Only the unit started is touched: the busy one keeps its chain, the others everything.
  const std::vector<u16> rx = {st.ReceivedCount(0), st.ReceivedCount(1), st.ReceivedCount(2),
                               st.ReceivedCount(3)};
  EXPECT_EQ(rx, (std::vector<u16>{0, 5, 5, 5}));
  const std::vector<u8> chains = {s.Unit[0].AutoChain, s.Unit[1].AutoChain, s.Unit[2].AutoChain, s.Unit[3].AutoChain};
  EXPECT_EQ(chains, (std::vector<u8>{0, 1, 1, 1}));

  s.Unit[0].Busy = 0;
  s.Unit[1].AutoChain = 0;
  EXPECT_EQ(st.StartWritingCommand(StartBlankCheck, AutoChainRule::Set), UnitSet(0b001));
  EXPECT_EQ(s.Unit[0].AutoChain, 1);
  EXPECT_EQ(s.Unit[1].AutoChain, 0);
  EXPECT_EQ(st.BusyUnits(), UnitSet(0b011));
}

}  // namespace
}  // namespace qx::test
