#pragma once
// Per-unit state of the receive routing: while a reply handler of the unit is running (it
// may wait in a modal question that keeps serving port events), bytes that arrive for the
// same unit are held here and routed after the handler returns.
#include <array>

#include "base/Types.h"
#include "programmer/WireBuffers.h"

namespace qx {

struct ReceiveHold {
  u8 Routing = 0;
  u16 HeldCount = 0;
  // Bytes that came while the hold was full, not yet reported in the log.
  u32 Dropped = 0;
  std::array<u8, RxBufferSize> Held{};
};

}  // namespace qx
