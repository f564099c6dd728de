#pragma once
// The four operations every step uses, and the unit gauge helpers. Each tells the operator
// what changed: a step began, the gauge moved, a step ended. Every helper takes the unit
// right after the sessions.
#include <string_view>

#include "programmer/UnitSessions.h"

namespace qx {

// "> HH:MM:SS C<k+1> : text".
void AddUnitInfoLine(UnitSessions& s, u8 k, std::string_view text);
// The one way a unit's time-out is set (TicksAfterCommand and its kin, UnitSession.h).
void SetUnitTimeout(UnitSessions& s, u8 k, u16 ticks);
// Arms a step: the gauge counts blocks of length bytes in block mode, else time.
void BeginUnitStep(UnitSessions& s, u8 k, u16 timeoutTicks, u32 length, bool blockMode);
// Ends the step; the operator sees code, or ResOk / StepFailedWithoutCode when none is given.
void EndUnitStep(UnitSessions& s, u8 k, bool failed);
void EndUnitStep(UnitSessions& s, u8 k, bool failed, u8 code);
// Ends the step (failed unless 0 or 6) and logs the code's text for the unit.
void ReportUnitResult(UnitSessions& s, u8 k, u8 code);

// The flags take a bool and nothing that converts to one: a unit number or a count in a
// flag's place does not compile.
template <class Flag>
void BeginUnitStep(UnitSessions&, u8, u16, u32, Flag) = delete;
template <class Flag>
void EndUnitStep(UnitSessions&, u8, Flag) = delete;
template <class Flag>
void EndUnitStep(UnitSessions&, u8, Flag, u8) = delete;

// A step's gauge: progress, then its maximum, running; the operator sees the step begin.
void ArmStepGauge(UnitSessions& s, u8 k, i32 progress, i32 max);
void SetGaugeProgress(UnitSessions& s, u8 k, i32 progress);
void SetGaugeMax(UnitSessions& s, u8 k, i32 max);
void SetGaugeState(UnitSessions& s, u8 k, GaugeState state);

}  // namespace qx
