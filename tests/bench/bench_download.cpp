// A 1 MiB main-flash download through the real serial components to 1 and to 10 simulated
// units answering at the line rate. The simulator runs as a child process (the unitsim
// executable with --pace), so this process's own CPU time is the program's alone. The
// ports hand their events over as the program's do, through Qt's queued invocation into a
// running event loop, with the two timers of the window (10 and 50 ms). Prints figures
// only.
//
// usage: bench_download [UNITS...] [--unitsim PATH]
//   UNITS: unit counts to run, 1..10 (default 1 and 10); the simulator defaults to
//   ../unitsim/unitsim beside this program. The units are linked and driven through the
//   station, as the program drives them.
#include <stdlib.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "tests/bench/BenchUsage.h"
#include "app/Station.h"
#include "base/ComposedOperator.h"
#include "programmer/DownloadChain.h"
#include "programmer/FirmwareFile.h"
#include "programmer/RandomSource.h"
#include "programmer/UnitStep.h"
#include "tests/support/IgnoredViews.h"
#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include "serial/TComm.h"
#include "serial/ui/QtEventPoster.h"
#include "tests/bench/BenchJob.h"
#include "tests/bench/BenchProcess.h"
#include "tests/bench/TurnRoundClock.h"
#include "tests/unitsim/SimFiles.h"
#include "tests/support/StationProbe.h"

using namespace std::chrono;
using qx::u8;
using qx::bench::CpuOf;
using qx::bench::CpuOfPid;
using qx::bench::DefaultSimulatorPath;
using qx::bench::SimulatorProcess;

namespace {

using qx::bench::kDownloadSize;
using qx::bench::kLineRate;
constexpr double kGoalSharePercent = 97.5;   // of the line rate, per unit
constexpr double kGoalPointsUnderLimit = 0.5;  // under the stop-and-wait limit of the wire
constexpr double kGoalTurnRoundMedianMs = 0.1;
constexpr double kGoalTurnRoundP99Ms = 1.0;
constexpr double kGoalCpuPercent = 4.0;  // the process with the window (bench_window); here without

struct Figures {
  int Units = 0;
  bool Ok = false;
  double Wall = 0;                 // first start to last "download success"
  double SlowestUnit = 0;          // seconds of the slowest unit's own download
  double FastestUnit = 0;
  double ProgramCpu = 0;           // this process, over Wall
  double SimulatorCpu = 0;         // the child, over Wall
  double SimulatorLifetimeCpu = 0; // the child's whole life, from RUSAGE_CHILDREN
  std::uint64_t WireBytes = 0;     // received by all units over their whole life
  std::size_t TurnRounds = 0;      // requests that answered a reply, all units
  double TurnRoundMedian = 0;      // seconds, reply read to next request written
  double TurnRound99 = 0;
  double TurnRoundMean = 0;
  std::vector<std::string> SimulatorSummary;
  qx::bench::WireSummary Wire;     // what the units saw from the start of the download
};

std::uint64_t BytesOfSummary(const std::string& line) {
  // "unit K: N bytes, ..."
  const auto colon = line.find(": ");
  if (line.rfind("unit ", 0) != 0 || colon == std::string::npos) return 0;
  return std::strtoull(line.c_str() + colon + 2, nullptr, 10);
}

// The boxes of the benchmark: none is expected.
class BenchBoxes final : public qx::MessageBoxes {
 public:
  qx::MsgAnswer Ask(qx::MsgKind, std::string_view text, qx::MsgButtons) override {
    std::printf("  unexpected question: %.*s\n", static_cast<int>(text.size()), text.data());
    return qx::MsgAnswer::Abort;
  }
  void AskBinaryOffset() override {}
};

// The unit events the benchmark watches: each unit's good end of its download, with the time.
class DownloadEnds final : public qx::UnitEvents {
 public:
  void UnitStepBegan(u8, u8, const qx::UnitGauge&) override {}
  void UnitProgress(u8, const qx::UnitGauge&) override {}
  void UnitStepEnded(u8 unit, u8 step, u8, bool ok, const qx::UnitGauge&) override {
    if (ok && (step == qx::StepDownloadMain || step == qx::StepDownloadEep)) endOf[unit] = steady_clock::now();
  }
  void AdvanceSerialNumber(u8) override {}
  std::array<steady_clock::time_point, qx::UnitMax> endOf{};
};

class Bench {
 public:
  explicit Bench(int units) : units_(units) {}

