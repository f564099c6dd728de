#include "programmer/Tick.h"

#include "programmer/ResultCode.h"
#include "programmer/UnitStepFramework.h"
#include "texts/Texts.h"

namespace qx {

void TickUnits(UnitSessions& s) {
  for (u8 k = 0; k < UnitMax; ++k) {
    auto& u = s.Unit[k];
    if (!u.Busy) continue;
    if (u.GaugeRun) SetGaugeProgress(s, k, u.Gauge.Progress + 1);
    if (u.TimeoutTicks > 0) --u.TimeoutTicks;
    if (u.TimeoutTicks == 0) {
      AddUnitInfoLine(s, k, Text(TextId::StepTimedOut));
      EndUnitStep(s, k, true, ResTimeout);
    }
  }
}

}  // namespace qx
