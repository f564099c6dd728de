// Round trip of a 4096-byte request and a 12-byte reply through TComm on a pseudo-terminal,
// and the CPU cost of ten ports each receiving at the real line rate, each next to the
// floor of this machine: what threads that only wait, read and answer cost here, which no
// serial component with a reader thread per port can go under. The ports hand their
// events over as the program's do: Qt's queued invocation into a running event loop, and
// the next request is written from the reply's handler. Prints figures only.
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include "tests/bench/BenchUsage.h"
#include "serial/TComm.h"
#include "serial/ui/QtEventPoster.h"
#include "tests/bench/BenchProcess.h"
#include "tests/bench/TurnRoundClock.h"

using namespace std::chrono;
using qx::u8;

namespace {

struct Pty {
  int master = -1;
  std::string slave;
  Pty() {
    master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    ::grantpt(master);
    ::unlockpt(master);
    char name[128] = {};
    ::ptsname_r(master, name, sizeof name);
    slave = name;
  }
  ~Pty() { ::close(master); }
  // The far end's side opened raw, as a reader of the floor uses it.
  int OpenSlave() const {
    const int fd = ::open(slave.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios t{};
    ::tcgetattr(fd, &t);
    ::cfmakeraw(&t);
    ::tcsetattr(fd, TCSANOW, &t);
    return fd;
  }
};

bool ReadN(int fd, std::size_t n) {
  std::array<u8, 8192> buf{};
  while (n > 0) {
    const ssize_t r = ::read(fd, buf.data(), std::min(n, buf.size()));
    if (r <= 0) return false;
    n -= static_cast<std::size_t>(r);
  }
  return true;
}

double CpuSeconds() {
  rusage u{};
  ::getrusage(RUSAGE_SELF, &u);
  return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
         static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

long ContextSwitches() {
  rusage u{};
  ::getrusage(RUSAGE_SELF, &u);
  return u.ru_nvcsw + u.ru_nivcsw;
}

double ThreadCpuSeconds() {
  timespec t{};
  ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

// The project's goals these figures feed (the program's own turn-round and the process's
// CPU with the window); the hand-over from a port's reader to the GUI thread is part of
// the first, the ports' CPU part of the second.
constexpr double kGoalTurnRoundMedianMs = 0.1;
constexpr double kGoalTurnRoundP99Ms = 1.0;
constexpr double kGoalCpuPercent = 4.0;

double Percentile(std::vector<double> v, double p) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  return v[std::min(v.size() - 1, static_cast<std::size_t>(p * static_cast<double>(v.size() - 1) + 0.5))];
}

// Runs Qt's loop until quit() or the time is up.
void RunLoop(QEventLoop& loop, std::chrono::milliseconds limit) {
  QTimer::singleShot(limit, &loop, &QEventLoop::quit);
  loop.exec();
}

void RoundTrips() {
  constexpr int kTrips = 1000;
  Pty pty;
  qx::QtEventPoster qtPoster;
  qx::bench::TimedPoster poster(qtPoster);
  qx::TComm comm(poster);
  qx::SetProgrammerLinePreset(comm);
  comm.SetCommName(pty.slave);
  const std::vector<u8> request(4096, 0x5A);
  std::vector<double> us, handOverUs;
  us.reserve(kTrips);
  std::size_t got = 0;
  auto t0 = steady_clock::now();
  QEventLoop loop;
  // As the program does: the reply's handler writes the next request.
  comm.OnReceiveData = [&](qx::TComm& c, std::span<const u8> d) {
    const auto now = steady_clock::now();
    handOverUs.push_back(duration<double, std::micro>(now - poster.PostedAt()).count());
    got += d.size();
    if (got < 12) return;
    us.push_back(duration<double, std::micro>(now - t0).count());
    if (us.size() == kTrips) {
      loop.quit();
      return;
    }
    got = 0;
    t0 = steady_clock::now();
    c.WriteData(request);
  };
  comm.OpenPort();
  std::atomic<bool> ok{true};
  std::thread unit([&] {
    const std::array<u8, 12> reply{};
    for (int i = 0; i < kTrips && ok; ++i) {
      if (!ReadN(pty.master, 4096) || ::write(pty.master, reply.data(), reply.size()) != 12) ok = false;
    }
  });
  const double cpu0 = CpuSeconds();
  t0 = steady_clock::now();
  comm.WriteData(request);
  RunLoop(loop, seconds(60));
  const double cpu = CpuSeconds() - cpu0;
  comm.ClosePort();
  unit.join();
  if (us.size() < kTrips) std::printf("round trips: only %zu of %d within the time\n", us.size(), kTrips);
  if (us.empty()) return;
  std::printf("round trip 4096 + 12 bytes over %zu trips, each written from the last reply's handler in Qt's loop:"
              " median %.1f us, 99th percentile %.1f us  [load average %s]\n",
              us.size(), Percentile(us, 0.5), Percentile(us, 0.99), qx::bench::LoadAverage().c_str());
  std::printf("  CPU per round trip (whole process, far end included): %.1f us\n", cpu * 1e6 / static_cast<double>(us.size()));
  const double medianMs = Percentile(handOverUs, 0.5) / 1000.0, p99Ms = Percentile(handOverUs, 0.99) / 1000.0;
  std::printf("  hand-over of a received chunk from the port's reader to its handler on the GUI thread, %zu chunks:"
              " median %.3f ms, p99 %.3f ms\n", handOverUs.size(), medianMs, p99Ms);
  std::printf("  goal it is part of: the program's own turn-round median < %.1f ms and p99 < %.0f ms: the hand-over alone"
              " takes %.0f %% and %.0f %% of them\n",
              kGoalTurnRoundMedianMs, kGoalTurnRoundP99Ms, 100.0 * medianMs / kGoalTurnRoundMedianMs,
              100.0 * p99Ms / kGoalTurnRoundP99Ms);
}

constexpr int kPorts = 10;
constexpr int kLoadSeconds = 3;
constexpr std::size_t kBytesPerSecond = 90909;

microseconds SlicePeriod(std::size_t sliceBytes) {
  return microseconds(static_cast<long>(1e6 * static_cast<double>(sliceBytes) / kBytesPerSecond));
}

std::vector<std::unique_ptr<Pty>> MakePtys() {
  std::vector<std::unique_ptr<Pty>> ptys;
  for (int k = 0; k < kPorts; ++k) ptys.push_back(std::make_unique<Pty>());
  return ptys;
}

// One far-end thread feeds every port a slice each period, as units at the line rate, and
// when asked drains what the ports send back.
class Feeder {
 public:
  Feeder(const std::vector<std::unique_ptr<Pty>>& ptys, std::size_t sliceBytes, bool drain)
      : thread_([this, &ptys, sliceBytes, drain] { Run(ptys, sliceBytes, drain); }) {}
  ~Feeder() { Stop(); }
  // Returns the CPU seconds its thread used.
  double Stop() {
    run_ = false;
    if (thread_.joinable()) thread_.join();
    return cpu_;
  }

 private:
  void Run(const std::vector<std::unique_ptr<Pty>>& ptys, std::size_t sliceBytes, bool drain) {
    const std::vector<u8> slice(sliceBytes, 0x33);
    std::array<u8, 8192> sink{};
    auto next = steady_clock::now();
    const double cpu0 = ThreadCpuSeconds();
    while (run_) {
      for (const auto& p : ptys) {
        (void)::write(p->master, slice.data(), slice.size());
        if (drain) {
          while (::read(p->master, sink.data(), sink.size()) > 0) {
          }
        }
      }
      next += SlicePeriod(sliceBytes);
      std::this_thread::sleep_until(next);
    }
    cpu_ = ThreadCpuSeconds() - cpu0;
  }

  std::atomic<bool> run_{true};
  double cpu_ = 0;
  std::thread thread_;  // last: it starts once the rest is in place
};

// The program's CPU of the last load, and the floor under it, in percent of one core.
struct LoadFigures {
  double Program = 0;
  double FarEnd = 0;
  double BytesPerSecond = 0;  // received by the ten ports together
  std::size_t Chunks = 0;
  double SwitchesPerChunk = 0;
};

LoadFigures LineRateLoad(std::size_t sliceBytes, bool bothWays) {
  const auto ptys = MakePtys();
  qx::QtEventPoster poster;
  std::vector<std::unique_ptr<qx::TComm>> comms;
  std::size_t chunks = 0;
  std::size_t total = 0;
  for (const auto& pty : ptys) {
    comms.push_back(std::make_unique<qx::TComm>(poster));
    qx::SetProgrammerLinePreset(*comms.back());
    comms.back()->SetCommName(pty->slave);
    comms.back()->OnReceiveData = [&](qx::TComm&, std::span<const u8> d) {
      total += d.size();
      ++chunks;
    };
    comms.back()->OpenPort();
  }
  for (const auto& p : ptys) ::fcntl(p->master, F_SETFL, O_NONBLOCK);
  Feeder feeder(ptys, sliceBytes, bothWays);
  const std::vector<u8> request(sliceBytes, 0x44);
  QEventLoop loop;
  QTimer writes;
  if (bothWays) {
    writes.setTimerType(Qt::PreciseTimer);
    writes.setInterval(duration_cast<milliseconds>(SlicePeriod(sliceBytes)));
    QObject::connect(&writes, &QTimer::timeout, &loop, [&] {
      for (auto& c : comms) c->WriteData(request);
    });
    writes.start();
  }
  const double cpu0 = CpuSeconds();
  const long switches0 = ContextSwitches();
  const auto t0 = steady_clock::now();
  RunLoop(loop, seconds(kLoadSeconds));
  const double wall = duration<double>(steady_clock::now() - t0).count();
  const double cpu = CpuSeconds() - cpu0;
  const long switches = ContextSwitches() - switches0;
  writes.stop();
  const double feederCpu = feeder.Stop();
  for (auto& c : comms) c->ClosePort();
  LoadFigures f;
  f.Program = 100.0 * (cpu - feederCpu) / wall;
  f.FarEnd = 100.0 * feederCpu / wall;
  f.BytesPerSecond = static_cast<double>(total) / wall;
  f.Chunks = chunks;
  f.SwitchesPerChunk = chunks == 0 ? 0.0 : static_cast<double>(switches) / static_cast<double>(chunks);
  return f;
}

// The floor: a thread per port that only reads it, in a blocking read (one system call a
// piece, less than any reader that also waits for a stop signal), under the same far end.
double BareReadersPercent(std::size_t sliceBytes) {
  const auto ptys = MakePtys();
  std::atomic<bool> stop{false};
  std::vector<std::thread> readers;
  for (const auto& pty : ptys) {
    readers.emplace_back([&stop, fd = pty->OpenSlave()] {
      std::array<u8, 2048> buffer{};
      while (!stop && ::read(fd, buffer.data(), buffer.size()) > 0) {
      }
      ::close(fd);
    });
  }
  for (const auto& p : ptys) ::fcntl(p->master, F_SETFL, O_NONBLOCK);
  Feeder feeder(ptys, sliceBytes, false);
  const double cpu0 = CpuSeconds();
  const auto t0 = steady_clock::now();
  std::this_thread::sleep_for(seconds(kLoadSeconds));
  const double wall = duration<double>(steady_clock::now() - t0).count();
  const double cpu = CpuSeconds() - cpu0;
  const double feederCpu = feeder.Stop();
  stop = true;
  const u8 last = 0;
  for (const auto& p : ptys) (void)::write(p->master, &last, 1);  // each blocked read returns once more
  for (auto& r : readers) r.join();
  return 100.0 * (cpu - feederCpu) / wall;
}

void PrintLoad(std::size_t sliceBytes, bool bothWays, bool withFloor) {
  const LoadFigures f = LineRateLoad(sliceBytes, bothWays);
  std::printf("ten ports at %zu bytes/s each in %s, blocks of %zu bytes: %.0f bytes/s received in all, CPU %.2f %% "
              "of one core for the program, far end %.2f %%  [load average %s]\n",
              kBytesPerSecond, bothWays ? "both directions" : "one direction", sliceBytes, f.BytesPerSecond, f.Program,
              f.FarEnd, qx::bench::LoadAverage().c_str());
  // Blocks both ways are a download's traffic; the goal is the window's during one.
  if (bothWays)
    std::printf("  goal it is part of: process CPU with the window < %.0f %% of one core during a download: the ten ports"
                " alone take %.0f %% of it\n",
                kGoalCpuPercent, 100.0 * f.Program / kGoalCpuPercent);
  std::printf("  %zu chunks delivered, %.2f context switches per chunk (the far end's included)\n", f.Chunks,
              f.SwitchesPerChunk);
  if (!withFloor) return;
  const double floor = BareReadersPercent(sliceBytes);
  std::printf("  floor of this machine: ten threads that only read their port, nothing handed over: %.2f %% of "
              "one core\n",
              floor);
}

// The far end's side of a turn-round when the answer costs nothing: a reply written, a
// thread woken on its port answers at once with a request, the reply's writer woken by the
// answer's first bytes. Spaced as a download's blocks are, so that the cores idle between.
void AnswerFloor() {
  constexpr int kTrips = 100;
  constexpr auto kSpacing = milliseconds(45);
  Pty pty;
  const int fd = pty.OpenSlave();
  std::thread answerer([fd] {
    const std::vector<u8> request(4143, 0x5A);
    std::array<u8, 2048> buffer{};
    for (int i = 0; i < kTrips; ++i) {
      pollfd p{fd, POLLIN, 0};
      if (::poll(&p, 1, 5000) <= 0 || ::read(fd, buffer.data(), buffer.size()) <= 0) return;
      for (std::size_t done = 0; done < request.size();) {
        const ssize_t n = ::write(fd, request.data() + done, request.size() - done);
        if (n <= 0) return;
        done += static_cast<std::size_t>(n);
      }
    }
  });
  const std::array<u8, 19> reply{};
  std::vector<double> us;
  for (int i = 0; i < kTrips; ++i) {
    std::this_thread::sleep_for(kSpacing);
    if (::write(pty.master, reply.data(), reply.size()) != static_cast<ssize_t>(reply.size())) break;
    const auto t0 = steady_clock::now();
    pollfd p{pty.master, POLLIN, 0};
    if (::poll(&p, 1, 5000) <= 0) break;
    us.push_back(duration<double, std::micro>(steady_clock::now() - t0).count());
    if (!ReadN(pty.master, 4143)) break;
  }
  answerer.join();
  ::close(fd);
  std::sort(us.begin(), us.end());
  if (us.empty()) return;
  std::printf("turn-round floor of this machine at the far end (reply written to the answer's first bytes, an answerer "
              "that only reads and writes, %lld ms apart): median %.3f ms, p99 %.3f ms over %zu\n",
              static_cast<long long>(kSpacing.count()), us[us.size() / 2] / 1000.0, us[us.size() * 99 / 100] / 1000.0,
              us.size());
}

}  // namespace

// usage: bench_serial_roundtrip [trips|blocks|pieces|answer]; all four without an argument.
int main(int argc, char** argv) {
  if (qx::bench::AnswerHelp(argc, argv,
                           "usage: bench_serial_roundtrip [trips|blocks|pieces|answer]\n"
                           "  one part only; all of them without an argument\n"))
    return 0;
  QCoreApplication app(argc, argv);
  const std::string only = argc > 1 ? argv[1] : "";
  std::printf("project goals these figures are part of: the program's own turn-round median < %.1f ms, p99 < %.0f ms;"
              " process CPU with the window < %.0f %% of one core\n",
              kGoalTurnRoundMedianMs, kGoalTurnRoundP99Ms, kGoalCpuPercent);
  if (only.empty() || only == "trips") RoundTrips();
  if (only.empty() || only == "blocks") PrintLoad(4096, true, false);
  // Small pieces are what USB adapters hand over while a unit reads back or verifies.
  if (only.empty() || only == "pieces") PrintLoad(91, false, true);
  if (only.empty() || only == "answer") AnswerFloor();
  return 0;
}
