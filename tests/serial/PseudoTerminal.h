#pragma once
// The far end of a port under test: a pseudo-terminal whose master the test holds. The
// component opens the slave by its path. Every wait has a deadline and fails, never hangs.
#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <span>
#include <string>
#include <vector>

#include "base/Types.h"
#include "serial/UniqueFd.h"

namespace qx::test {

using namespace std::chrono_literals;

class PseudoTerminal {
 public:
  PseudoTerminal() : master_(::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC)) {
    if (!master_ || ::grantpt(master_.get()) != 0 || ::unlockpt(master_.get()) != 0) return;
    std::array<char, 128> name{};
    if (::ptsname_r(master_.get(), name.data(), name.size()) == 0) slave_ = name.data();
  }

  bool ok() const { return master_ && !slave_.empty(); }
  int master() const { return master_.get(); }
  const std::string& SlavePath() const { return slave_; }
  void CloseMaster() { master_.Reset(); }

  // All of bytes, or false at the deadline.
  bool WriteAll(std::span<const u8> bytes, std::chrono::milliseconds timeout = 10s) const {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    std::size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t n = ::write(master_.get(), bytes.data() + done, bytes.size() - done);
      if (n > 0) {
        done += static_cast<std::size_t>(n);
        continue;
      }
      if (n < 0 && errno != EAGAIN && errno != EINTR) return false;
      if (!Wait(POLLOUT, deadline)) return false;
    }
    return true;
  }

  // Exactly count bytes, or what arrived by the deadline.
  std::vector<u8> ReadExactly(std::size_t count, std::chrono::milliseconds timeout = 10s) const {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    std::vector<u8> out;
    std::array<u8, 4096> buf{};
    while (out.size() < count) {
      const std::size_t want = std::min(buf.size(), count - out.size());
      const ssize_t n = ::read(master_.get(), buf.data(), want);
      if (n > 0) {
        out.insert(out.end(), buf.begin(), buf.begin() + n);
        continue;
      }
      if (n < 0 && errno != EAGAIN && errno != EINTR) break;
      if (!Wait(POLLIN, deadline)) break;
    }
    return out;
  }

  // Whatever arrives within the window.
  std::vector<u8> ReadFor(std::chrono::milliseconds window) const {
    const auto deadline = std::chrono::steady_clock::now() + window;
    std::vector<u8> out;
    std::array<u8, 4096> buf{};
    for (;;) {
      const ssize_t n = ::read(master_.get(), buf.data(), buf.size());
      if (n > 0) {
        out.insert(out.end(), buf.begin(), buf.begin() + n);
        continue;
      }
      if (n < 0 && errno != EAGAIN && errno != EINTR) break;
      if (!Wait(POLLIN, deadline)) break;
    }
    return out;
  }

 private:
  bool Wait(short what, std::chrono::steady_clock::time_point deadline) const {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    pollfd p{master_.get(), what, 0};
    return ::poll(&p, 1, static_cast<int>(left.count())) > 0;
  }

  UniqueFd master_;
  std::string slave_;
};

// Open descriptors of this process: a failed open must leave none behind.
inline int OpenFdCount() {
  int count = 0;
  if (DIR* dir = ::opendir("/proc/self/fd")) {
    while (::readdir(dir) != nullptr) ++count;
    ::closedir(dir);
  }
  return count;
}

// A pattern in which a lost, repeated or reordered byte shows.
inline std::vector<u8> Pattern(std::size_t size, u32 seed) {
  std::vector<u8> out(size);
  u32 x = seed * 2654435761u + 1;
  for (auto& b : out) {
    x = x * 1103515245u + 12345u;
    b = static_cast<u8>(x >> 16);
  }
  return out;
}

}  // namespace qx::test
