#include "images/FileReplace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "base/Errors.h"
#include "images/RegularFile.h"
#include "texts/Texts.h"

namespace qx {
namespace {

class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  int release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
  }

 private:
  int fd_;
};

// The file a path names, through a symbolic link, so that the link itself stays.
std::string ResolvedTarget(const std::string& path) {
  std::error_code ec;
  if (!std::filesystem::is_symlink(path, ec)) return path;
  const auto target = std::filesystem::weakly_canonical(path, ec);
  return ec ? path : target.string();
}

mode_t NewFileMode(const std::string& target) {
  struct stat st {};
  if (::stat(target.c_str(), &st) == 0) return st.st_mode & 07777;
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

}  // namespace

void WriteFileReplacing(const std::string& path, std::span<const u8> bytes) {
  const std::string target = ResolvedTarget(path);
  std::string temp = target + ".XXXXXX";
  Fd fd(::mkostemp(temp.data(), O_CLOEXEC));
  if (fd.get() < 0) throw EInOutError(WithSystemReason(Tx(TextId::FileCreateError, path), errno));
  int error = 0;
  if (::fchmod(fd.get(), NewFileMode(target)) != 0 || !WriteAll(fd.get(), bytes) || ::fsync(fd.get()) != 0) error = errno;
  if (::close(fd.release()) != 0 && error == 0) error = errno;
  if (error == 0 && ::rename(temp.c_str(), target.c_str()) != 0) error = errno;
  if (error != 0) {
    ::unlink(temp.c_str());
    throw EInOutError(WithSystemReason(Tx(TextId::FileWriteError, path), error));
  }
  // The rename itself reaches the disk with the folder.
  const std::string dir = std::filesystem::path(target).parent_path().string();
  Fd dirFd(::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dirFd.get() >= 0) ::fsync(dirFd.get());
}

std::vector<u8> ReadFileBytes(const std::string& path, std::size_t maxBytes) {
  // A FIFO or device named here would hold the GUI thread in open() or read() for good.
  OpenedFile opened = OpenRegularFile(path);
  if (opened.Failure == OpenFailure::NotRegular) throw EInOutError(Tx(TextId::NotARegularFile, path));
  if (!opened.File) throw EInOutError(Tx(TextId::PrjFileOpenError, path));
  std::vector<u8> out;
  std::vector<u8> buf(65536);
  while (out.size() < maxBytes) {
    const std::size_t n = std::fread(buf.data(), 1, std::min(buf.size(), maxBytes - out.size()), opened.File.get());
    out.insert(out.end(), buf.begin(), buf.begin() + static_cast<std::ptrdiff_t>(n));
    if (n == 0 || std::feof(opened.File.get())) break;
  }
  if (std::ferror(opened.File.get())) throw EInOutError(Tx(TextId::PrjFileReadError, path));
  return out;
}

std::string WithSystemReason(std::string_view text, int error) {
  char buf[256];
  return Tx(TextId::WithSystemReason, std::string(text), std::string(::strerror_r(error, buf, sizeof buf)));
}

bool WriteAll(int fd, std::span<const u8> bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes = bytes.subspan(static_cast<std::size_t>(n));
  }
  return true;
}

}  // namespace qx
