#pragma once
// A station in a fresh program folder, with simulated units on pseudo-terminals named by
// its "ConfigQlt.ini", a pumped event queue, a recording operator and a sleeper that only
// records. RunUntil serves port events and the two timers faster than real time: a
// Timer1 tick per round of at most 3 ms, Timer2 on every fifth while it runs.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/Station.h"
#include "serial/PumpedEventQueue.h"
#include "tests/support/RecordingOperator.h"
#include "tests/app/SimulatedFolder.h"
#include "tests/unitsim/SimFiles.h"
#include "tests/unitsim/UnitSimulator.h"
#include "tests/support/StationProbe.h"

namespace qx::test {

class StationRig : public SimulatedFolder {
 public:
  Station& Make() {
    PortScanSource scan;
    scan.SysfsRoot = dir.File("no-sysfs");  // no adapters of the test machine
    st = std::make_unique<Station>(StationSetup{.AppDir = dir.Dir(),
                                                .Poster = queue,
                                                .Op = op,
                                                .Sleep =
                                                    [this](int ms) {
                                                      sleeps.push_back(ms);
                                                      if (onSleep) onSleep(ms);
                                                    },
                                                .Clock = [] { return std::string("12:34:56"); },
                                                .Scan = scan,
                                                .ErrorOut = [this](std::string_view line) {
                                                  errorLines.emplace_back(line);
                                                },
                                                .Guard = guard});
    return *st;
  }
  // Start-up as the window runs it, Timer2 enabled at its end.
  void StartUp(const std::vector<std::string>& args = {}) {
    st->StartUp(args);
    timer2On = true;
  }
  // Start-up, then Timer2's first tick (the device search) alone; Timer2 runs on only once
  // `answered` holds. A unit slow to answer its first probe (a loaded machine) would
  // otherwise meet a re-search the other units' upgrades ask for.
  bool StartUpAndSearchUntil(const std::function<bool()>& answered) {
    st->StartUp({});
    st->Timer2Timer();
    const bool ok = RunUntil(answered);
    timer2On = true;
    return ok;
  }
  // The rounds bound a run that never gets done; a loaded machine needs many more of them.
  bool RunUntil(const std::function<bool()>& done, int maxRounds = 20000) {
    for (int r = 0; r < maxRounds && !done(); ++r) {
      if (queue.PumpUntil(done, std::chrono::milliseconds(3))) break;
      st->Timer1Timer();
      if (timer2On && ++rounds % 5 == 0 && st->Timer2Timer()) timer2On = false;
    }
    return done();
  }
  // Linking may include upgrades and a re-search: more rounds, for a loaded sanitizer run.
  bool Linked(u8 count) {
    return RunUntil([&] { return !timer2On && st->LinkedCount() == count; }, 20000);
  }
  UnitSession& U(u8 k) { return StationProbe::Sessions(*st).Unit[k]; }
  // The log lines without their "> 12:34:56 " stamp (unit lines keep their tag).
  std::vector<std::string> Texts() const {
    std::vector<std::string> out;
    for (const auto& l : op.logLines) out.push_back(l.rfind("> 12:34:56 ", 0) == 0 ? l.substr(11) : l);
    return out;
  }

  PumpedEventQueue queue;
  RecordingOperator op;
  std::vector<int> sleeps;
  std::vector<std::string> errorLines;  // what an unattended run wrote to the standard error
  std::function<void(int)> onSleep;  // sees the station as it is when it waits
  PortEventGuard* guard = nullptr;    // the owner's guard around each port event
  std::unique_ptr<Station> st;  // destroyed first: its ports close before the units go
  bool timer2On = false;
  int rounds = 0;
};

}  // namespace qx::test
