#include "images/RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "base/Errors.h"
#include "texts/Texts.h"

namespace qx {

bool NamesNonRegularFile(const std::string& fileName) {
  struct stat st {};
  return ::stat(fileName.c_str(), &st) == 0 && !S_ISREG(st.st_mode);
}

OpenedFile OpenRegularFile(const std::string& fileName) {
  OpenedFile out;
  if (NamesNonRegularFile(fileName)) {
    out.Failure = OpenFailure::NotRegular;
    return out;
  }
  // The name may change between the look and the open: open without waiting, look again.
  const int fd = ::open(fileName.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    out.Failure = OpenFailure::CannotOpen;
    return out;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    out.Failure = OpenFailure::NotRegular;
    return out;
  }
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
  std::FILE* f = ::fdopen(fd, "rb");
  if (f == nullptr) {
    ::close(fd);
    out.Failure = OpenFailure::CannotOpen;
    return out;
  }
  out.File.reset(f);
  return out;
}

StdioFile OpenRegularFileOrThrow(const std::string& fileName) {
  OpenedFile f = OpenRegularFile(fileName);
  switch (f.Failure) {
    case OpenFailure::None: break;
    case OpenFailure::CannotOpen: throw EInOutError(Tx(TextId::FileOpenError, fileName));
    case OpenFailure::NotRegular: throw EInOutError(Tx(TextId::NotARegularFile, fileName));
  }
  return std::move(f.File);
}

}  // namespace qx
