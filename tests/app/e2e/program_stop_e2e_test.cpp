// The real executable stopped by SIGTERM at each point of its start-up, found by what it
// shows (its handler in place, Qt's platform plugin mapped, the files it opens and removes,
// a unit's probe), and while the start-up waits in a box: every run ends as Exit ends it,
// with 128 + 15 and a log that holds every line written so far.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/inotify.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "tests/app/e2e/FolderWatch.h"
#include "tests/app/e2e/ProgramFolder.h"

namespace qx::test {
namespace {

using namespace std::chrono_literals;

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

enum class Point {
  Handler,         // the first line of main(): the stop handler in place, nothing else built
  Application,     // the application object made: its platform plugin is loaded
  LogSettings,     // the window's first show reads the log settings
  PortList,        // ... and the port list
  OldResult,       // ... and removes the old result file
  Search,          // Timer2's first tick: a unit has its probe
};

struct Case {
  const char* name;
  Point point;
  bool firmware;  // without it the start-up waits in a box after removing the old result
};

TEST(ProgramStop, ASigtermAtAnyPointOfTheStartUpEndsAsExitWithTheLogSoFar) {
  QX_NEED_PROGRAM();
  const Case cases[] = {
      {"first line of main", Point::Handler, true},
      {"application made", Point::Application, true},
      {"log settings read", Point::LogSettings, true},
      {"port list read", Point::PortList, true},
      {"old result file removed", Point::OldResult, true},
      {"a box waits", Point::OldResult, false},
      {"device search", Point::Search, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    BatchFolder f(std::vector<sim::UnitConfig>(1));
    const std::string firmware = f.dir.File("QX740VRD.FWR");
    if (!c.firmware) std::filesystem::remove(firmware);
    f.dir.Write("GenLogX.cfg", "[ConfigLog]\r\nEnLog\r\nCustomer\r\nCusDef0\r\nSpcFile=run.log\r\n[EndCfg]\r\n");
    // A result file of an earlier run: even a run stopped at once must not leave it standing.
    f.dir.Write("ResDW.Txt", "Download Success\r\n");
    FolderWatch watch(f.dir.Dir());
    ASSERT_TRUE(watch.Ok());
    ProgramProcess program(kProgram, f.dir.Dir());
    ASSERT_TRUE(program.Start({}));
    switch (c.point) {
      case Point::Handler:
        ASSERT_TRUE(ProgramProcess::WaitClosely([&] { return program.Catches(SIGTERM) || !program.Running(); }, 60s));
        break;
      case Point::Application:
        ASSERT_TRUE(ProgramProcess::WaitClosely([&] { return program.Maps("libqoffscreen") || !program.Running(); }, 60s));
        break;
      case Point::LogSettings: ASSERT_TRUE(watch.WaitFor("GenLogX.cfg", IN_OPEN, 60s)); break;
      case Point::PortList: ASSERT_TRUE(watch.WaitFor("ConfigQlt.ini", IN_OPEN, 60s)); break;
      case Point::OldResult: ASSERT_TRUE(watch.WaitFor("ResDW.Txt", IN_DELETE, 60s)); break;
      case Point::Search:
        ASSERT_TRUE(ProgramProcess::WaitFor([&] { return f.sim->Stats(0).Probes > 0 || !program.Running(); }, 60s));
        break;
    }
    ASSERT_TRUE(program.Signal(SIGTERM)) << "the program ended before its stop: " << program.Output();
    ASSERT_TRUE(program.WaitForExit(60s)) << program.Output();
    const int status = *program.Status();
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 128 + SIGTERM);

    EXPECT_FALSE(std::filesystem::exists(f.dir.File("ResDW.Txt")));
    const std::string log = ReadText(f.dir.File("run.log"));
    EXPECT_TRUE(Has(log, "Hello NolbinGenX-KVT User! ------ \r\n")) << log;
    EXPECT_EQ(Has(log, "File \"" + firmware + "\" not found, Please confirm!\r\n"), !c.firmware) << log;
    if (c.point == Point::Search) {
      EXPECT_TRUE(Has(log, "Checking Device 1 In " + f.sim->Path(0))) << log;
    }
    if (!c.firmware) {
      EXPECT_EQ(f.sim->Stats(0).Requests, 0u) << "the search waits for the box";
    }
  }
}

}  // namespace
}  // namespace qx::test
