#pragma once
// The firmware upgrade of one unit: the loaded firmware image block by block, then the end
// command. RelinkPending tells the start-up timer to search the units again afterwards.
#include "programmer/UnitSessions.h"

namespace qx {

// Nothing when no valid firmware file is loaded.
void StartFirmwareUpgrade(UnitSessions& s, u8 k);
void HandleFirmwareBlockResult(UnitSessions& s, u8 k, u8 code);

}  // namespace qx