  Figures Run(const std::string& exe) {
    Figures f;
    f.Units = units_;
    std::array<char, 32> dirName{};
    std::snprintf(dirName.data(), dirName.size(), "/tmp/dlbench.XXXXXX");
    if (!::mkdtemp(dirName.data())) return f;
    const std::string dir = dirName.data();
    const double childCpu0 = CpuOf(RUSAGE_CHILDREN);
    {
      SimulatorProcess sim(exe, units_, dir);
      if (!sim.Running()) {
        std::printf("  cannot start %s\n", exe.c_str());
        return f;
      }
      for (int k = 0; k < units_; ++k) {
        std::string line;
        if (!sim.ReadLine(line)) {
          std::printf("  the simulator printed no unit line\n");
          return f;
        }
      }
      f.Ok = LinkAndDownload(dir, sim, f);
      for (const auto& line : sim.Stop()) {
        f.WireBytes += BytesOfSummary(line);
        f.SimulatorSummary.push_back(line);
      }
      f.Wire = qx::bench::FindWireSummary(f.SimulatorSummary);
    }
    f.SimulatorLifetimeCpu = CpuOf(RUSAGE_CHILDREN) - childCpu0;
    std::filesystem::remove_all(dir);
    return f;
  }

 private:
  // Runs Qt's loop with the window's two timers until done holds or the time is up; done
  // is looked at on every tick.
  bool Serve(const std::function<bool()>& done, milliseconds limit) {
    if (done()) return true;
    QEventLoop loop;
    QTimer timer1, timer2;
    timer1.setTimerType(Qt::PreciseTimer);
    timer1.setInterval(10);
    timer2.setInterval(50);
    QObject::connect(&timer1, &QTimer::timeout, &loop, [&] {
      station_->Timer1Timer();
      if (done()) loop.quit();
    });
    QObject::connect(&timer2, &QTimer::timeout, &loop, [&] {
      if (timer2On_ && station_->Timer2Timer()) timer2On_ = false;
    });
    QTimer::singleShot(limit, &loop, &QEventLoop::quit);
    timer1.start();
    timer2.start();
    loop.exec();
    return done();
  }

  bool WriteFirmwareFile(const std::string& dir) {
    qx::sim::FirmwareFileSpec spec;  // the version the simulated units report: no upgrade
    spec.Image.assign(2048, 0);
    return qx::sim::WriteBytesFile(dir + "/" + std::string(qx::FirmwareFileName), qx::sim::MakeFirmwareFile(spec));
  }

