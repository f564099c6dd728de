#include "serial/CommDevice.h"

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
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
      struct stat st {};
      if (::stat(path.c_str(), &st) != 0) return Tx(TextId::CommReasonPermission, std::string("dialout"));
      std::array<char, 4096> buf{};
      // Joining a group that may not read and write the device would not help.
      if ((st.st_mode & (S_IRGRP | S_IWGRP)) != (S_IRGRP | S_IWGRP)) {
        passwd pw{};
        passwd* owner = nullptr;
        const bool named = ::getpwuid_r(st.st_uid, &pw, buf.data(), buf.size(), &owner) == 0 && owner;
        return Tx(TextId::CommReasonOwnerOnly, named ? std::string(owner->pw_name) : std::to_string(st.st_uid));
      }
      group g{};
      group* found = nullptr;
      const bool named = ::getgrgid_r(st.st_gid, &g, buf.data(), buf.size(), &found) == 0 && found;
      return Tx(TextId::CommReasonPermission, named ? std::string(found->gr_name) : std::to_string(st.st_gid));
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
