// A 1 MiB main-flash download through the real serial components to 1 and to 10 simulated
// units answering at the line rate. The simulator runs as a child process (the unitsim
// executable with --pace), so this process's own CPU time is the program's alone.
// Prints figures only.
//
// usage: bench_download [UNITS...] [PATH_TO_UNITSIM]
//   UNITS: unit counts to run, 1..10 (default 1 and 10); the simulator defaults to
//   ../unitsim/unitsim beside this program.
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
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

#include "images/ChipModel.h"
#include "base/MessageLog.h"
#include "base/Operator.h"
#include "programmer/Commands.h"
#include "programmer/DownloadChain.h"
#include "programmer/PortList.h"
#include "programmer/ProtocolState.h"
#include "programmer/RandomSource.h"
#include "programmer/TCommUnitPort.h"
#include "programmer/Tick.h"
#include "programmer/UnitSessions.h"
#include "programmer/UnitStepTarget.h"
#include "serial/PumpedEventQueue.h"
#include "serial/TComm.h"
#include "texts/Texts.h"

extern char** environ;

using namespace std::chrono;
using qx::u8;

namespace {

constexpr double kLineRate = 1'000'000.0 / 11.0;  // 8N2 at 1,000,000 baud
constexpr qx::u32 kDownloadSize = 0x100000;
constexpr double kGoalLineFraction = 0.95;
constexpr double kGoalCpuPercent = 5.0;

double Seconds(const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6; }

double CpuOf(int who) {
  rusage u{};
  ::getrusage(who, &u);
  return Seconds(u.ru_utime) + Seconds(u.ru_stime);
}

// User + system seconds of a running process, from /proc (clock-tick resolution).
double CpuOfPid(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
  std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const auto paren = all.rfind(')');
  if (paren == std::string::npos) return 0;
  std::istringstream fields(all.substr(paren + 2));
  std::string f;
  double utime = 0, stime = 0;
  // Fields from 3 (state) on; utime and stime are fields 14 and 15.
  for (int i = 3; i <= 15 && fields >> f; ++i) {
    if (i == 14) utime = std::stod(f);
    if (i == 15) stime = std::stod(f);
  }
  return (utime + stime) / static_cast<double>(::sysconf(_SC_CLK_TCK));
}

class QuietOperator : public qx::Operator {
 public:
  qx::MsgAnswer Ask(qx::MsgKind, std::string_view text, qx::MsgButtons) override {
    std::printf("  unexpected question: %.*s\n", static_cast<int>(text.size()), text.data());
    return qx::MsgAnswer::Abort;
  }
};

// The unitsim executable as a child with its standard output on a pipe.
class SimulatorProcess {
 public:
  SimulatorProcess(const std::string& exe, int units, const std::string& dir) {
    int fds[2];
    if (::pipe(fds) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    posix_spawn_file_actions_addclose(&actions, fds[1]);
    const std::string n = std::to_string(units);
    std::vector<std::string> args = {exe, "--units", n, "--dir", dir, "--pace"};
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    if (posix_spawn(&pid_, exe.c_str(), &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[1]);
    out_ = ::fdopen(fds[0], "r");
  }
  ~SimulatorProcess() {
    Stop();
    if (out_) std::fclose(out_);
  }
  SimulatorProcess(const SimulatorProcess&) = delete;
  SimulatorProcess& operator=(const SimulatorProcess&) = delete;

  bool Running() const { return pid_ > 0 && out_ != nullptr; }
  pid_t Pid() const { return pid_; }
  bool ReadLine(std::string& line) {
    std::array<char, 1024> buf{};
    if (!out_ || !std::fgets(buf.data(), static_cast<int>(buf.size()), out_)) return false;
    line = buf.data();
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    return true;
  }
  // SIGINT, then the summary lines it prints, then its exit.
  std::vector<std::string> Stop() {
    std::vector<std::string> lines;
    if (pid_ <= 0) return lines;
    ::kill(pid_, SIGINT);
    for (std::string l; ReadLine(l);) lines.push_back(l);
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
    return lines;
  }

 private:
  pid_t pid_ = -1;
  FILE* out_ = nullptr;
};

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
  std::vector<std::string> SimulatorSummary;
};

std::uint64_t BytesOfSummary(const std::string& line) {
  // "unit K: N bytes, ..."
  const auto colon = line.find(": ");
  if (line.rfind("unit ", 0) != 0 || colon == std::string::npos) return 0;
  return std::strtoull(line.c_str() + colon + 2, nullptr, 10);
}

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
      f.Ok = LinkAndDownload(dir, sim.Pid(), f);
      for (const auto& line : sim.Stop()) {
        f.WireBytes += BytesOfSummary(line);
        f.SimulatorSummary.push_back(line);
      }
    }
    f.SimulatorLifetimeCpu = CpuOf(RUSAGE_CHILDREN) - childCpu0;
    std::filesystem::remove_all(dir);
    return f;
  }

 private:
  // Serves port events and the 10 ms tick in real time, as the window's loop does.
  bool Serve(const std::function<bool()>& done, seconds limit) {
    const auto end = steady_clock::now() + limit;
    auto nextTick = steady_clock::now() + milliseconds(10);
    while (!done() && steady_clock::now() < end) {
      const auto wait = std::max(milliseconds(0), ceil<milliseconds>(nextTick - steady_clock::now()));
      queue_.PumpUntil(done, wait);
      if (steady_clock::now() >= nextTick) {
        qx::TickUnits(*s_);
        nextTick += milliseconds(10);
      }
    }
    return done();
  }

  void PrepareChip() {
    auto& m = *model_;
    auto& p = m.Params;
    m.ChipName = "BENCH1M";
    p.MainFlashStart = 0;
    p.MainFlashSize = kDownloadSize;
    p.MainFlashEnd = kDownloadSize - 1;
    p.DownloadSize = kDownloadSize;
    p.UseFlashDriver = 0;
    m.ProgramEep = 0;
    m.ChipSelected = 1;
    m.ObjectLoaded = 1;
    // Program-like data: every byte value, so that the frame escapes cost what they cost.
    std::mt19937 gen(1234);
    for (qx::u32 i = 0; i < kDownloadSize; ++i) m.MainFlashImage[i] = static_cast<u8>(gen());
  }

  bool LinkAndDownload(const std::string& dir, pid_t simPid, Figures& f) {
    model_ = std::make_unique<qx::ChipModel>();
    wire_ = std::make_unique<qx::ProtocolState>();
    s_ = std::make_unique<qx::UnitSessions>(*model_, *wire_, random_, log_, op_);
    const u8 count = qx::LoadPortList(dir + "/", list_);
    if (count != units_) {
      std::printf("  the port list has %d entries, not %d\n", count, units_);
      return false;
    }
    s_->UnitCount = count;
    router_ = std::make_unique<qx::UnitCommRouter>(*s_, list_);
    for (u8 k = 0; k < count; ++k) {
      comms_[k] = std::make_unique<qx::TComm>(queue_);
      qx::SetProgrammerLinePreset(*comms_[k]);
      comms_[k]->SetCommName(list_.Entries[k]);
      comms_[k]->OpenPort();
      router_->Bind(k, *comms_[k]);
      qx::SendDeviceProbe(qx::UnitTarget(*s_, k));
    }
    if (!Serve([&] { return s_->LinkedCount == count; }, seconds(10))) {
      std::printf("  only %d of %d units linked\n", s_->LinkedCount, count);
      return false;
    }
    PrepareChip();

    // Each unit's own end: the line its chain adds when the download succeeded.
    std::array<steady_clock::time_point, qx::UnitMax> endOf{};
    const std::string success(qx::Text(qx::TextId::DownloadSuccess));
    log_.OnLineAdded = [&](const std::string& line) {
      if (line.size() < success.size() || line.compare(line.size() - success.size(), success.size(), success) != 0)
        return;
      const auto tag = line.find(" C");
      if (tag == std::string::npos) return;
      const int k = std::atoi(line.c_str() + tag + 2) - 1;
      if (k >= 0 && k < static_cast<int>(qx::UnitMax)) endOf[static_cast<std::size_t>(k)] = steady_clock::now();
    };
    auto allIdle = [&] {
      for (u8 k = 0; k < count; ++k) {
        if (s_->Unit[k].Busy) return false;
      }
      return true;
    };

    const double cpu0 = CpuOf(RUSAGE_SELF);
    const double simCpu0 = CpuOfPid(simPid);
    const auto t0 = steady_clock::now();
    for (u8 k = 0; k < count; ++k) qx::StartDownloadChipData(*s_, k);
    Serve([&] { return s_->DownloadOkCount == count || allIdle(); }, seconds(120));
    const auto t1 = steady_clock::now();
    f.ProgramCpu = CpuOf(RUSAGE_SELF) - cpu0;
    f.SimulatorCpu = CpuOfPid(simPid) - simCpu0;
    f.Wall = duration<double>(t1 - t0).count();
    log_.OnLineAdded = nullptr;

    f.FastestUnit = 1e9;
    for (u8 k = 0; k < count; ++k) {
      if (endOf[k] == steady_clock::time_point{}) continue;
      const double own = duration<double>(endOf[k] - t0).count();
      f.SlowestUnit = std::max(f.SlowestUnit, own);
      f.FastestUnit = std::min(f.FastestUnit, own);
    }
    const bool ok = s_->DownloadOkCount == count;
    if (!ok) {
      for (const auto& line : log_.Lines()) std::printf("  log: %s\n", line.c_str());
    }
    // Let the units' own programming runs report in before the ports close.
    Serve([] { return false; }, seconds(1));
    router_.reset();
    for (auto& c : comms_) {
      if (c) c->ClosePort();
    }
    return ok;
  }

  int units_;
  std::unique_ptr<qx::ChipModel> model_;
  std::unique_ptr<qx::ProtocolState> wire_;
  qx::DefaultRandom random_{7};
  qx::MessageLog log_;
  QuietOperator op_;
  std::unique_ptr<qx::UnitSessions> s_;
  qx::PumpedEventQueue queue_;
  qx::PortList list_;
  std::array<std::unique_ptr<qx::TComm>, qx::UnitMax> comms_;
  std::unique_ptr<qx::UnitCommRouter> router_;
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
  std::printf("  program CPU %.3f s = %.2f %% of one core; simulator CPU %.3f s over the download, %.3f s over its life\n",
              f.ProgramCpu, cpuPercent, f.SimulatorCpu, f.SimulatorLifetimeCpu);
  for (const auto& line : f.SimulatorSummary) std::printf("  simulator %s\n", line.c_str());
  if (f.Units >= 10) {
    std::printf("  goal: >= %.0f %% of the line rate per unit: %s; program CPU < %.0f %% of one core: %s\n",
                100.0 * kGoalLineFraction, perUnit >= kGoalLineFraction * kLineRate ? "met" : "MISSED",
                kGoalCpuPercent, cpuPercent < kGoalCpuPercent ? "met" : "MISSED");
  }
}

std::string DefaultSimulatorPath() {
  std::error_code ec;
  const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return "unitsim";
  return (self.parent_path().parent_path() / "unitsim" / "unitsim").string();
}

}  // namespace

int main(int argc, char** argv) {
  std::string exe = DefaultSimulatorPath();
  std::vector<int> counts;
  for (int i = 1; i < argc; ++i) {
    const int n = std::atoi(argv[i]);
    if (n >= 1 && n <= static_cast<int>(qx::UnitMax)) {
      counts.push_back(n);
    } else {
      exe = argv[i];
    }
  }
  if (counts.empty()) counts = {1, 10};
  std::printf("line rate %.0f bytes/s per unit (1,000,000 baud 8N2); simulator %s --pace\n", kLineRate, exe.c_str());
  std::printf("goal with ten units: >= %.0f %% of the line rate per unit, program CPU < %.0f %% of one core\n\n",
              100.0 * kGoalLineFraction, kGoalCpuPercent);
  bool ok = true;
  for (int units : counts) {
    Bench bench(units);
    const Figures f = bench.Run(exe);
    if (f.Wall > 0) Print(f);
    ok = ok && f.Ok;
  }
  return ok ? 0 : 1;
}
