#pragma once
#include "programmer/UnitSessions.h"

namespace qx {

// The start-up reset of the ten unit sessions, the run counters and the chip fields that
// the unit operations depend on.
void ResetSessionState(UnitSessions& s);

}  // namespace qx
