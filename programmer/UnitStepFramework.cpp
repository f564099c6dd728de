#include "programmer/UnitStepFramework.h"

#include <string>

#include "programmer/ResultCode.h"
#include "texts/Texts.h"

namespace qx {

void AddUnitInfoLine(UnitSessions& s, std::string_view text, u8 k) {
  std::string line = "> " + s.Log.TimeOfDay() + Tx(TextId::UnitLineTag, k + 1);
  line += text;
  s.Log.AddLine(line);
}

void SetGaugeProgress(UnitSessions& s, u8 k, i32 progress) {
  auto& g = s.Unit[k].Gauge;
  if (progress < 0) progress = 0;
  if (progress > g.Max) progress = g.Max;
  g.Progress = progress;
  s.Op.UnitGaugeChanged(k);
}

void SetGaugeMax(UnitSessions& s, u8 k, i32 max) {
  auto& g = s.Unit[k].Gauge;
  if (max < 0) max = 0;
  g.Max = max;
  if (g.Progress > max) g.Progress = max;
  s.Op.UnitGaugeChanged(k);
}

void SetGaugeState(UnitSessions& s, u8 k, GaugeState state) {
  s.Unit[k].Gauge.State = state;
  s.Op.UnitGaugeChanged(k);
}

void BeginUnitStep(UnitSessions& s, u16 timeoutTicks, u32 length, u8 blockMode, u8 k) {
  auto& u = s.Unit[k];
  u.BlockIndex = 0;
  u.TimeoutTicks = timeoutTicks;
  u.Busy = 1;
  u.BlockCount = static_cast<u16>(length / 1024 + (length % 1024 != 0 ? 1 : 0));
  if (blockMode == 0) {
    SetGaugeProgress(s, k, timeoutTicks / 100 + 10);
    SetGaugeMax(s, k, timeoutTicks);
  } else if (length != 0) {
    SetGaugeProgress(s, k, 4);
    SetGaugeMax(s, k, u.BlockCount);
  } else {
    SetGaugeProgress(s, k, 2);
    SetGaugeMax(s, k, 4);
  }
  SetGaugeState(s, k, GaugeState::Running);
}

void EndUnitStep(UnitSessions& s, u8 failed, u8 k) {
  auto& u = s.Unit[k];
  u.Busy = 0;
  SetGaugeState(s, k, failed ? GaugeState::Failed : GaugeState::Ok);
  SetGaugeProgress(s, k, u.Gauge.Max);
  u.StepState = StepIdle;
}

void ReportUnitResult(UnitSessions& s, u8 code, u8 k) {
  EndUnitStep(s, IsSuccess(code) ? 0 : 1, k);
  AddUnitInfoLine(s, ResultText(code), k);
}

}  // namespace qx
