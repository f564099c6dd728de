#pragma once
// The four operations every step uses, and the unit gauge helpers. Each tells the operator
// what changed: a step began, the gauge moved, a step ended.
#include <string_view>

#include "programmer/UnitSessions.h"

namespace qx {

// "> HH:MM:SS C<k+1> : text".
void AddUnitInfoLine(UnitSessions& s, std::string_view text, u8 k);
// Arms a step: block mode 0 gauges by time, 1 by blocks of length bytes.
void BeginUnitStep(UnitSessions& s, u16 timeoutTicks, u32 length, u8 blockMode, u8 k);
// Ends the step; the operator sees code, or ResOk / StepFailedWithoutCode when none is given.
void EndUnitStep(UnitSessions& s, u8 failed, u8 k);
void EndUnitStep(UnitSessions& s, u8 failed, u8 k, u8 code);
// Ends the step (failed unless 0 or 6) and logs the code's text for the unit.
void ReportUnitResult(UnitSessions& s, u8 code, u8 k);

// A step's gauge: progress, then its maximum, running; the operator sees the step begin.
void ArmStepGauge(UnitSessions& s, u8 k, i32 progress, i32 max);
void SetGaugeProgress(UnitSessions& s, u8 k, i32 progress);
void SetGaugeMax(UnitSessions& s, u8 k, i32 max);
void SetGaugeState(UnitSessions& s, u8 k, GaugeState state);

}  // namespace qx
