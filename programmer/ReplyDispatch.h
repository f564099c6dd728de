#pragma once
// Every frame of a linked unit passes through here: decoded, checked, and handed to the
// progress report or to the result handler of the unit's step.
#include "programmer/UnitSessions.h"

namespace qx {

// Progress-report phases of a unit's stand-alone programming.
enum ProgressPhase : u8 {
  PhaseInitInterface = 0x10,
  PhaseBlankCheck = 0x20,
  PhaseErase = 0x30,
  PhaseProgramMain = 0x40,
  PhaseProgramEep = 0x50,
  PhaseVerifyMain = 0x70,
  PhaseVerifyEep = 0x80,
  PhaseProgramOption = 0xA0,
  PhaseCompleted = 0xF0,
};

// The frame lies in unit k's frame slot.
void DispatchReplyFrame(UnitSessions& s, u8 k, u16 frameLength);
// A frame that had come before the unit's latest request went out (a second answer to the
// request before it): it answers nothing; a progress report in it counts, and one that
// cannot be decoded ends the step as any other does.
void DispatchStaleFrame(UnitSessions& s, u8 k, u16 frameLength);
// The report lies in unit k's packet slot (at least 8 bytes).
void HandleProgressReport(UnitSessions& s, u8 k);

}  // namespace qx
