#include "serial/CommDevice.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace qx {

std::string CommDevicePath(std::string_view commName) {
  if (commName.find('/') != std::string_view::npos) return std::string(commName);
  std::string path = "/dev/";
  path += commName;
  return path;
}

CommOpenResult OpenCommDevice(std::string_view commName) {
  CommOpenResult result;
  const std::string path = CommDevicePath(commName);
  UniqueFd fd(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
  if (!fd) {
    result.failure = CommOpenFailure::CannotOpen;
    return result;
  }
  if (!::isatty(fd.get())) {
    result.failure = CommOpenFailure::NotATerminal;
    return result;
  }
  // flock holds against every opener, privileged or not; TIOCEXCL also keeps out
  // programs that do not lock.
  if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) {
    result.failure = CommOpenFailure::CannotOpen;
    return result;
  }
  (void)::ioctl(fd.get(), TIOCEXCL);
  result.fd = std::move(fd);
  return result;
}

}  // namespace qx
