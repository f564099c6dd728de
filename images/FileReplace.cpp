#include "images/FileReplace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
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

ReplacingFile::ReplacingFile(const std::string& path)
    : path_(path), target_(ResolvedTarget(path)), temp_(target_ + ".XXXXXX") {
  fd_ = ::mkostemp(temp_.data(), O_CLOEXEC);
  if (fd_ < 0) throw EInOutError(WithSystemReason(Tx(TextId::FileCreateError, path), errno));
  if (::fchmod(fd_, NewFileMode(target_)) != 0) Fail(errno);
  buffer_.resize(PieceSize);
}

ReplacingFile::~ReplacingFile() {
  if (fd_ < 0) return;
  ::close(fd_);
  ::unlink(temp_.c_str());
}

void ReplacingFile::Fail(int error) {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  ::unlink(temp_.c_str());
  throw EInOutError(WithSystemReason(Tx(TextId::FileWriteError, path_), error));
}

void ReplacingFile::WriteOut(std::span<const u8> bytes) {
  if (!WriteAll(fd_, bytes)) Fail(errno);
}

void ReplacingFile::Append(std::span<const u8> bytes) {
  if (fd_ < 0) Fail(EBADF);  // committed or failed before: nothing more goes to that file
  if (bytes.empty()) return;
  const std::size_t room = PieceSize - used_;
  if (bytes.size() < room) {
    std::memcpy(buffer_.data() + used_, bytes.data(), bytes.size());
    used_ += bytes.size();
    return;
  }
  std::memcpy(buffer_.data() + used_, bytes.data(), room);
  WriteOut(buffer_);
  bytes = bytes.subspan(room);
  // Whole pieces of a large run go out from where they lie.
  const std::size_t whole = bytes.size() - bytes.size() % PieceSize;
  if (whole > 0) WriteOut(bytes.first(whole));
  used_ = bytes.size() - whole;
  std::memcpy(buffer_.data(), bytes.data() + whole, used_);
}

void ReplacingFile::Commit() {
  if (fd_ < 0) Fail(EBADF);
  WriteOut(std::span<const u8>(buffer_).first(used_));
  used_ = 0;
  if (::fsync(fd_) != 0) Fail(errno);
  const int fd = fd_;
  fd_ = -1;
  int error = ::close(fd) != 0 ? errno : 0;
  if (error == 0 && ::rename(temp_.c_str(), target_.c_str()) != 0) error = errno;
  if (error != 0) {
    ::unlink(temp_.c_str());
    throw EInOutError(WithSystemReason(Tx(TextId::FileWriteError, path_), error));
  }
  // The rename itself reaches the disk with the folder.
  const std::string dir = std::filesystem::path(target_).parent_path().string();
  Fd dirFd(::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dirFd.get() >= 0) ::fsync(dirFd.get());
}

void WriteFileReplacing(const std::string& path, std::span<const u8> bytes) {
  ReplacingFile file(path);
  file.Append(bytes);
  file.Commit();
}

FilePieceReader::FilePieceReader(const std::string& path, std::size_t limit) : path_(path) {
  // A FIFO or device named here would hold the GUI thread in open() or read() for good.
  OpenedFile opened = OpenRegularFile(path);
  if (opened.Failure == OpenFailure::NotRegular) throw EInOutError(Tx(TextId::NotARegularFile, path));
  if (!opened.File) throw EInOutError(Tx(TextId::PrjFileOpenError, path));
  file_ = std::move(opened.File);
  struct stat st {};
  if (::fstat(::fileno(file_.get()), &st) != 0) throw EInOutError(Tx(TextId::PrjFileReadError, path));
  size_ = std::min(static_cast<std::size_t>(std::max<off_t>(st.st_size, 0)), limit);
  buffer_.resize(std::min(size_, ReplacingFile::PieceSize));
}

std::span<const u8> FilePieceReader::Next() {
  if (read_ >= size_) return {};
  const std::size_t n = std::fread(buffer_.data(), 1, std::min(buffer_.size(), size_ - read_), file_.get());
  if (n == 0 && std::ferror(file_.get())) throw EInOutError(Tx(TextId::PrjFileReadError, path_));
  // Cut since it was opened: what is left ends here.
  if (n == 0) size_ = read_;
  read_ += n;
  return std::span<const u8>(buffer_).first(n);
}

std::vector<u8> ReadFileBytes(const std::string& path, std::size_t maxBytes) {
  FilePieceReader file(path, maxBytes);
  std::vector<u8> out;
  out.reserve(file.Size());
  for (std::span<const u8> piece = file.Next(); !piece.empty(); piece = file.Next())
    out.insert(out.end(), piece.begin(), piece.end());
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
