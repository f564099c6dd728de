#pragma once
// Family defaults of the option image, written when a chip is selected. They replace
// whatever option data was loaded or edited before.
#include "images/ChipModel.h"

namespace qx {

// All option bytes 0x00.
void ClearOptionImage(ChipModel& model);
// All option bytes 0xFF.
void FillOptionImage(ChipModel& model);
// AutoChip: all 0xFF; below subtype 16 read protection off (0xAC with its complement 0x53).
void InitOptionAC78x(ChipModel& model);
// LCM: value/complement pairs: USER 0xFB, DATA0..2 and WRP 0xFF, twelve read-protection
// pairs 00 FF; the first 256 bytes are mirrored at 256.
void InitOptionLcmp(ChipModel& model);

}  // namespace qx
