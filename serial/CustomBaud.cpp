#include "serial/CustomBaud.h"

#include <asm/termbits.h>
#include <sys/ioctl.h>

namespace qx {

bool SetCustomBaud(int fd, u32 rate) {
  termios2 t{};
  if (::ioctl(fd, TCGETS2, &t) != 0) return false;
  const auto speedBits = static_cast<tcflag_t>(CBAUD | (CBAUD << IBSHIFT));
  t.c_cflag &= ~speedBits;
  t.c_cflag |= static_cast<tcflag_t>(BOTHER | (BOTHER << IBSHIFT));
  t.c_ispeed = rate;
  t.c_ospeed = rate;
  return ::ioctl(fd, TCSETS2, &t) == 0;
}

std::optional<u32> ReadOutputBaud(int fd) {
  termios2 t{};
  if (::ioctl(fd, TCGETS2, &t) != 0) return std::nullopt;
  return static_cast<u32>(t.c_ospeed);
}

}  // namespace qx
