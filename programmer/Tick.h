#pragma once
// The 10 ms clock of the unit operations.
#include "programmer/UnitSessions.h"

namespace qx {

// One tick: for every busy unit, creep its gauge when it runs by time, count its time-out
// down and end its step as failed when it reaches zero.
void TickUnits(UnitSessions& s);

}  // namespace qx
