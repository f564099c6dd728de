#pragma once
// Line errors and modem-line changes, from the driver's interrupt counters where it keeps
// them (real UARTs and most USB adapters; not pseudo-terminals).
#include <optional>

#include "base/Types.h"

namespace qx {

struct LineCounters {
  u32 frame = 0;
  u32 overrun = 0;
  u32 parity = 0;
  u32 brk = 0;
  u32 bufOverrun = 0;
  u32 dcd = 0;
  u32 rng = 0;
};

struct LineEventReport {
  u32 errorFlags = 0;  // as OnReceiveError gives them
  u32 modemBits = 0;   // as OnModemStateChange gives them
};

inline constexpr u32 kCommErrRxOver = 0x01;
inline constexpr u32 kCommErrOverrun = 0x02;
inline constexpr u32 kCommErrParity = 0x04;
inline constexpr u32 kCommErrFrame = 0x08;
inline constexpr u32 kCommErrBreak = 0x10;
inline constexpr u32 kModemRing = 4;
inline constexpr u32 kModemCarrier = 8;

LineEventReport CompareLineCounters(const LineCounters& before, const LineCounters& after);
std::optional<LineCounters> ReadLineCounters(int fd);

}  // namespace qx