  bool LinkAndDownload(const std::string& dir, SimulatorProcess& sim, Figures& f) {
    if (!WriteFirmwareFile(dir)) {
      std::printf("  cannot write the firmware file\n");
      return false;
    }
    station_ = std::make_unique<qx::Station>(qx::StationSetup{.AppDir = dir + "/",
                                                              .Poster = poster_,
                                                              .Op = op_,
                                                              .Random = std::make_unique<qx::DefaultRandom>(7)});
    station_->StartUp({});
    timer2On_ = true;
    const u8 count = station_->UnitCount();
    if (count != units_) {
      std::printf("  the port list has %d entries, not %d\n", count, units_);
      return false;
    }
    for (u8 k = 0; k < count; ++k)
      clock_.Attach(qx::StationProbe::Comm(*station_, k), k, qx::StationProbe::Wire(*station_).Units[k]);
    if (!Serve([&] { return !timer2On_; }, seconds(10))) {
      std::printf("  only %d of %d units linked\n", station_->LinkedCount(), count);
      return false;
    }
    qx::bench::PrepareChip(qx::StationProbe::Model(*station_));
    auto allIdle = [&] { return station_->BusyUnits().none(); };

    sim.MarkWire();
    Serve([] { return false; }, milliseconds(100));  // the mark lands before the first request
    const double cpu0 = CpuOf(RUSAGE_SELF);
    const double simCpu0 = CpuOfPid(sim.Pid());
    clock_.Start();
    const auto t0 = steady_clock::now();
    station_->StartWritingCommand(qx::StartDownloadChipData, qx::AutoChainRule::Keep);
    Serve([&] { return station_->DownloadOkCount() == count || allIdle(); }, seconds(120));
    const auto t1 = steady_clock::now();
    clock_.Stop();
    f.ProgramCpu = CpuOf(RUSAGE_SELF) - cpu0;
    f.SimulatorCpu = CpuOfPid(sim.Pid()) - simCpu0;
    f.Wall = duration<double>(t1 - t0).count();

    f.FastestUnit = 1e9;
    for (u8 k = 0; k < count; ++k) {
      if (ends_.endOf[k] == steady_clock::time_point{}) continue;
      const double own = duration<double>(ends_.endOf[k] - t0).count();
      f.SlowestUnit = std::max(f.SlowestUnit, own);
      f.FastestUnit = std::min(f.FastestUnit, own);
    }
    f.TurnRounds = clock_.Count();
    f.TurnRoundMedian = clock_.Percentile(0.5);
    f.TurnRound99 = clock_.Percentile(0.99);
    f.TurnRoundMean = clock_.Mean();
    const bool ok = station_->DownloadOkCount() == count;
    if (!ok) {
      for (const auto& line : station_->Log().Lines()) std::printf("  log: %s\n", line.c_str());
    }
    // Let the units' own programming runs report in before the ports close.
    Serve([] { return false; }, seconds(1));
    station_->CloseAllPorts();
    return ok;
  }

  int units_;
  qx::QtEventPoster queue_;
  qx::bench::TimedPoster poster_{queue_};
  qx::bench::TurnRoundClock clock_{poster_};
  BenchBoxes boxes_;
  DownloadEnds ends_;
  qx::test::IgnoredViews ignored_;
  qx::ComposedOperator op_{boxes_, ignored_.Log, ends_, ignored_.Grids, ignored_.Frame};
  std::unique_ptr<qx::Station> station_;
  bool timer2On_ = false;
};

void Print(const Figures& f) {
  const double perUnit = kDownloadSize / f.SlowestUnit;
  const double best = kDownloadSize / f.FastestUnit;
  const double cpuPercent = 100.0 * f.ProgramCpu / f.Wall;
  std::printf("%d unit%s, 1 MiB main flash each: %s\n", f.Units, f.Units == 1 ? "" : "s", f.Ok ? "all succeeded" : "FAILED");
  std::printf("  wall %.2f s (start to the last unit's success)\n", f.Wall);
  std::printf("  payload per unit %.0f bytes/s = %.1f %% of the line rate (slowest unit)", perUnit,
              100.0 * perUnit / kLineRate);
  if (f.Units > 1) std::printf(", %.1f %% (fastest)", 100.0 * best / kLineRate);
  std::printf("\n");
  std::printf("  wire bytes the units received, all steps and probes: %.0f per unit, %.1f %% above the payload\n",
              static_cast<double>(f.WireBytes) / f.Units,
              100.0 * (static_cast<double>(f.WireBytes) / f.Units / kDownloadSize - 1.0));
  // The chip-data request and 256 data packets; what is left over the wire time is the
  // replies and the turn-round of both sides.
  const double requests = 1.0 + kDownloadSize / 4096.0;
  const double wireSeconds = static_cast<double>(f.WireBytes) / f.Units / kLineRate;
  std::printf("  per request %.2f ms, of which %.2f ms request bytes on the line and %.3f ms reply and turn-round\n",
              1e3 * f.SlowestUnit / requests, 1e3 * wireSeconds / requests,
              1e3 * (f.SlowestUnit - wireSeconds) / requests);
  std::printf("  program turn-round per block (its reader had the reply to the next request written), %zu requests: median %.3f ms, "
              "99th percentile %.3f ms, mean %.3f ms\n",
              f.TurnRounds, 1e3 * f.TurnRoundMedian, 1e3 * f.TurnRound99, 1e3 * f.TurnRoundMean);
  std::printf("  left for the reply bytes on the line, the terminal's hand-overs, the wake-up of the program's"
              " reader and the simulator's own turn-round: %.3f ms per request\n",
              1e3 * ((f.SlowestUnit - wireSeconds) / requests - f.TurnRoundMean));
  std::printf("  program CPU %.3f s = %.2f %% of one core; simulator CPU %.3f s over the download, %.3f s over its life\n",
              f.ProgramCpu, cpuPercent, f.SimulatorCpu, f.SimulatorLifetimeCpu);
  for (const auto& line : f.SimulatorSummary) std::printf("  simulator %s\n", line.c_str());
  const double share = 100.0 * perUnit / kLineRate;
  double limit = 0;
  if (f.Wire.Found) {
    // Stop and wait: each block's request and reply cross the line one after the other, so
    // no program can beat the payload's share of the bytes that crossed.
    limit = 100.0 * f.Units * kDownloadSize / static_cast<double>(f.Wire.In + f.Wire.Out);
    std::printf("  wire since the download began: %llu bytes to the units, %llu back: stop-and-wait limit %.1f %% of the"
                " line rate\n",
                f.Wire.In, f.Wire.Out, limit);
  }
  std::printf("  goal: payload share >= %.1f %% of the line rate (%.1f %%): %s; within %.1f point of the stop-and-wait"
              " limit (%.1f %%, %.1f under): %s\n",
              kGoalSharePercent, share, qx::bench::Met(share >= kGoalSharePercent), kGoalPointsUnderLimit, limit,
              limit - share, qx::bench::Met(f.Wire.Found && limit - share <= kGoalPointsUnderLimit));
  std::printf("  goal: the program's own turn-round median < %.1f ms (%.3f ms): %s, p99 < %.0f ms (%.3f ms): %s\n",
              kGoalTurnRoundMedianMs, 1e3 * f.TurnRoundMedian, qx::bench::Met(1e3 * f.TurnRoundMedian < kGoalTurnRoundMedianMs),
              kGoalTurnRoundP99Ms, 1e3 * f.TurnRound99, qx::bench::Met(1e3 * f.TurnRound99 < kGoalTurnRoundP99Ms));
  std::printf("  goal: process CPU with the window < %.0f %% of one core is bench_window's; without the window here %.2f %%:"
              " %s\n",
              kGoalCpuPercent, cpuPercent, qx::bench::Met(cpuPercent < kGoalCpuPercent));
  std::printf("  [load average %s]\n", qx::bench::LoadAverage().c_str());
}

void Usage() {
  std::fprintf(stderr, "usage: bench_download [UNITS...] [--unitsim PATH]\n"
                       "  UNITS: unit counts to run, 1..10 (default 1 and 10)\n");
}

}  // namespace

