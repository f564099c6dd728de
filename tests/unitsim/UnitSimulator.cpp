#include "tests/unitsim/UnitSimulator.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/prctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace qx::sim {

namespace {

class Fd {
 public:
  Fd() = default;
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() { Reset(); }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int Get() const { return fd_; }
  void Reset(int fd = -1) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = fd;
  }

 private:
  int fd_ = -1;
};

using Clock = std::chrono::steady_clock;

Clock::duration WireTime(std::size_t bytes) {
  return std::chrono::duration_cast<Clock::duration>(
      std::chrono::duration<double>(static_cast<double>(bytes) / PacedBytesPerSecond));
}

bool WriteAll(int fd, std::span<const std::uint8_t> bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      if (errno == EAGAIN) {
        pollfd p{fd, POLLOUT, 0};
        ::poll(&p, 1, 100);
        continue;
      }
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

struct UnitSimulator::Runner {
  explicit Runner(UnitConfig config) : Unit(std::move(config)) {}
  ~Runner() {
    if (Thread.joinable()) Thread.join();
  }
  std::mutex Mutex;
  SimUnit Unit;
  Fd Master;
  Fd Slave;  // kept open so that the terminal lives while no client has it open
  std::string Path;
  bool HungUp = false;
  WireFigures Wire;
  std::thread Thread;
};

void UnitSimulator::OpenTerminal(Runner& r) {
  r.Path.clear();
  const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (master >= 0 && ::grantpt(master) == 0 && ::unlockpt(master) == 0) {
    std::array<char, 128> name{};
    if (::ptsname_r(master, name.data(), name.size()) == 0) r.Path = name.data();
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
    const int slave = ::open(name.data(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave >= 0) {
      termios t{};
      ::tcgetattr(slave, &t);
      ::cfmakeraw(&t);
      ::tcsetattr(slave, TCSANOW, &t);
    }
    r.Slave.Reset(slave);
  }
  r.Master.Reset(master);
}

UnitSimulator::UnitSimulator(std::vector<UnitConfig> units) {
  stopFd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  for (UnitConfig& config : units) {
    auto r = std::make_unique<Runner>(std::move(config));
    OpenTerminal(*r);
    units_.push_back(std::move(r));
  }
  for (auto& r : units_) {
    if (r->Master.Get() >= 0) r->Thread = std::thread(&UnitSimulator::Run, std::ref(*r), stopFd_);
  }
}

UnitSimulator::~UnitSimulator() {
  Stop();
  if (stopFd_ >= 0) ::close(stopFd_);
}

void UnitSimulator::Stop() {
  if (stopped_) return;
  stopped_ = true;
  const std::uint64_t one = 1;
  if (::write(stopFd_, &one, sizeof one) < 0) std::perror("unitsim");
  for (auto& r : units_) {
    if (r->Thread.joinable()) r->Thread.join();
  }
}

void UnitSimulator::Run(Runner& r, int stopFd) {
  // Paced sleeps end when the line would be free, not a timer slack later.
  (void)::prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
  std::array<std::uint8_t, 4096> buffer{};
  // The line's two directions, each busy until its last byte would have crossed. The
  // bytes of one read crossed no sooner than the read found them.
  Clock::time_point inFree{}, outFree{};
  Clock::time_point repliedAt{};
  bool replied = false;
  for (;;) {
    std::array<pollfd, 2> fds = {{{r.Master.Get(), POLLIN, 0}, {stopFd, POLLIN, 0}}};
    const int ready = ::poll(fds.data(), fds.size(), 200);
    if (ready < 0 && errno != EINTR) return;
    if (fds[1].revents & POLLIN) return;
    {
      std::lock_guard lock(r.Mutex);
      if (r.HungUp) return;
    }
    if (!(fds[0].revents & (POLLIN | POLLHUP | POLLERR))) continue;
    const ssize_t n = ::read(r.Master.Get(), buffer.data(), buffer.size());
    if (n <= 0) {
      if (n < 0 && (errno == EAGAIN || errno == EINTR)) continue;
      // EIO: no client has the slave open right now; wait for one.
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
      continue;
    }
    const auto now = Clock::now();
    bool pace = false;
    UnitOutput out;
    {
      std::lock_guard lock(r.Mutex);
      pace = r.Unit.Config().Pace;
      out = r.Unit.Receive(std::span<const std::uint8_t>(buffer.data(), static_cast<std::size_t>(n)));
      r.Wire.BytesIn += static_cast<std::uint64_t>(n);
      if (replied) r.Wire.TurnRoundUs.push_back(std::chrono::duration<double, std::micro>(now - repliedAt).count());
    }
    replied = false;
    inFree = std::max(inFree, now) + WireTime(static_cast<std::size_t>(n));
    bool written = true;
    for (const Bytes& chunk : out.Writes) {
      // A reply starts once the request is in; its last byte arrives a wire time later.
      if (pace) {
        outFree = std::max({outFree, inFree, Clock::now()}) + WireTime(chunk.size());
        std::this_thread::sleep_until(outFree);
      }
      written = WriteAll(r.Master.Get(), chunk);
      if (!written) break;
      {
        std::lock_guard lock(r.Mutex);
        r.Wire.BytesOut += chunk.size();
      }
      // Separate writes reach the reader as separate chunks.
      if (out.Writes.size() > 1) std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    if (written && !out.Writes.empty()) {
      repliedAt = Clock::now();
      replied = true;
    }
    if (out.HangUp) {
      std::lock_guard lock(r.Mutex);
      r.HungUp = true;
      r.Master.Reset();
      r.Slave.Reset();
      return;
    }
  }
}

WireFigures UnitSimulator::Wire(std::size_t k) const {
  std::lock_guard lock(units_[k]->Mutex);
  return units_[k]->Wire;
}

void UnitSimulator::MarkWire() {
  for (auto& r : units_) {
    std::lock_guard lock(r->Mutex);
    r->Wire = WireFigures{};
  }
}

std::string UnitSimulator::Path(std::size_t k) const { return k < units_.size() ? units_[k]->Path : std::string(); }

UnitStats UnitSimulator::Stats(std::size_t k) const {
  std::lock_guard lock(units_[k]->Mutex);
  return units_[k]->Unit.Stats();
}

std::string UnitSimulator::IdText(std::size_t k) const {
  std::lock_guard lock(units_[k]->Mutex);
  return units_[k]->Unit.IdText();
}

void UnitSimulator::SetFaults(std::size_t k, std::vector<Fault> faults) {
  std::lock_guard lock(units_[k]->Mutex);
  units_[k]->Unit.Config().Faults = std::move(faults);
}

void UnitSimulator::WithUnit(std::size_t k, const std::function<void(SimUnit&)>& f) {
  std::lock_guard lock(units_[k]->Mutex);
  f(units_[k]->Unit);
}

void UnitSimulator::HangUp(std::size_t k) {
  Runner& r = *units_[k];
  {
    std::lock_guard lock(r.Mutex);
    r.HungUp = true;
  }
  // The thread notices within one poll period; the descriptors close when it has gone.
  if (r.Thread.joinable()) r.Thread.join();
  r.Master.Reset();
  r.Slave.Reset();
}

bool UnitSimulator::Replug(std::size_t k) {
  HangUp(k);
  Runner& r = *units_[k];
  {
    std::lock_guard lock(r.Mutex);
    r.HungUp = false;
  }
  OpenTerminal(r);
  if (r.Master.Get() < 0 || r.Path.empty()) return false;
  r.Thread = std::thread(&UnitSimulator::Run, std::ref(r), stopFd_);
  return true;
}

bool UnitSimulator::WriteConfigFile(const std::string& dir) const {
  std::ofstream out(dir + "/ConfigQlt.ini", std::ios::binary | std::ios::trunc);
  if (!out) return false;
  out << "[Connection]\r\n" << "TOTDEV=" << units_.size() << "\r\n";
  for (std::size_t k = 0; k < units_.size(); ++k) out << "DEV" << (k + 1) << "=" << units_[k]->Path << "\r\n";
  return static_cast<bool>(out);
}

std::string SummaryLine(std::size_t k, const UnitStats& s) {
  std::ostringstream line;
  line << "unit " << (k + 1) << ": " << s.BytesReceived << " bytes, " << s.Requests << " requests (" << s.Probes
       << " probes";
  for (const auto& [command, count] : s.ByCommand) {
    std::array<char, 8> hex{};
    std::snprintf(hex.data(), hex.size(), "0x%02X", command);
    line << ", " << hex.data() << " x" << count;
  }
  line << "), " << s.BadFrames << " bad";
  if (s.FirmwareBlocks) line << ", firmware blocks " << s.FirmwareBlocks << (s.FirmwareEnded ? " ended" : "");
  if (s.Restarted) line << ", restarted";
  return line.str();
}

}  // namespace qx::sim

namespace qx::sim {

std::string WireSummaryLine(std::vector<WireFigures> units) {
  std::uint64_t in = 0, out = 0;
  std::vector<double> all;
  for (const WireFigures& w : units) {
    in += w.BytesIn;
    out += w.BytesOut;
    all.insert(all.end(), w.TurnRoundUs.begin(), w.TurnRoundUs.end());
  }
  std::sort(all.begin(), all.end());
  const double median = all.empty() ? 0 : all[all.size() / 2];
  const double p99 = all.empty() ? 0 : all[std::min(all.size() - 1, all.size() * 99 / 100)];
  std::array<char, 160> line{};
  std::snprintf(line.data(), line.size(), "wire: in %llu out %llu bytes, %zu turn-rounds, median %.1f us, p99 %.1f us",
                static_cast<unsigned long long>(in), static_cast<unsigned long long>(out), all.size(), median, p99);
  return line.data();
}

}  // namespace qx::sim
