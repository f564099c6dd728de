// The real executable in batch mode, as a separate process, against ten simulated units:
// the unattended run with "OFF" ends with its result file and log, without it the units
// start their own programming and the program stays open, failing units keep the result
// file away, and a damaged project starts nothing.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "programmer/CommandCodes.h"
#include "tests/app/e2e/ProgramFolder.h"

namespace qx::test {
namespace {

using namespace std::chrono_literals;

TEST(ProgramBatch, WithOffInAnyCaseEveryUnitTakesTheJobAndTheProgramEndsWithItsResultAndLog) {
  QX_NEED_PROGRAM();
  for (const char* off : {"OFF", "off"}) {
    SCOPED_TRACE(off);
    BatchFolder f;
    ProgramProcess program(kProgram, f.dir.Dir());
    ASSERT_TRUE(program.Start({f.job.Path, off}));
    ASSERT_TRUE(program.WaitForExit(120s)) << program.Output();
    const int status = *program.Status();
    ASSERT_TRUE(WIFEXITED(status)) << program.Output();
    EXPECT_EQ(WEXITSTATUS(status), 0) << program.Output();
    EXPECT_EQ(ReadText(f.dir.File("ResDW.Txt")), "Download Success\r\n");
    for (u8 k = 0; k < kUnits; ++k) {
      ExpectUnitHoldsTheJob(*f.sim, k, kUnits, f.job);
      EXPECT_EQ(f.Requests(k, CmdRestart), 0u);
      EXPECT_EQ(f.sim->Stats(k).BadFrames, 0u);
    }
    const auto logs = f.LogFiles();
    ASSERT_EQ(logs.size(), 1u);
    const std::string log = ReadText(logs[0]);
    EXPECT_NE(log.find("Project File Open Success!\r\n"), std::string::npos);
    for (u8 k = 0; k < kUnits; ++k) {
      EXPECT_NE(log.find(" C" + std::to_string(k + 1) + " : Data Donwload Success!\r\n"), std::string::npos) << k;
    }
    EXPECT_EQ(log.find("Time Out"), std::string::npos);
  }
}

TEST(ProgramBatch, WithoutOffEveryUnitGetsTheRestartAndTheProgramStaysOpen) {
  QX_NEED_PROGRAM();
  BatchFolder f;
  ProgramProcess program(kProgram, f.dir.Dir());
  ASSERT_TRUE(program.Start({f.job.Path}));
  ASSERT_TRUE(ProgramProcess::WaitFor(
      [&] {
        for (u8 k = 0; k < kUnits; ++k) {
          if (!f.sim->Stats(k).Restarted) return false;
        }
        return true;
      },
      120s))
      << program.Output();
  ExpectStoppedBy(program, SIGTERM);
  for (u8 k = 0; k < kUnits; ++k) {
    ExpectUnitHoldsTheJob(*f.sim, k, kUnits, f.job);
    EXPECT_EQ(f.Requests(k, CmdRestart), 1u);
  }
  EXPECT_FALSE(std::filesystem::exists(f.dir.File("ResDW.Txt")));
}

TEST(ProgramBatch, TwoFailingUnitsLeaveNoResultFileAndTheProgramOpenWhileTheOtherEightComplete) {
  QX_NEED_PROGRAM();
  std::vector<sim::UnitConfig> configs(kUnits);
  configs[2].Faults = {{sim::FaultKind::Status, 6, 3}};   // unit 3: a main-flash block
  configs[7].Faults = {{sim::FaultKind::Status, 2, 21}};  // unit 8: the chip data
  BatchFolder f(configs);
  ProgramProcess program(kProgram, f.dir.Dir());
  ASSERT_TRUE(program.Start({f.job.Path, "OFF"}));
  ASSERT_TRUE(ProgramProcess::WaitFor(
      [&] {
        for (u8 k = 0; k < kUnits; ++k) {
          if (k != 2 && k != 7 && !f.TookTheJob(k)) return false;
        }
        return true;
      },
      120s))
      << program.Output();
  ExpectStoppedBy(program, SIGTERM);
  EXPECT_FALSE(std::filesystem::exists(f.dir.File("ResDW.Txt")));
  for (u8 k = 0; k < kUnits; ++k) {
    if (k == 2 || k == 7) {
      EXPECT_FALSE(f.TookTheJob(k)) << static_cast<int>(k);
    } else {
      ExpectUnitHoldsTheJob(*f.sim, k, kUnits, f.job);
    }
  }
}

TEST(ProgramBatch, ADamagedProjectStartsNothing) {
  QX_NEED_PROGRAM();
  BatchFolder f;
  std::vector<u8> bytes = ReadFileBytes(f.job.Path, 1u << 26);
  bytes[ProjectMfmTagOffset + 300] ^= 0x01;
  WriteFile(f.job.Path, bytes);
  ProgramProcess program(kProgram, f.dir.Dir());
  ASSERT_TRUE(program.Start({f.job.Path, "OFF"}));
  // Once every unit is linked, the batch start says on the standard error why it starts nothing.
  ASSERT_TRUE(program.WaitForOutput("The project was not loaded: no download started!", 120s)) << program.Output();
  ExpectStoppedBy(program, SIGTERM);
  EXPECT_FALSE(std::filesystem::exists(f.dir.File("ResDW.Txt")));
  for (u8 k = 0; k < kUnits; ++k) {
    EXPECT_EQ(f.sim->Stats(k).Requests, f.sim->Stats(k).Probes) << static_cast<int>(k);
  }
}

}  // namespace
}  // namespace qx::test
