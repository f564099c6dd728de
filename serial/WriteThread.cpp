#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <cerrno>

#include "serial/PortSession.h"

namespace qx {
namespace {

constexpr int kWriterNice = -5;

enum class WaitResult { Ready, Stop, Failed };

// Waits for the port to take more bytes, or for the stop signal.
WaitResult WaitWritable(PortShared& sh) {
  for (;;) {
    std::array<pollfd, 2> fds = {{{sh.stop.get(), POLLIN, 0}, {sh.port.get(), POLLOUT, 0}}};
    if (::poll(fds.data(), fds.size(), -1) < 0) {
      if (errno == EINTR) continue;
      return WaitResult::Failed;
    }
    if (fds[0].revents != 0) return WaitResult::Stop;
    if (fds[1].revents & POLLNVAL) return WaitResult::Stop;
    if (fds[1].revents & POLLOUT) return WaitResult::Ready;
    if (fds[1].revents & (POLLHUP | POLLERR)) return WaitResult::Failed;
  }
}

// True when every byte went out; a partial write is continued where it stopped.
bool WriteBuffer(PortShared& sh, const std::vector<u8>& block) {
  std::size_t sent = 0;
  while (sent < block.size()) {
    const ssize_t n = ::write(sh.port.get(), block.data() + sent, block.size() - sent);
    if (n > 0) {
      sent += static_cast<std::size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno == EAGAIN) {
      const WaitResult w = WaitWritable(sh);
      if (w == WaitResult::Ready) continue;
      if (w == WaitResult::Failed) sh.sink.RequestHangup();
      return false;
    }
    if (n < 0 && errno == EBADF) return false;
    sh.sink.RequestHangup();
    return false;
  }
  return true;
}

// Waits for a new request or the stop signal; false to end.
bool WaitForWork(PortShared& sh) {
  for (;;) {
    std::array<pollfd, 2> fds = {{{sh.stop.get(), POLLIN, 0}, {sh.queue.WakeFd(), POLLIN, 0}}};
    if (::poll(fds.data(), fds.size(), -1) < 0) {
      if (errno == EINTR) continue;
      sh.sink.RequestHangup();
      return false;
    }
    if (fds[0].revents != 0) return false;
    if (fds[1].revents != 0) {
      sh.queue.ClearWake();
      return true;
    }
  }
}

}  // namespace

void RunWriter(PortShared& sh) {
  RaiseThreadPriority(kWriterNice);
  bool notifyPending = true;
  for (;;) {
    auto block = sh.queue.Pop();
    if (!block) {
      // Posted only while someone listens: every block would otherwise wake the owner.
      if (notifyPending && sh.notifyEmpty.load(std::memory_order_relaxed)) sh.sink.SendDataEmpty();
      notifyPending = false;
      if (!WaitForWork(sh)) break;
      continue;
    }
    if (sh.stopping.load()) break;
    if (!WriteBuffer(sh, *block)) break;
    notifyPending = true;
  }
  sh.queue.Close();
  (void)::tcflush(sh.port.get(), TCOFLUSH);
}

}  // namespace qx
