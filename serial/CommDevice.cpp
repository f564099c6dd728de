#include "serial/CommDevice.h"

#include <fcntl.h>
#include <grp.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>

#include "texts/Texts.h"

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
    result.error = errno;
    return result;
  }
  if (!::isatty(fd.get())) {
    result.failure = CommOpenFailure::NotATerminal;
    result.error = errno;
    return result;
  }
  // flock holds against every opener, privileged or not; TIOCEXCL also keeps out
  // programs that do not lock.
  if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) {
    result.failure = CommOpenFailure::CannotOpen;
    result.error = errno;
    return result;
  }
  (void)::ioctl(fd.get(), TIOCEXCL);
  result.fd = std::move(fd);
  return result;
}

std::string CommOpenReason(int error, const std::string& path) {
  switch (error) {
    case ENOENT:
    case ENODEV:
    case ENXIO: return std::string(Text(TextId::CommReasonNotFound));
    case EACCES:
    case EPERM: {
      // Debian gives serial ports to "dialout"; the device's own group says it exactly.
      std::string groupName = "dialout";
      struct stat st {};
      if (::stat(path.c_str(), &st) == 0) {
        group g{};
        group* found = nullptr;
        std::array<char, 4096> buf{};
        if (::getgrgid_r(st.st_gid, &g, buf.data(), buf.size(), &found) == 0 && found) groupName = found->gr_name;
      }
      return Tx(TextId::CommReasonPermission, groupName);
    }
    case EBUSY:
    case EWOULDBLOCK: return std::string(Text(TextId::CommReasonBusy));
    default: {
      std::array<char, 256> buf{};
      return Tx(TextId::CommReasonSystem, error, std::string(::strerror_r(error, buf.data(), buf.size())));
    }
  }
}

}  // namespace qx
