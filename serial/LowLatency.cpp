#include "serial/LowLatency.h"

#include <linux/serial.h>
#include <sys/ioctl.h>

namespace qx {

bool RequestLowLatency(int fd) {
  serial_struct info{};
  if (::ioctl(fd, TIOCGSERIAL, &info) != 0) return false;
  if (info.flags & ASYNC_LOW_LATENCY) return true;
  info.flags |= ASYNC_LOW_LATENCY;
  if (::ioctl(fd, TIOCSSERIAL, &info) != 0) return false;
  return ::ioctl(fd, TIOCGSERIAL, &info) == 0 && (info.flags & ASYNC_LOW_LATENCY) != 0;
}

}  // namespace qx
