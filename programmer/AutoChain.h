#pragma once
// The automatic chain: blank check, erase when needed, program, verify, option bytes. Each
// step's handler continues it while the unit's AutoChain flag is set.
#include "programmer/UnitSessions.h"

namespace qx {

void StartAutoProgram(UnitSessions& s, u8 k);

}  // namespace qx
