#pragma once
#include "programmer/UnitSessions.h"

namespace qx {

// The chip model at start-up: no chip chosen and no object loaded, no name, sizes or sums,
// and the default power and stabilising times the unit operations send.
void ForgetChipChoice(ChipModel& m);

// The start-up reset of the ten unit sessions and the run counters; the chip model is
// ForgetChipChoice's.
void ResetSessionState(UnitSessions& s);

}  // namespace qx
