#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <optional>

#include "serial/LineEvents.h"
#include "serial/PortSession.h"

namespace qx {
namespace {

constexpr int kReaderNice = -10;
// Line counters are polled; the driver gives no descriptor to wait on for them.
constexpr int kLineCounterPollMs = 50;

using Clock = std::chrono::steady_clock;

// The read's own buffer goes to the owner: nothing is copied on the way.
void Deliver(PortShared& sh, std::vector<u8>& block, std::size_t count) {
  block.resize(count);
  if (sh.ignoreNull.load(std::memory_order_relaxed)) {
    block.erase(std::remove(block.begin(), block.end(), u8{0}), block.end());
    if (block.empty()) return;
  }
  sh.sink.ReceiveData(std::move(block));
}

void ReportLineEvents(PortShared& sh, std::optional<LineCounters>& last, Clock::time_point& due) {
  // Read once per period however many chunks arrive meanwhile: it is a system call.
  const auto at = Clock::now();
  if (at < due) return;
  due = at + std::chrono::milliseconds(kLineCounterPollMs);
  const auto now = ReadLineCounters(sh.port.get());
  if (!now) return;
  const LineEventReport r = CompareLineCounters(*last, *now);
  last = now;
  if (r.errorFlags != 0) sh.sink.ReceiveError(r.errorFlags);
  if (r.modemBits != 0) sh.sink.ModemStateChange(r.modemBits);
}

}  // namespace

void RunReader(PortShared& sh) {
  RaiseThreadPriority(kReaderNice);
  const int fd = sh.port.get();
  std::optional<LineCounters> counters = ReadLineCounters(fd);
  const int timeout = counters ? kLineCounterPollMs : -1;
  Clock::time_point countersDue{};
  std::vector<u8> buffer;
  for (;;) {
    std::array<pollfd, 2> fds = {{{sh.stop.get(), POLLIN, 0}, {fd, POLLIN, 0}}};
    const int ready = ::poll(fds.data(), fds.size(), timeout);
    if (ready < 0) {
      if (errno == EINTR) continue;
      sh.sink.RequestHangup();
      break;
    }
    if (fds[0].revents != 0) break;
    if (counters) ReportLineEvents(sh, counters, countersDue);
    const short events = fds[1].revents;
    if (events == 0) continue;
    if (events & POLLNVAL) break;  // the port is being closed
    // Whatever has arrived is handed over at once, so no byte waits for the read interval.
    if (buffer.size() != kReadChunkSize) buffer = sh.sink.SpareBuffer();
    const ssize_t n = ::read(fd, buffer.data(), buffer.size());
    if (n > 0) {
      Deliver(sh, buffer, static_cast<std::size_t>(n));
      continue;
    }
    if (n < 0 && (errno == EINTR || errno == EAGAIN) && !(events & (POLLHUP | POLLERR))) continue;
    // End of file on a terminal, EIO/ENXIO/ENODEV, or a hang-up without data: the device
    // is gone (an unplugged adapter looks like this).
    sh.sink.RequestHangup();
    break;
  }
  (void)::tcflush(fd, TCIFLUSH);
}

}  // namespace qx
