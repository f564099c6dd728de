// The real program (window, station, forms, controller) under the offscreen platform with
// ten simulated units answering at the line rate: start-up links them through the window's
// own timers, then each unit downloads 1 MiB of main flash with the window as the operator
// (its gauges, log memo and timers running as in production). The simulator runs as a
// child process (the unitsim executable with --pace), so this process's CPU time is the
// program's own, window included. Prints figures only.
//
// usage: bench_window [UNITS] [--unitsim PATH]
//   UNITS: 1..10 (default 10); the simulator defaults to ../unitsim/unitsim beside this
//   program.
#include <stdlib.h>
#include <sys/resource.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProgressBar>
#include <QTimer>
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>

#include "tests/bench/BenchUsage.h"
#include "app/Station.h"
#include "app/ui/MainFrame.h"
#include "app/ui/Program.h"
#include "programmer/DownloadChain.h"
#include "programmer/FirmwareFile.h"
#include "serial/ui/QtEventPoster.h"
#include "tests/bench/BenchJob.h"
#include "tests/bench/BenchProcess.h"
#include "tests/bench/TurnRoundClock.h"
#include "tests/unitsim/SimFiles.h"
#include "tests/support/StationProbe.h"

using namespace std::chrono;
using qx::u8;

namespace {

using qx::bench::kDownloadSize;
using qx::bench::kLineRate;
constexpr double kGoalSharePercent = 97.5;   // of the line rate, per unit
constexpr double kGoalPointsUnderLimit = 0.5;  // under the stop-and-wait limit of the wire
constexpr double kGoalTurnRoundMedianMs = 0.1;
constexpr double kGoalTurnRoundP99Ms = 1.0;
constexpr double kGoalCpuPercent = 4.0;

// Runs Qt's loop (the window's timers and the ports' events with it) until done or the
// time is up; done is looked at every 20 ms.
bool ServeUntil(const std::function<bool()>& done, int milliseconds) {
  if (done()) return true;
  QElapsedTimer clock;
  clock.start();
  QEventLoop loop;
  QTimer look;
  look.setInterval(20);
  QObject::connect(&look, &QTimer::timeout, &loop, [&] {
    if (done() || clock.elapsed() >= milliseconds) loop.quit();
  });
  look.start();
  loop.exec();
  return done();
}

// Counts the paint events of the widgets it watches.
class PaintCounter : public QObject {
 public:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return false;
  }
  std::size_t paints = 0;
};

struct Figures {
  bool Ok = false;
  int Units = 0;
  double LinkSeconds = 0;
  double Wall = 0;
  double Slowest = 0, Fastest = 1e9;  // each unit's own download, seconds
  double Cpu = 0;                     // this process over Wall
  double SimulatorCpu = 0;
  std::size_t LogLines = 0;           // lines the download added to the memo
  std::size_t GaugeEvents = 0;        // progress events the window's gauges showed
  std::size_t GaugePaints = 0;        // paints of the gauges
  qx::bench::WireSummary Wire;        // what the units saw during the download
  std::size_t OwnCount = 0;           // the program's own turn-rounds timed
  double OwnMedian = 0, OwnP99 = 0;   // of them, seconds
};

