#pragma once
// A disk that fills up part-way through a save: writes past limit bytes fail for as long as
// the object lives (a size limit on files of this process, its signal ignored).
#include <sys/resource.h>

#include <csignal>

namespace qx::test {

class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t limit) {
    ::getrlimit(RLIMIT_FSIZE, &saved_);
    handler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit r = saved_;
    r.rlim_cur = limit;
    ::setrlimit(RLIMIT_FSIZE, &r);
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, handler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit saved_{};
  void (*handler_)(int) = nullptr;
};

}  // namespace qx::test
