// Batch mode through the station against simulated units: the batch start once every unit
// is linked, the downloads, the exit test with and without "OFF", and the runs that must
// not end in a result file.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "programmer/CommandCodes.h"
#include "programmer/DownloadChain.h"
#include "tests/app/e2e/BatchJob.h"
#include "tests/app/e2e/station_fixture.h"

namespace qx::test {
namespace {

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool Has(const std::vector<std::string>& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

struct BatchRun {
  void Units(u8 n, std::vector<sim::UnitConfig> configs = {}) {
    configs.resize(n);
    units = n;
    rig.Units(std::move(configs));
  }
  // n units, the firmware file and the sample job of spec in the program folder.
  BatchJob Prepare(u8 n, const sample::SampleJob& spec = {}) {
    Units(n);
    rig.FirmwareFile();
    return WriteBatchJob(rig.dir.Dir(), spec);
  }
  void Start(std::vector<std::string> args) {
    rig.Make();
    rig.StartUp(args);
  }
  std::string ResultPath() const { return rig.dir.File("ResDW.Txt"); }
  bool ResultWritten() const { return std::filesystem::exists(ResultPath()); }
  // Every unit in use has ended its chain (or the run gave up waiting).
  bool AllDone(int rounds = 8000) {
    return rig.RunUntil(
        [&] {
          if (rig.st->BatchUnits().count() != units) return false;
          for (u8 k = 0; k < units; ++k) {
            if (rig.U(k).Busy) return false;
          }
          return true;
        },
        rounds);
  }
  u32 Requests(u8 k, u8 command) const {
    const auto st = rig.sim->Stats(k);
    const auto it = st.ByCommand.find(command);
    return it == st.ByCommand.end() ? 0 : it->second;
  }

  StationRig rig;
  u8 units = 0;
};

// With "OFF" in any letter case: every unit takes the project, with the data flash the
// project asks for and without the restart; then one result line and one close request.
TEST(Batch, WithOffEveryUnitTakesTheProjectThenTheResultFileIsWrittenAndTheProgramCloses) {
  for (const char* off : {"OFF", "oFf"}) {
    SCOPED_TRACE(off);
    BatchRun run;
    run.Units(3);
    run.rig.FirmwareFile();
    const BatchJob job = WriteBatchJob(run.rig.dir.Dir());
    bool writtenBeforeClose = false;
    run.rig.op.onClose = [&] { writtenBeforeClose = ReadText(run.ResultPath()) == "Download Success\r\n"; };
    run.Start({job.Path, off});
    ASSERT_TRUE(run.rig.RunUntil([&] { return run.rig.op.closeRequests > 0; }));
    EXPECT_TRUE(writtenBeforeClose);
    run.rig.RunUntil([] { return false; }, 20);
    EXPECT_EQ(run.rig.op.closeRequests, 1);
    EXPECT_TRUE(run.rig.op.messages.empty());
    for (u8 k = 0; k < 3; ++k) {
      ExpectUnitHoldsTheJob(*run.rig.sim, k, 3, job);
      EXPECT_EQ(run.Requests(k, CmdDownloadEepBlock), job.Model->Params.EepSize / 4096);
      EXPECT_EQ(run.Requests(k, CmdRestart), 0u);
      EXPECT_TRUE(Has(run.rig.Texts(), "C" + std::to_string(k + 1) + " : Data Donwload Success!"));
    }
  }
}

// A unit with older firmware is upgraded while linking; the batch starts only once the
// search after the upgrade has linked it again.
TEST(Batch, AUnitWithOldFirmwareIsUpgradedBeforeTheBatchStarts) {
  BatchRun run;
  std::vector<sim::UnitConfig> configs(3);
  configs[1].OldFirmware = true;
  run.Units(3, configs);
  run.rig.FirmwareFile();
  const BatchJob job = WriteBatchJob(run.rig.dir.Dir());
  run.Start({job.Path, "OFF"});
  ASSERT_TRUE(run.rig.RunUntil([&] { return run.rig.op.closeRequests > 0; }));
  EXPECT_TRUE(run.rig.sim->Stats(1).FirmwareEnded);
  EXPECT_EQ(run.rig.sim->Stats(1).Probes, 2u);
  for (u8 k = 0; k < 3; ++k) ExpectUnitHoldsTheJob(*run.rig.sim, k, 3, job);
}

// Without "OFF" each unit starts its own programming; nothing is written, nothing closes.
TEST(Batch, WithoutOffEveryUnitGetsTheRestartAndTheProgramStaysOpen) {
  BatchRun run;
  run.Units(3);
  run.rig.FirmwareFile();
  const BatchJob job = WriteBatchJob(run.rig.dir.Dir());
  run.Start({job.Path});
  ASSERT_TRUE(run.rig.RunUntil([&] {
    for (u8 k = 0; k < 3; ++k) {
      if (!run.rig.sim->Stats(k).Restarted) return false;
    }
    return true;
  }));
  run.rig.RunUntil([] { return false; }, 20);
  for (u8 k = 0; k < 3; ++k) {
    ExpectUnitHoldsTheJob(*run.rig.sim, k, 3, job);
    EXPECT_EQ(run.Requests(k, CmdRestart), 1u);
  }
  EXPECT_FALSE(run.ResultWritten());
  EXPECT_EQ(run.rig.op.closeRequests, 0);
}

// A project saved without data-flash programming sends no data-flash packet: the loaded
// ProgramFlags decide, not a settings collection.
TEST(Batch, TheDataFlashGoesOnlyWhenTheProjectSaysSo) {
  BatchRun run;
  run.Units(2);
  run.rig.FirmwareFile();
  sample::SampleJob spec;
  spec.ProgramDataFlash = false;
  const BatchJob job = WriteBatchJob(run.rig.dir.Dir(), spec);
  run.Start({job.Path, "OFF"});
  ASSERT_TRUE(run.rig.RunUntil([&] { return run.rig.op.closeRequests > 0; }));
  for (u8 k = 0; k < 2; ++k) {
    EXPECT_EQ(run.Requests(k, CmdDownloadEepBlock), 0u);
    EXPECT_EQ(run.Requests(k, CmdDownloadMainBlock), job.Model->Params.DownloadSize / 4096);
  }
}

// Two failing units keep the result file away; the others complete. A unit that completes
// twice does not make up for one that failed.
TEST(Batch, FailedUnitsLeaveNoResultFileAndARepeatedSuccessCountsOnce) {
  BatchRun run;
  std::vector<sim::UnitConfig> configs(4);
  configs[1].Faults = {{sim::FaultKind::Status, 5, 3}};  // a main-flash block
  configs[3].Faults = {{sim::FaultKind::Silence, 2, 0}};  // the chip data: a time-out
  run.Units(4, configs);
  run.rig.FirmwareFile();
  const BatchJob job = WriteBatchJob(run.rig.dir.Dir());
  run.Start({job.Path, "OFF"});
  ASSERT_TRUE(run.AllDone());
  for (const u8 k : {u8{0}, u8{2}}) {
    EXPECT_EQ(run.rig.U(k).DownloadDone, 1);
    ExpectUnitHoldsTheJob(*run.rig.sim, k, 4, job);
  }
  EXPECT_EQ(run.rig.U(1).DownloadDone, 0);
  EXPECT_EQ(run.rig.U(3).DownloadDone, 0);
  EXPECT_TRUE(Has(run.rig.Texts(), "C4 : Command Executed Time Out!"));

  // The two good units download again: four completions now for four units linked.
  run.rig.st->StartChain(0, StartDownloadChipData, AutoChainRule::Keep);
  run.rig.st->StartChain(2, StartDownloadChipData, AutoChainRule::Keep);
  ASSERT_TRUE(run.AllDone());
  EXPECT_GE(run.rig.st->DownloadOkCount(), run.rig.st->LinkedCount());
  run.rig.RunUntil([] { return false; }, 20);
  EXPECT_FALSE(run.ResultWritten());
  EXPECT_EQ(run.rig.op.closeRequests, 0);
}

// Nothing starts on a project that is missing, unreadable, fails its checks, or comes while
// a unit is busy; no result file. Without "OFF" the missing file is also shown.
TEST(Batch, AProjectThatIsNotLoadedStartsNothing) {
  struct Case {
    const char* name;
    std::function<std::string(const BatchJob&, const TempDir&)> project;
    bool off;
    bool busyUnit;
    std::vector<std::string> lines;  // besides the reader's or loader's own
    std::vector<std::string> boxes;
  };
  const auto damagedBy = [](std::function<void(std::vector<u8>&, const ChipParams&)> damage) {
    return [damage](const BatchJob& job, const TempDir& dir) {
      std::vector<u8> bytes = ReadFileBytes(job.Path, 1u << 26);
      damage(bytes, job.Model->Params);
      const std::string path = dir.File("damaged.pqz");
      WriteFile(path, bytes);
      return path;
    };
  };
  const auto damaged = damagedBy([](std::vector<u8>& f, const ChipParams&) { f[ProjectMfmTagOffset + 200] ^= 0x40; });
  // Damage the byte sum misses: a key byte and its 1024 data bytes swapped with the next,
  // or two bytes changed by +1 and -1.
  const auto swapChunks = [](std::vector<u8>& f, std::size_t at) {
    std::swap_ranges(f.begin() + static_cast<std::ptrdiff_t>(at), f.begin() + static_cast<std::ptrdiff_t>(at + 1025),
                     f.begin() + static_cast<std::ptrdiff_t>(at + 1025));
  };
  const auto cancel = [](std::vector<u8>& f, std::size_t a, std::size_t b) {
    if (f[a] == 0xFF || f[b] == 0x00) std::swap(a, b);
    ++f[a];
    --f[b];
  };
  constexpr std::size_t kMainAt = ProjectMfmTagOffset + 3;
  constexpr std::size_t kCfgAt = ProjectCfgTagOffset + 4;
  const auto eepAt = [](const ChipParams& p) { return kMainAt + ProjectDataSectionSize(p.DownloadSize) + 3 + 4; };
  const auto mainSwapped = damagedBy([=](std::vector<u8>& f, const ChipParams&) { swapChunks(f, kMainAt + 1025); });
  const auto eepSwapped = damagedBy([=](std::vector<u8>& f, const ChipParams& p) { swapChunks(f, eepAt(p) + 1025); });
  const auto optionsCancel = damagedBy(
      [=](std::vector<u8>& f, const ChipParams&) { cancel(f, kCfgAt + SbOptionLowAt, kCfgAt + SbOptionHighAt); });
  const auto missing = [](const BatchJob&, const TempDir& dir) { return dir.File("missing.pqz"); };
  const auto folder = [](const BatchJob&, const TempDir& dir) {
    std::filesystem::create_directory(dir.File("folder.pqz"));
    return dir.File("folder.pqz");
  };
  const auto good = [](const BatchJob& job, const TempDir&) { return job.Path; };
  const Case cases[] = {
      {"damaged", damaged, true, false,
       {"Project File Data Has Been Corrupted!", "The project was not loaded: no download started!"}, {}},
      {"damaged, no OFF", damaged, false, false,
       {"Project File Data Has Been Corrupted!", "The project was not loaded: no download started!"}, {}},
      {"main-flash blocks swapped", mainSwapped, true, false,
       {"Project File Data Has Been Corrupted!", "The project was not loaded: no download started!"}, {}},
      {"data-flash blocks swapped", eepSwapped, true, false,
       {"Project File Data Has Been Corrupted!", "The project was not loaded: no download started!"}, {}},
      {"option bytes changed to cancel", optionsCancel, true, false,
       {"Project File Data Has Been Corrupted!", "The project was not loaded: no download started!"}, {}},
      {"missing", missing, true, false, {"File of %PATH is not found!"}, {}},
      {"missing, no OFF", missing, false, false, {"File of %PATH is not found!"}, {"File of %PATH is not found!"}},
      {"a folder", folder, true, false, {"\"%PATH\" is not a regular file and has not been opened!"}, {}},
      {"a unit busy", good, true, true, {"Busy programmers: 2. Please wait until they have finished!"}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    BatchRun run;
    // Main data over part of the flash: the data-flash sums are compared then.
    sample::SampleJob spec;
    spec.MainBytes = 0x8000;
    const BatchJob job = run.Prepare(2, spec);
    const std::string path = c.project(job, run.rig.dir);
    run.rig.Make();
    run.rig.StartUp(c.off ? std::vector<std::string>{path, "OFF"} : std::vector<std::string>{path});
    if (c.busyUnit) {
      // An operator's command on a unit already linked while the others link.
      ASSERT_TRUE(run.rig.RunUntil([&] { return run.rig.st->LinkedCount() == 2; }));
      run.rig.U(1).Busy = 1;
      run.rig.U(1).TimeoutTicks = 60000;
    }
    ASSERT_TRUE(run.rig.RunUntil([&] { return !run.rig.timer2On; }));
    run.rig.RunUntil([] { return false; }, 50);
    const auto expand = [&](std::string s) {
      const auto at = s.find("%PATH");
      if (at != std::string::npos) s.replace(at, 5, path);
      return s;
    };
    const auto texts = run.rig.Texts();
    for (const auto& line : c.lines) EXPECT_TRUE(Has(texts, expand(line))) << expand(line);
    std::vector<std::string> boxes;
    for (const auto& m : run.rig.op.messages) boxes.push_back(m.text);
    std::vector<std::string> expectedBoxes;
    for (const auto& b : c.boxes) expectedBoxes.push_back(expand(b));
    EXPECT_EQ(boxes, expectedBoxes);
    EXPECT_TRUE(run.rig.st->BatchUnits().none());
    for (u8 k = 0; k < 2; ++k) EXPECT_EQ(run.Requests(k, CmdChipData), 0u);
    EXPECT_FALSE(run.ResultWritten());
    EXPECT_EQ(run.rig.op.closeRequests, 0);
  }
}

// With no unit in use the project is loaded and nothing else happens: no result file, no
// close, even though every unit in use (none) counts as linked.
TEST(Batch, WithoutUnitsTheProjectIsLoadedAndNothingEnds) {
  BatchRun run;
  run.rig.FirmwareFile();
  const BatchJob job = WriteBatchJob(run.rig.dir.Dir());
  run.Start({job.Path, "OFF"});
  ASSERT_TRUE(run.rig.RunUntil([&] { return !run.rig.timer2On; }));
  run.rig.RunUntil([] { return false; }, 20);
  EXPECT_EQ(run.rig.st->UnitCount(), 0);
  EXPECT_EQ(run.rig.st->Model().ChipName, "SA32B12xx");
  EXPECT_EQ(run.rig.st->Model().ObjectLoaded, 1);
  EXPECT_TRUE(run.rig.st->BatchUnits().none());
  EXPECT_FALSE(run.ResultWritten());
  EXPECT_EQ(run.rig.op.closeRequests, 0);
}

// Unattended, the boxes of start-up and of the load are log lines: a missing firmware file
// and a missing flash driver. The driver's absence then fails every unit's download.
TEST(Batch, UnattendedTheBoxesOfStartUpAndLoadAreLoggedOnly) {
  for (const bool off : {true, false}) {
    SCOPED_TRACE(off ? "OFF" : "no OFF");
    BatchRun run;
    run.Units(2);
    const BatchJob job = WriteBatchJob(run.rig.dir.Dir());
    std::filesystem::remove_all(run.rig.dir.File("DromixDRVs"));
    run.Start(off ? std::vector<std::string>{job.Path, "OFF"} : std::vector<std::string>{job.Path});
    ASSERT_TRUE(run.AllDone());
    const std::string firmware = "File \"" + run.rig.dir.File("QX740VRD.FWR") + "\" not found, Please confirm!";
    const std::string driver =
        "File \"" + run.rig.dir.Dir() + "DromixDRVs/" + std::string(sim::DriverStemFor("SA32B12xx")) +
        ".KDV\" is not exists, please check it!";
    const auto texts = run.rig.Texts();
    EXPECT_TRUE(Has(texts, firmware));
    EXPECT_EQ(Has(texts, driver), off);
    std::vector<std::string> boxes;
    for (const auto& m : run.rig.op.messages) boxes.push_back(m.text);
    EXPECT_EQ(boxes, (off ? std::vector<std::string>{} : std::vector<std::string>{firmware, driver}));
    for (u8 k = 0; k < 2; ++k) EXPECT_EQ(run.rig.U(k).DownloadDone, 0);
    EXPECT_FALSE(run.ResultWritten());
  }
}

// The exit runs once: the close's own nested loop ticks Timer1 again. A result file that
// cannot be written is logged and written to the standard error, never waits in a box, and
// the program stays open.
TEST(Batch, TheExitRunsOnceAndAResultFileThatCannotBeWrittenKeepsTheProgramOpenWithoutABox) {
  {
    BatchRun run;
    run.Units(2);
    run.rig.FirmwareFile();
    const BatchJob job = WriteBatchJob(run.rig.dir.Dir());
    run.rig.op.onClose = [&] {
      for (int i = 0; i < 5; ++i) run.rig.st->Timer1Timer();
    };
    run.Start({job.Path, "OFF"});
    ASSERT_TRUE(run.rig.RunUntil([&] { return run.rig.op.closeRequests > 0; }));
    run.rig.RunUntil([] { return false; }, 20);
    EXPECT_EQ(run.rig.op.closeRequests, 1);
    EXPECT_EQ(ReadText(run.ResultPath()), "Download Success\r\n");
  }
  BatchRun run;
  run.Units(2);
  run.rig.FirmwareFile();
  const BatchJob job = WriteBatchJob(run.rig.dir.Dir());
  run.Start({job.Path, "OFF"});
  // A folder in the result file's place once the start-up has found none to remove.
  std::filesystem::create_directories(run.rig.dir.File("ResDW.Txt") + "/held");
  ASSERT_TRUE(run.rig.RunUntil([&] { return !run.rig.errorLines.empty(); }));
  run.rig.RunUntil([] { return false; }, 20);
  const std::string text = "File write error: " + run.rig.dir.File("ResDW.Txt") +
                           " (Is a directory) - the batch result is not written, the program stays open!";
  // Nobody watches: no box waits, the log and the standard error say it once.
  EXPECT_TRUE(run.rig.op.messages.empty());
  EXPECT_EQ(run.rig.errorLines, std::vector<std::string>{text});
  const std::vector<std::string> texts = run.rig.Texts();
  EXPECT_EQ(std::count(texts.begin(), texts.end(), text), 1);
  EXPECT_EQ(run.rig.op.closeRequests, 0);
  EXPECT_TRUE(std::filesystem::is_directory(run.rig.dir.File("ResDW.Txt")));
}

// An old result file that cannot be removed must not stand beside this run: it is named
// with its reason, and a batch starts no download (with or without "OFF"); without a batch
// the operator sees it in a box as well.
TEST(Batch, AnOldResultFileThatCannotBeRemovedIsNamedAndNoDownloadStarts) {
  struct Case {
    const char* name;
    bool batch, off;
  };
  for (const Case c : {Case{"OFF", true, true}, Case{"no OFF", true, false}, Case{"no batch", false, false}}) {
    SCOPED_TRACE(c.name);
    BatchRun run;
    run.Units(2);
    run.rig.FirmwareFile();
    const BatchJob job = WriteBatchJob(run.rig.dir.Dir());
    // A result "file" the start-up cannot remove.
    std::filesystem::create_directories(run.ResultPath() + "/held");
    std::vector<std::string> args;
    if (c.batch) args.push_back(job.Path);
    if (c.off) args.emplace_back("OFF");
    run.Start(args);
    ASSERT_TRUE(run.rig.RunUntil([&] { return !run.rig.timer2On; }));
    run.rig.RunUntil([] { return false; }, 50);
    const std::string named = "The old result file " + run.ResultPath() + " cannot be removed (Is a directory)!";
    const auto texts = run.rig.Texts();
    EXPECT_TRUE(Has(texts, named));
    std::vector<std::string> boxes;
    for (const auto& m : run.rig.op.messages) boxes.push_back(m.text);
    EXPECT_EQ(boxes, c.batch ? std::vector<std::string>{} : std::vector<std::string>{named});
    EXPECT_EQ(Has(texts, "An old result file stands: no download started!"), c.batch);
    EXPECT_TRUE(run.rig.st->BatchUnits().none());
    for (u8 k = 0; k < 2; ++k) {
      EXPECT_EQ(run.Requests(k, CmdChipData), 0u);
      EXPECT_EQ(run.rig.U(k).Linked, 1);
    }
    EXPECT_EQ(run.rig.op.closeRequests, 0);
  }
}

// A unit that acknowledges its upgrade and still answers as before is upgraded once in the
// run: an old version is then linked as it is and takes the job; a boot loader stays
// unlinked, so the batch waits (no result file) instead of upgrading it for ever.
TEST(Batch, AUnitStillOldAfterItsUpgradeIsUpgradedOnceAndTheBatchGoesOn) {
  BatchRun run;
  std::vector<sim::UnitConfig> configs(3);
  configs[1].OldFirmware = true;
  configs[1].UpgradeTakes = false;
  configs[2].OldFirmware = true;
  configs[2].UpgradeTakes = false;
  run.Units(3, configs);
  run.rig.FirmwareFile();
  const BatchJob job = WriteBatchJob(run.rig.dir.Dir());
  run.Start({job.Path, "OFF"});
  ASSERT_TRUE(run.rig.RunUntil([&] { return run.rig.op.closeRequests > 0; }));
  EXPECT_EQ(ReadText(run.ResultPath()), "Download Success\r\n");
  const auto texts = run.rig.Texts();
  for (const u8 k : {u8{1}, u8{2}}) {
    SCOPED_TRACE(int(k));
    EXPECT_EQ(run.rig.sim->Stats(k).FirmwareUpgrades, 1u);
    const std::string line = "C" + std::to_string(k + 1) + " : still reports \"" + run.rig.sim->IdText(k) +
                             "\" after its upgrade: not upgraded again in this run!";
    EXPECT_EQ(std::count(texts.begin(), texts.end(), line), 1) << line;
  }
  EXPECT_EQ(run.rig.sim->Stats(0).FirmwareUpgrades, 0u);
  for (u8 k = 0; k < 3; ++k) ExpectUnitHoldsTheJob(*run.rig.sim, k, 3, job);
}

TEST(Batch, ABootLoaderStillThereAfterItsUpgradeIsUpgradedOnceAndNothingStarts) {
  BatchRun run;
  std::vector<sim::UnitConfig> configs(2);
  configs[1].BootLoader = true;
  configs[1].UpgradeTakes = false;
  run.Units(2, configs);
  run.rig.FirmwareFile();
  const BatchJob job = WriteBatchJob(run.rig.dir.Dir());
  run.Start({job.Path, "OFF"});
  ASSERT_TRUE(run.rig.RunUntil([&] { return run.rig.sim->Stats(1).Probes >= 2; }));
  // Long enough for many more searches and upgrades, were they started.
  run.rig.RunUntil([] { return false; }, 1500);
  EXPECT_EQ(run.rig.sim->Stats(1).FirmwareUpgrades, 1u);
  EXPECT_EQ(run.rig.sim->Stats(1).Probes, 2u);
  const auto texts = run.rig.Texts();
  EXPECT_TRUE(Has(texts, "C2 : still reports \"Nolbin200XXX V1.0, Boot\" after its upgrade: not upgraded again in this run!"));
  EXPECT_TRUE(run.rig.st->BatchUnits().none());
  EXPECT_EQ(run.Requests(0, CmdChipData), 0u);
  EXPECT_FALSE(run.ResultWritten());
}

// The programmers count their serial numbers by themselves with the step the settings block
// carries in 16 bits: a step that does not fit would have units give numbers that other
// units' chips get too, so no unit takes the job and no result file says it went well.
TEST(Batch, AnSnStepThatDoesNotFitSixteenBitsStartsNoDownload) {
  BatchRun run;
  run.Units(3);
  run.rig.FirmwareFile();
  sample::SampleJob spec;
  spec.SnGain = 0x6000;  // 3 x 0x6000 = 0x12000: cut to 0x2000, unit 0's fourth chip is unit 1's first
  const BatchJob job = WriteBatchJob(run.rig.dir.Dir(), spec);
  run.Start({job.Path, "OFF"});
  ASSERT_TRUE(run.AllDone());
  run.rig.RunUntil([] { return false; }, 20);
  const auto texts = run.rig.Texts();
  for (u8 k = 0; k < 3; ++k) {
    SCOPED_TRACE(k);
    EXPECT_EQ(run.Requests(k, CmdChipData), 0u);
    EXPECT_EQ(run.rig.U(k).DownloadDone, 0);
    EXPECT_TRUE(Has(texts, "C" + std::to_string(k + 1) +
                               " : The S/N increment 24576 times 3 programmers gives a step of 73728, above "
                               "65535: the programmers would repeat serial numbers! Download not sent."));
  }
  EXPECT_FALSE(run.ResultWritten());
  EXPECT_EQ(run.rig.op.closeRequests, 0);
}

// An increment of 0 gives every chip the number as typed, which a line may want: every
// unit takes the job with that number and a step of 0, and the result file is written.
TEST(Batch, AJobWithAnSnIncrementOfZeroIsDownloaded) {
  BatchRun run;
  sample::SampleJob spec;
  spec.SnGain = 0;
  const BatchJob job = run.Prepare(3, spec);
  ASSERT_EQ(job.Model->Sn.SnGain, 0);
  ASSERT_NE(job.Model->Sn.SnFlags & SnFlagOn, 0);
  run.Start({job.Path, "OFF"});
  ASSERT_TRUE(run.rig.RunUntil([&] { return run.rig.op.closeRequests > 0; }));
  EXPECT_EQ(ReadText(run.ResultPath()), "Download Success\r\n");
  for (u8 k = 0; k < 3; ++k) {
    ExpectUnitHoldsTheJob(*run.rig.sim, k, 3, job);
    run.rig.sim->WithUnit(k, [&](sim::SimUnit& u) {
      EXPECT_EQ(GetLe32(u.LastSettingsBlock(), SbSnValueAt), spec.SnValue) << int(k);
      EXPECT_EQ(GetLe16(u.LastSettingsBlock(), SbSnStepAt), 0) << int(k);
    });
  }
}

}  // namespace
}  // namespace qx::test
