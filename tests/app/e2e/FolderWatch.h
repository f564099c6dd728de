#pragma once
// What a program does to the files of its folder, as the kernel reports it (inotify): the
// start-up's points are found by the files it opens and removes, not by waiting a while.
#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstring>
#include <string>

namespace qx::test {

class FolderWatch {
 public:
  explicit FolderWatch(const std::string& dir) : fd_(::inotify_init1(IN_CLOEXEC | IN_NONBLOCK)) {
    if (fd_ >= 0) ::inotify_add_watch(fd_, dir.c_str(), IN_OPEN | IN_DELETE);
  }
  ~FolderWatch() {
    if (fd_ >= 0) ::close(fd_);
  }
  FolderWatch(const FolderWatch&) = delete;
  FolderWatch& operator=(const FolderWatch&) = delete;

  bool Ok() const { return fd_ >= 0; }

  // Waits until name in the folder is opened (IN_OPEN) or removed (IN_DELETE), or limit
  // passes; events before it are passed over.
  bool WaitFor(const std::string& name, std::uint32_t mask, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    alignas(inotify_event) std::array<char, 4096> buf;
    for (;;) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
      if (left.count() <= 0) return false;
      pollfd p{fd_, POLLIN, 0};
      if (::poll(&p, 1, static_cast<int>(left.count())) <= 0) continue;
      const ssize_t n = ::read(fd_, buf.data(), buf.size());
      for (ssize_t at = 0; n > 0 && at < n;) {
        inotify_event e;
        std::memcpy(&e, buf.data() + at, sizeof e);
        const char* eventName = buf.data() + at + sizeof e;
        if ((e.mask & mask) != 0 && e.len > 0 && name == eventName) return true;
        at += static_cast<ssize_t>(sizeof e + e.len);
      }
    }
  }

 private:
  int fd_;
};

}  // namespace qx::test
