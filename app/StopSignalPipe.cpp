#include "app/StopSignalPipe.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace qx {
namespace {

// The pipe's write end for the handler; -1 while no instance lives.
volatile sig_atomic_t gWriteFd = -1;

extern "C" void OnStopSignal(int signo) {
  const int saved = errno;
  const int fd = gWriteFd;
  if (fd >= 0) {
    const unsigned char b = static_cast<unsigned char>(signo);
    // A full pipe already holds a stop; nothing else may be done here.
    [[maybe_unused]] const ssize_t n = ::write(fd, &b, 1);
  }
  errno = saved;
}

}  // namespace

StopSignalPipe::StopSignalPipe() {
  int fds[2] = {-1, -1};
  if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) return;
  read_.Reset(fds[0]);
  write_.Reset(fds[1]);
  gWriteFd = write_.get();
  struct sigaction sa {};
  sa.sa_handler = OnStopSignal;
  sigemptyset(&sa.sa_mask);
  sa.sa_flags = SA_RESTART;
  for (std::size_t i = 0; i < Signals.size(); ++i) ::sigaction(Signals[i], &sa, &previous_[i]);
}

StopSignalPipe::~StopSignalPipe() {
  if (!write_) return;
  for (std::size_t i = 0; i < Signals.size(); ++i) ::sigaction(Signals[i], &previous_[i], nullptr);
  gWriteFd = -1;
}

int StopSignalPipe::Take() {
  if (!read_) return 0;
  int first = 0;
  unsigned char buf[16];
  for (;;) {
    const ssize_t n = ::read(read_.get(), buf, sizeof buf);
    if (n > 0) {
      if (first == 0) first = buf[0];
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    return first;
  }
}

}  // namespace qx
