#include "programmer/UnitStepFramework.h"

#include <string>

#include "programmer/ResultCode.h"
#include "texts/Texts.h"

namespace qx {
namespace {

// The window's bar keeps its position within its range; so does the model of it.
void ClampedProgress(UnitGauge& g, i32 progress) {
  if (progress < 0) progress = 0;
  if (progress > g.Max) progress = g.Max;
  g.Progress = progress;
}

void ClampedMax(UnitGauge& g, i32 max) {
  if (max < 0) max = 0;
  g.Max = max;
  if (g.Progress > max) g.Progress = max;
}

}  // namespace

void AddUnitInfoLine(UnitSessions& s, u8 k, std::string_view text) {
  std::string line = "> " + s.Log.TimeOfDay() + Tx(TextId::UnitLineTag, k + 1);
  line += text;
  s.Log.AddLine(line);
}

void ArmStepGauge(UnitSessions& s, u8 k, i32 progress, i32 max) {
  // The progress is set before the maximum, each clamped to the range it meets.
  auto& g = s.Unit[k].Gauge;
  ClampedProgress(g, progress);
  ClampedMax(g, max);
  g.State = GaugeState::Running;
  s.Op.UnitStepBegan(k, s.Unit[k].StepState, g);
}

void SetGaugeProgress(UnitSessions& s, u8 k, i32 progress) {
  ClampedProgress(s.Unit[k].Gauge, progress);
  s.Op.UnitProgress(k, s.Unit[k].Gauge);
}

void SetGaugeMax(UnitSessions& s, u8 k, i32 max) {
  ClampedMax(s.Unit[k].Gauge, max);
  s.Op.UnitProgress(k, s.Unit[k].Gauge);
}

void SetGaugeState(UnitSessions& s, u8 k, GaugeState state) {
  s.Unit[k].Gauge.State = state;
  s.Op.UnitProgress(k, s.Unit[k].Gauge);
}

void SetUnitTimeout(UnitSessions& s, u8 k, u16 ticks) { s.Unit[k].TimeoutTicks = ticks; }

void BeginUnitStep(UnitSessions& s, u8 k, u16 timeoutTicks, u32 length, bool blockMode) {
  auto& u = s.Unit[k];
  u.BlockIndex = 0;
  SetUnitTimeout(s, k, timeoutTicks);
  u.Busy = 1;
  u.BlockCount = static_cast<u16>(length / 1024 + (length % 1024 != 0 ? 1 : 0));
  if (!blockMode) {
    ArmStepGauge(s, k, timeoutTicks / 100 + 10, timeoutTicks);
  } else if (length != 0) {
    ArmStepGauge(s, k, 4, u.BlockCount);
  } else {
    ArmStepGauge(s, k, 2, 4);
  }
}

void EndUnitStep(UnitSessions& s, u8 k, bool failed) {
  EndUnitStep(s, k, failed, failed ? StepFailedWithoutCode : ResOk);
}

void EndUnitStep(UnitSessions& s, u8 k, bool failed, u8 code) {
  auto& u = s.Unit[k];
  const u8 step = u.StepState;
  u.Busy = 0;
  // A failed upgrade is over for this run: the re-search of the other units need not wait
  // for it, and identification does not start it again.
  if (failed && step == StepFirmwareUpgrade && u.UpgradeBusy) {
    u.UpgradeBusy = 0;
    u.UpgradeFailed = 1;
  }
  u.Gauge.State = failed ? GaugeState::Failed : GaugeState::Ok;
  u.Gauge.Progress = u.Gauge.Max;
  u.StepState = StepIdle;
  s.Op.UnitStepEnded(k, step, code, !failed, u.Gauge);
}

void ReportUnitResult(UnitSessions& s, u8 k, u8 code) {
  EndUnitStep(s, k, !IsSuccess(code), code);
  AddUnitInfoLine(s, k, ResultText(code));
}

}  // namespace qx