int main(int argc, char** argv) {
  if (qx::bench::AnswerHelp(argc, argv,
                           "usage: bench_download [UNITS...] [--unitsim PATH]\n"
                           "  UNITS: unit counts to run, 1..10 (default 1 and 10)\n"))
    return 0;
  QCoreApplication app(argc, argv);
  std::string exe = DefaultSimulatorPath();
  std::vector<int> counts;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--unitsim" && i + 1 < argc) {
      exe = argv[++i];
      continue;
    }
    char* end = nullptr;
    const long n = std::strtol(a.c_str(), &end, 10);
    if (a.empty() || *end != '\0' || n < 1 || n > static_cast<long>(qx::UnitMax)) {
      Usage();
      return 2;
    }
    counts.push_back(static_cast<int>(n));
  }
  if (counts.empty()) counts = {1, 10};
  std::printf("line rate %.0f bytes/s per unit (1,000,000 baud 8N2); simulator %s --pace\n", kLineRate, exe.c_str());
  std::printf("goals: payload share >= %.1f %% of the line rate and within %.1f point of the stop-and-wait limit; the"
              " program's own turn-round median < %.1f ms, p99 < %.0f ms; process CPU with the window < %.0f %% of one"
              " core\n\n",
              kGoalSharePercent, kGoalPointsUnderLimit, kGoalTurnRoundMedianMs, kGoalTurnRoundP99Ms, kGoalCpuPercent);
  bool ok = true;
  for (int units : counts) {
    Bench bench(units);
    const Figures f = bench.Run(exe);
    if (f.Wall > 0) Print(f);
    ok = ok && f.Ok;
  }
  return ok ? 0 : 1;
}