Figures Run(const std::string& exe, int units) {
  Figures f;
  f.Units = units;
  std::array<char, 32> dirName{};
  std::snprintf(dirName.data(), dirName.size(), "/tmp/wndbench.XXXXXX");
  if (!::mkdtemp(dirName.data())) return f;
  const std::string dir = dirName.data();
  qx::sim::FirmwareFileSpec spec;  // the version the simulated units report: no upgrade
  spec.Image.assign(2048, 0);
  qx::sim::WriteBytesFile(dir + "/" + std::string(qx::FirmwareFileName), qx::sim::MakeFirmwareFile(spec));
  {
    qx::bench::SimulatorProcess sim(exe, units, dir);
    std::string line;
    for (int k = 0; k < units && sim.Running(); ++k) sim.ReadLine(line);
    if (!sim.Running()) {
      std::printf("  cannot start %s\n", exe.c_str());
      return f;
    }
    // Posts are timed on their way to the window's loop: the program's own turn-round.
    qx::QtEventPoster qtPoster;
    qx::bench::TimedPoster timed(qtPoster);
    qx::bench::TurnRoundClock ownClock(timed);
    qx::ProgramSetup setup{dir + "/"};
    setup.Poster = &timed;
    qx::Program program(std::move(setup));
    qx::TGenMFrmARM& window = program.Window();
    window.ShowMessage = [](qx::MsgKind, std::string_view text, qx::MsgButtons) {
      std::printf("  unexpected box: %.*s\n", static_cast<int>(text.size()), text.data());
      return qx::MsgAnswer::Abort;
    };
    qx::Station& station = program.Core();
    auto& s = qx::StationProbe::Sessions(station);
    const auto linkStart = steady_clock::now();
    window.show();  // the start-up; the window's Timer2 searches and links the units
    const bool linked = ServeUntil(
        [&] { return !program.Controller().Frame().Timer2().isActive() && s.LinkedCount == units; }, 15000);
    f.LinkSeconds = duration<double>(steady_clock::now() - linkStart).count();
    if (!linked || station.UnitCount() != units) {
      std::printf("  %d of %d units linked\n", s.LinkedCount, units);
      return f;
    }
    qx::bench::PrepareChip(qx::StationProbe::Model(station));

    // Each unit's end: the reply that leaves it idle. The window's own routing stays in place.
    std::array<steady_clock::time_point, qx::UnitMax> endOf{};
    bool measuring = false;
    for (u8 k = 0; k < units; ++k) {
      qx::TComm& comm = qx::StationProbe::Comm(station, k);
      auto route = comm.OnReceiveData;
      comm.OnReceiveData = [&, k, route](qx::TComm& c, std::span<const u8> data) {
        route(c, data);
        if (measuring && !s.Unit[k].Busy && endOf[k] == steady_clock::time_point{}) endOf[k] = steady_clock::now();
      };
      ownClock.Attach(comm, k, qx::StationProbe::Wire(station).Units[k]);
    }
    std::size_t gaugeEvents = 0;
    const int gaugeCount = 10;
    std::array<QMetaObject::Connection, 10> gaugeWatch;
    PaintCounter gaugePaints;
    for (int k = 0; k < gaugeCount; ++k) {
      auto* bar = window.findChild<QProgressBar*>(QStringLiteral("Gauge%1").arg(k + 1));
      if (bar == nullptr) continue;
      gaugeWatch[static_cast<std::size_t>(k)] =
          QObject::connect(bar, &QProgressBar::valueChanged, [&gaugeEvents] { ++gaugeEvents; });
      bar->installEventFilter(&gaugePaints);
    }
    const std::size_t lines0 = station.Log().Lines().size();

    const double cpu0 = qx::bench::CpuOf(RUSAGE_SELF);
    const double simCpu0 = qx::bench::CpuOfPid(sim.Pid());
    sim.MarkWire();
    ServeUntil([] { return false; }, 100);  // the mark lands before the first request
    measuring = true;
    ownClock.Start();
    const auto t0 = steady_clock::now();
    station.StartWritingCommand(qx::StartDownloadChipData, qx::AutoChainRule::Keep);
    ServeUntil([&] { return station.BusyUnits().none(); }, 120000);
    const auto t1 = steady_clock::now();
    measuring = false;
    ownClock.Stop();
    f.OwnCount = ownClock.Count();
    f.OwnMedian = ownClock.Percentile(0.5);
    f.OwnP99 = ownClock.Percentile(0.99);
    f.Cpu = qx::bench::CpuOf(RUSAGE_SELF) - cpu0;
    f.SimulatorCpu = qx::bench::CpuOfPid(sim.Pid()) - simCpu0;
    f.Wall = duration<double>(t1 - t0).count();
    for (u8 k = 0; k < units; ++k) {
      if (endOf[k] == steady_clock::time_point{}) continue;
      const double own = duration<double>(endOf[k] - t0).count();
      f.Slowest = std::max(f.Slowest, own);
      f.Fastest = std::min(f.Fastest, own);
    }
    f.LogLines = station.Log().Lines().size() - lines0;
    f.GaugeEvents = gaugeEvents;
    f.GaugePaints = gaugePaints.paints;
    for (auto& c : gaugeWatch) QObject::disconnect(c);
    f.Ok = s.DownloadOkCount == units;
    if (!f.Ok) {
      for (const auto& l : station.Log().Lines()) std::printf("  log: %s\n", l.c_str());
    }
    // The units' own programming runs report in before the ports close.
    ServeUntil([] { return false; }, 1000);
    station.CloseAllPorts();
    f.Wire = qx::bench::FindWireSummary(sim.Stop());
  }
  std::filesystem::remove_all(dir);
  return f;
}

