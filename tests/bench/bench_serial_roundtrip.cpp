// Round trip of a 4096-byte request and a 12-byte reply through TComm on a pseudo-terminal,
// and the CPU cost of ten ports each receiving at the real line rate. Prints figures only.
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/resource.h>
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

#include "serial/PumpedEventQueue.h"
#include "serial/TComm.h"

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

void RoundTrips() {
  constexpr int kTrips = 1000;
  Pty pty;
  qx::PumpedEventQueue queue;
  qx::TComm comm(queue);
  qx::SetProgrammerLinePreset(comm);
  comm.SetCommName(pty.slave);
  std::size_t got = 0;
  comm.OnReceiveData = [&](qx::TComm&, std::span<const u8> d) { got += d.size(); };
  comm.OpenPort();
  std::atomic<bool> ok{true};
  std::thread unit([&] {
    const std::array<u8, 12> reply{};
    for (int i = 0; i < kTrips && ok; ++i) {
      if (!ReadN(pty.master, 4096) || ::write(pty.master, reply.data(), reply.size()) != 12) ok = false;
    }
  });
  const std::vector<u8> request(4096, 0x5A);
  std::vector<double> us;
  us.reserve(kTrips);
  const double cpu0 = CpuSeconds();
  for (int i = 0; i < kTrips; ++i) {
    got = 0;
    const auto t0 = steady_clock::now();
    comm.WriteData(request);
    if (!queue.PumpUntil([&] { return got >= 12; }, seconds(5))) {
      std::printf("round trip %d timed out\n", i);
      ok = false;
      break;
    }
    us.push_back(duration<double, std::micro>(steady_clock::now() - t0).count());
  }
  const double cpu = CpuSeconds() - cpu0;
  unit.join();
  comm.ClosePort();
  std::sort(us.begin(), us.end());
  if (us.empty()) return;
  std::printf("round trip 4096 + 12 bytes over %zu trips: median %.1f us, 99th percentile %.1f us (goal: median under 1 ms)\n", us.size(),
              us[us.size() / 2], us[us.size() * 99 / 100]);
  std::printf("CPU per round trip (whole process, far end included): %.1f us\n", cpu * 1e6 / static_cast<double>(us.size()));
}

void LineRateLoad(std::size_t sliceBytes, bool bothWays, double goalPercent) {
  constexpr int kPorts = 10;
  constexpr int kSeconds = 3;
  constexpr std::size_t kBytesPerSecond = 90909;
  const auto period = microseconds(static_cast<long>(1e6 * static_cast<double>(sliceBytes) / kBytesPerSecond));
  std::vector<std::unique_ptr<Pty>> ptys;
  qx::PumpedEventQueue queue;
  std::vector<std::unique_ptr<qx::TComm>> comms;
  std::size_t total = 0;
  std::size_t chunks = 0;
  for (int k = 0; k < kPorts; ++k) {
    ptys.push_back(std::make_unique<Pty>());
    comms.push_back(std::make_unique<qx::TComm>(queue));
    qx::SetProgrammerLinePreset(*comms.back());
    comms.back()->SetCommName(ptys.back()->slave);
    comms.back()->OnReceiveData = [&](qx::TComm&, std::span<const u8> d) {
      total += d.size();
      ++chunks;
    };
    comms.back()->OpenPort();
  }
  std::atomic<bool> run{true};
  double feederCpu = 0;
  // One far-end thread feeds every port a slice each millisecond, as a unit at line rate.
  std::thread feeder([&] {
    const std::vector<u8> slice(sliceBytes, 0x33);
    std::array<u8, 8192> sink{};
    auto next = steady_clock::now();
    const double feederCpu0 = ThreadCpuSeconds();
    while (run) {
      for (auto& p : ptys) {
        (void)::write(p->master, slice.data(), slice.size());
        if (bothWays) {
          while (::read(p->master, sink.data(), sink.size()) > 0) {
          }
        }
      }
      next += period;
      std::this_thread::sleep_until(next);
    }
    feederCpu = ThreadCpuSeconds() - feederCpu0;
  });
  for (auto& p : ptys) ::fcntl(p->master, F_SETFL, O_NONBLOCK);
  const std::vector<u8> request(sliceBytes, 0x44);
  const double cpu0 = CpuSeconds();
  const long switches0 = ContextSwitches();
  const auto t0 = steady_clock::now();
  for (auto next = t0; steady_clock::now() - t0 < seconds(kSeconds); next += period) {
    if (bothWays) {
      for (auto& c : comms) c->WriteData(request);
    }
    queue.PumpUntil([] { return false; }, duration_cast<milliseconds>(next + period - steady_clock::now()));
  }
  const double wall = duration<double>(steady_clock::now() - t0).count();
  const double cpu = CpuSeconds() - cpu0;
  const long switches = ContextSwitches() - switches0;
  run = false;
  feeder.join();
  for (auto& c : comms) c->ClosePort();
  const double programPercent = 100.0 * (cpu - feederCpu) / wall;
  std::printf("ten ports at %zu bytes/s each in %s, blocks of %zu bytes: %.0f bytes/s received in all, "
              "CPU %.2f %% of one core for the program (goal: under %.0f %%: %s), far end %.2f %%\n",
              kBytesPerSecond, bothWays ? "both directions" : "one direction", sliceBytes,
              static_cast<double>(total) / wall, programPercent, goalPercent,
              programPercent < goalPercent ? "met" : "MISSED", 100.0 * feederCpu / wall);
  std::printf("  %zu chunks delivered, %.2f context switches per chunk (the far end's included)\n", chunks,
              chunks == 0 ? 0.0 : static_cast<double>(switches) / static_cast<double>(chunks));
}

}  // namespace

// usage: bench_serial_roundtrip [trips|blocks|pieces]; all three without an argument.
int main(int argc, char** argv) {
  const std::string only = argc > 1 ? argv[1] : "";
  if (only.empty() || only == "trips") RoundTrips();
  if (only.empty() || only == "blocks") LineRateLoad(4096, true, 2.0);
  // Small pieces are what USB adapters hand over while a unit reads back or verifies.
  if (only.empty() || only == "pieces") LineRateLoad(91, false, 10.0);
  return 0;
}
