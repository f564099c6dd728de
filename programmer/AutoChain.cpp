#include "programmer/AutoChain.h"

#include "programmer/CommandCodes.h"
#include "programmer/UnitStepFramework.h"
#include "programmer/UnitStepTarget.h"
#include "texts/Texts.h"

namespace qx {

void StartAutoProgram(UnitSessions& s, u8 k) {
  auto& u = s.Unit[k];
  u.StepState = StepBlankCheck;
  u.GaugeRun = 1;
  AddUnitInfoLine(s, Text(TextId::AutoProgramStart), k);
  BeginUnitStep(s, 500, s.Model.Params.DownloadSize, 0, k);
  if (RefuseWithoutDriver(s, k)) return;
  SendChipCommand(UnitTarget(s, k), CmdChipOperation, OpBlankCheck);
}

}  // namespace qx