void Print(const Figures& f) {
  const double slowest = kDownloadSize / f.Slowest;
  const double fastest = kDownloadSize / f.Fastest;
  const double cpuPercent = 100.0 * f.Cpu / f.Wall;
  std::printf("%d unit%s, 1 MiB main flash each, the window as the operator: %s\n", f.Units,
              f.Units == 1 ? "" : "s", f.Ok ? "all succeeded" : "FAILED");
  std::printf("  start-up to every unit linked (the window's timers, the designed waits): %.2f s\n", f.LinkSeconds);
  std::printf("  wall %.2f s (start to the last unit's end)\n", f.Wall);
  std::printf("  the window meanwhile: %zu gauge value changes, %zu gauge paints, %zu log lines\n", f.GaugeEvents,
              f.GaugePaints, f.LogLines);
  std::printf("  process CPU %.3f s = %.2f %% of one core; simulator CPU %.3f s\n", f.Cpu, cpuPercent, f.SimulatorCpu);
  const double share = 100.0 * slowest / kLineRate;
  std::printf("  payload per unit %.0f bytes/s = %.1f %% of the line rate (slowest unit), %.1f %% (fastest)\n", slowest,
              share, 100.0 * fastest / kLineRate);
  if (!f.Wire.Found) {
    std::printf("  the simulator gave no wire figures\n");
    return;
  }
  // Stop and wait: each block's request and reply cross the line one after the other, so
  // no program can beat the payload's share of the bytes that crossed.
  const double wire = static_cast<double>(f.Wire.In + f.Wire.Out);
  const double limit = 100.0 * f.Units * kDownloadSize / wire;
  std::printf("  wire %llu bytes to the units, %llu back: stop-and-wait limit %.1f %% of the line rate\n", f.Wire.In,
              f.Wire.Out, limit);
  const double medianMs = 1e3 * f.OwnMedian, p99Ms = 1e3 * f.OwnP99;
  std::printf("  turn-round per block: median %.3f ms, p99 %.3f ms (%zu, the program's own: from the post that carried a"
              " reply's last bytes to the next request handed to the port)\n",
              medianMs, p99Ms, f.OwnCount);
  std::printf("  at the simulator: median %.3f ms, p99 %.3f ms (%zu, its reply written to the next request read; adds"
              " the terminal's hand-overs both ways, the wake-up of the program's reader and the simulator's own)\n",
              f.Wire.MedianUs / 1000.0, f.Wire.P99Us / 1000.0, f.Wire.TurnRounds);
  std::printf("  goal: payload share >= %.1f %% of the line rate (%.1f %%): %s; within %.1f point of the stop-and-wait"
              " limit (%.1f %%, %.1f under): %s\n",
              kGoalSharePercent, share, qx::bench::Met(share >= kGoalSharePercent), kGoalPointsUnderLimit, limit,
              limit - share, qx::bench::Met(limit - share <= kGoalPointsUnderLimit));
  std::printf("  goal: the program's own turn-round median < %.1f ms (%.3f ms): %s, p99 < %.0f ms (%.3f ms): %s\n",
              kGoalTurnRoundMedianMs, medianMs, qx::bench::Met(medianMs < kGoalTurnRoundMedianMs), kGoalTurnRoundP99Ms,
              p99Ms, qx::bench::Met(p99Ms < kGoalTurnRoundP99Ms));
  std::printf("  goal: process CPU with the window < %.0f %% of one core (%.2f %%): %s\n", kGoalCpuPercent, cpuPercent,
              qx::bench::Met(cpuPercent < kGoalCpuPercent));
  std::printf("  [load average %s]\n", qx::bench::LoadAverage().c_str());
}

}  // namespace

int main(int argc, char** argv) {
  if (qx::bench::AnswerHelp(argc, argv,
                           "usage: bench_window [UNITS] [--unitsim PATH]\n"
                           "  ten paced simulated units (or UNITS, 1..10) download 1 MiB each through the window\n"))
    return 0;
  std::string exe = qx::bench::DefaultSimulatorPath();
  int units = 10;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--unitsim" && i + 1 < argc) {
      exe = argv[++i];
      continue;
    }
    char* end = nullptr;
    const long n = std::strtol(a.c_str(), &end, 10);
    if (a.empty() || *end != '\0' || n < 1 || n > static_cast<long>(qx::UnitMax)) {
      std::fprintf(stderr, "usage: bench_window [UNITS] [--unitsim PATH]\n");
      return 2;
    }
    units = static_cast<int>(n);
  }
  // The window is real but needs no screen.
  if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  std::printf("line rate %.0f bytes/s per unit (1,000,000 baud 8N2); simulator %s --pace; platform %s\n", kLineRate,
              exe.c_str(), qgetenv("QT_QPA_PLATFORM").constData());
  std::printf("goals: payload share >= %.1f %% of the line rate and within %.1f point of the stop-and-wait limit; the"
              " program's own turn-round median < %.1f ms, p99 < %.0f ms; process CPU with the window < %.0f %% of one"
              " core\n",
              kGoalSharePercent, kGoalPointsUnderLimit, kGoalTurnRoundMedianMs, kGoalTurnRoundP99Ms, kGoalCpuPercent);
  const Figures f = Run(exe, units);
  if (f.Wall > 0) Print(f);
  return f.Ok ? 0 : 1;
}
