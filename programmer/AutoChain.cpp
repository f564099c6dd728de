#include "programmer/AutoChain.h"

#include "programmer/CommandCodes.h"
#include "programmer/UnitStepFramework.h"
#include "programmer/UnitStepTarget.h"
#include "texts/Texts.h"

namespace qx {

void StartAutoProgram(UnitSessions& s, u8 k) {
  OpenStep(s, k,
           {.Step = StepBlankCheck,
            .Text = Text(TextId::AutoProgramStart),
            .Length = s.Model.Params.DownloadSize,
            .GaugeRun = true});
  if (RefuseWithoutDriver(s, k)) return;
  SendChipCommand(UnitTarget(s, k), CmdChipOperation, OpBlankCheck);
}

}  // namespace qx
