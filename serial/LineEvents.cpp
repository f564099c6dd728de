#include "serial/LineEvents.h"

#include <linux/serial.h>
#include <sys/ioctl.h>

namespace qx {

LineEventReport CompareLineCounters(const LineCounters& before, const LineCounters& after) {
  LineEventReport r;
  if (after.bufOverrun != before.bufOverrun) r.errorFlags |= kCommErrRxOver;
  if (after.overrun != before.overrun) r.errorFlags |= kCommErrOverrun;
  if (after.parity != before.parity) r.errorFlags |= kCommErrParity;
  if (after.frame != before.frame) r.errorFlags |= kCommErrFrame;
  if (after.brk != before.brk) r.errorFlags |= kCommErrBreak;
  if (after.dcd != before.dcd) r.modemBits |= kModemCarrier;
  if (after.rng != before.rng) r.modemBits |= kModemRing;
  return r;
}

std::optional<LineCounters> ReadLineCounters(int fd) {
  serial_icounter_struct ic{};
  if (::ioctl(fd, TIOCGICOUNT, &ic) != 0) return std::nullopt;
  LineCounters c;
  c.frame = static_cast<u32>(ic.frame);
  c.overrun = static_cast<u32>(ic.overrun);
  c.parity = static_cast<u32>(ic.parity);
  c.brk = static_cast<u32>(ic.brk);
  c.bufOverrun = static_cast<u32>(ic.buf_overrun);
  c.dcd = static_cast<u32>(ic.dcd);
  c.rng = static_cast<u32>(ic.rng);
  return c;
}

}  // namespace qx
