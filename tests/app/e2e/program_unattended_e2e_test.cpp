// The real executable as a line script runs it, against simulated units: stopped from
// outside after its own limit, it ends as Exit ends it (log written, with the failure's
// reason, and no result file); a run nobody watches never waits in a box; an old result
// file that cannot be removed starts no download; a unit that stays old after its upgrade
// is upgraded once.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "tests/app/e2e/ProgramFolder.h"

namespace qx::test {
namespace {

using namespace std::chrono_literals;

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// Every unit got at least one probe: the search's log lines are written.
bool AllProbed(const BatchFolder& f, u8 units, ProgramProcess& program) {
  return ProgramProcess::WaitFor(
             [&] {
               for (u8 k = 0; k < units; ++k) {
                 if (f.sim->Stats(k).Requests == 0) return false;
               }
               return true;
             },
             60s) &&
         program.Running();
}

// An "OFF" batch run to its end: status 0 and the result file.
void ExpectABatchThatEndsByItself(const BatchFolder& f, ProgramProcess& program) {
  ASSERT_TRUE(program.Start({f.job.Path, "OFF"}));
  ASSERT_TRUE(program.WaitForExit(120s)) << program.Output();
  const int status = *program.Status();
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(ReadText(f.dir.File("ResDW.Txt")), "Download Success\r\n");
}

// Without "OFF" each unit that took the job is sent its restart right after its success
// line: the restarts show the program has written those lines. Unit 2 fails at its sixth
// request, long before the other two have taken their sixty blocks.
TEST(ProgramUnattended, AFailingBatchStoppedBySigtermLeavesItsLogWithTheFailureAndNoResultFile) {
  QX_NEED_PROGRAM();
  std::vector<sim::UnitConfig> configs(3);
  configs[1].Faults = {{sim::FaultKind::Status, 6, 44}};  // a main-flash block: a flash error
  BatchFolder f(configs);
  ProgramProcess program(kProgram, f.dir.Dir());
  ASSERT_TRUE(program.Start({f.job.Path}));
  ASSERT_TRUE(ProgramProcess::WaitFor([&] { return f.sim->Stats(0).Restarted && f.sim->Stats(2).Restarted; }, 120s))
      << program.Output();
  ExpectStoppedBy(program, SIGTERM);
  EXPECT_FALSE(std::filesystem::exists(f.dir.File("ResDW.Txt")));
  EXPECT_FALSE(f.sim->Stats(1).Restarted);
  const std::string log = f.TheLog();
  EXPECT_TRUE(Has(log, " C2 : Flash Memory Error!\r\n")) << log;
  EXPECT_TRUE(Has(log, " C1 : Data Donwload Success!\r\n"));
  EXPECT_TRUE(Has(log, " C3 : Data Donwload Success!\r\n"));
}

TEST(ProgramUnattended, AUnitThatNeverAnswersItsProbeStoppedBySigtermLeavesItsLogAndNoResultFile) {
  QX_NEED_PROGRAM();
  std::vector<sim::UnitConfig> configs(4);
  configs[1].Faults = {{sim::FaultKind::Silence, 0, 0}};
  BatchFolder f(configs);
  ProgramProcess program(kProgram, f.dir.Dir());
  ASSERT_TRUE(program.Start({f.job.Path, "OFF"}));
  ASSERT_TRUE(AllProbed(f, 4, program)) << program.Output();
  ExpectStoppedBy(program, SIGTERM);
  EXPECT_FALSE(std::filesystem::exists(f.dir.File("ResDW.Txt")));
  const std::string log = f.TheLog();
  // The probes show these lines written; what the other units' answers led to has no sign
  // of its own here.
  for (u8 k = 0; k < 4; ++k) {
    EXPECT_TRUE(Has(log, "Checking Device " + std::to_string(k + 1) + " In " + f.sim->Path(k) + "............\r\n"))
        << log;
  }
  EXPECT_FALSE(Has(log, " C2 : Find Device: "));
  for (u8 k = 0; k < 4; ++k) EXPECT_EQ(f.Requests(k, CmdChipData), 0u) << int(k);
}

TEST(ProgramUnattended, APortThatCannotBeOpenedIsNamedInTheLogAndOnStandardError) {
  QX_NEED_PROGRAM();
  BatchFolder f(std::vector<sim::UnitConfig>(2));
  const std::string gone = f.dir.File("ttyGone");
  f.dir.Write("ConfigQlt.ini", "[Connection]\r\nTOTDEV=2\r\nDEV1=" + f.sim->Path(0) + "\r\nDEV2=" + gone + "\r\n");
  ProgramProcess program(kProgram, f.dir.Dir());
  ASSERT_TRUE(program.Start({f.job.Path, "OFF"}));
  const std::string error = "Error opening serial port:" + gone + "\nNo such device: ";
  const std::string named = "Device search stopped at port " + gone + ": Error opening serial port:" + gone;
  // The error went to the standard error, not into a box nobody closes.
  ASSERT_TRUE(program.WaitForOutput(error, 60s)) << program.Output();
  ExpectStoppedBy(program, SIGTERM);
  EXPECT_FALSE(std::filesystem::exists(f.dir.File("ResDW.Txt")));
  EXPECT_TRUE(Has(f.TheLog(), named));
  EXPECT_EQ(f.sim->Stats(0).Requests, 0u);
}

// Every stop from outside (a time limit, Ctrl+C, a closed terminal) writes the log once.
// The batch's project is missing: once every unit is linked the batch start says so on the
// standard error, so every unit's answer has been logged by then.
TEST(ProgramUnattended, EachStopSignalWritesTheLogWithEveryLineSoFar) {
  QX_NEED_PROGRAM();
  for (const int sig : {SIGTERM, SIGINT, SIGHUP}) {
    SCOPED_TRACE(sig);
    BatchFolder f(std::vector<sim::UnitConfig>(3));
    const std::string missing = f.dir.File("missing.pqz");
    ProgramProcess program(kProgram, f.dir.Dir());
    ASSERT_TRUE(program.Start({missing, "OFF"}));
    const std::string notFound = "File of " + missing + " is not found!";
    ASSERT_TRUE(program.WaitForOutput(notFound, 60s)) << program.Output();
    ExpectStoppedBy(program, sig);
    const std::string log = f.TheLog();
    EXPECT_TRUE(Has(log, "Hello NolbinGenX-KVT User! ------ \r\n")) << log;
    for (u8 k = 0; k < 3; ++k) EXPECT_TRUE(Has(log, " C" + std::to_string(k + 1) + " : Find Device: ")) << log;
    EXPECT_TRUE(Has(log, notFound + "\r\n")) << log;
  }
}

TEST(ProgramUnattended, ASuccessfulBatchWhoseLogCannotBeWrittenEndsWithZeroAndTheReasonOnStandardError) {
  QX_NEED_PROGRAM();
  BatchFolder f(std::vector<sim::UnitConfig>(2));
  f.dir.Write("KVTxLogS", "a file where the log folder belongs");
  ProgramProcess program(kProgram, f.dir.Dir());
  ASSERT_NO_FATAL_FAILURE(ExpectABatchThatEndsByItself(f, program));
  const std::string out = program.Output();
  EXPECT_TRUE(Has(out, "Write Log File error! Cannot create file " + f.dir.File("KVTxLogS") + "/KVT_")) << out;
  EXPECT_TRUE(Has(out, ".log (Not a directory)\n")) << out;
}

// The old result file belongs to root in a sticky folder; the program runs as another user
// and cannot remove it. It says so, and no unit is sent the job.
TEST(ProgramUnattended, AnOldResultFileThatCannotBeRemovedIsNamedAndNoDownloadStarts) {
  QX_NEED_PROGRAM();
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to run the program as another user";
  const std::string setpriv = "/usr/bin/setpriv";
  if (!std::filesystem::exists(setpriv)) GTEST_SKIP() << "no " << setpriv;
  BatchFolder f(std::vector<sim::UnitConfig>(2));
  ASSERT_EQ(::chmod(f.dir.Path().c_str(), 01777), 0);
  for (u8 k = 0; k < 2; ++k) ASSERT_EQ(::chmod(f.sim->Path(k).c_str(), 0666), 0);
  f.dir.Write("ResDW.Txt", "Download Success\r\n");
  ProgramProcess program(kProgram, f.dir.Dir());
  ASSERT_TRUE(program.Start({f.job.Path, "OFF"}, {setpriv, "--reuid=65534", "--regid=65534", "--clear-groups"}));
  // The batch start, once every unit is linked, says why it starts nothing.
  ASSERT_TRUE(program.WaitForOutput("An old result file stands: no download started!", 60s)) << program.Output();
  ExpectStoppedBy(program, SIGTERM);
  EXPECT_EQ(ReadText(f.dir.File("ResDW.Txt")), "Download Success\r\n");
  const std::string log = f.TheLog();
  EXPECT_TRUE(Has(log, "The old result file " + f.dir.File("ResDW.Txt") + " cannot be removed (Operation not permitted)!"))
      << log << program.Output();
  EXPECT_TRUE(Has(log, "An old result file stands: no download started!"));
  EXPECT_TRUE(Has(log, " C2 : Find Device: ")) << "the units were reached";
  for (u8 k = 0; k < 2; ++k) EXPECT_EQ(f.sim->Stats(k).Requests, f.sim->Stats(k).Probes) << int(k);
}

TEST(ProgramUnattended, UnitsStillOldAfterTheirUpgradeAreUpgradedOnceEachAndTheBatchEnds) {
  QX_NEED_PROGRAM();
  std::vector<sim::UnitConfig> configs(4);
  for (const u8 k : {u8{1}, u8{3}}) {
    configs[k].OldFirmware = true;
    configs[k].UpgradeTakes = false;
  }
  BatchFolder f(configs);
  ProgramProcess program(kProgram, f.dir.Dir());
  ASSERT_NO_FATAL_FAILURE(ExpectABatchThatEndsByItself(f, program));
  const std::string log = f.TheLog();
  for (u8 k = 0; k < 4; ++k) {
    SCOPED_TRACE(int(k));
    const bool old = k == 1 || k == 3;
    EXPECT_EQ(f.sim->Stats(k).FirmwareUpgrades, old ? 1u : 0u);
    EXPECT_EQ(Has(log, " C" + std::to_string(k + 1) + " : still reports \"" + f.sim->IdText(k) + "\""), old);
    ExpectUnitHoldsTheJob(*f.sim, k, 4, f.job);
  }
}

}  // namespace
}  // namespace qx::test
