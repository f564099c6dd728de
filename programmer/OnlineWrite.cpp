// Blank check, erase, programming and option write.
#include "programmer/CommandCodes.h"
#include "programmer/OnlineChains.h"
#include "programmer/ResultCode.h"
#include "programmer/UnitStepFramework.h"
#include "programmer/UnitStepTarget.h"
#include "texts/Texts.h"

namespace qx {
namespace {

i32 MainOffset(const UnitSessions& s) { return static_cast<i32>(s.Model.Params.MainImageOffset); }

void SendProgramMainBlock(UnitSessions& s, u8 k) {
  SendProgramMainBlockCmd(UnitTarget(s, k), s.Unit[k].BlockIndex, MainOffset(s));
}

void SendProgramEepBlock(UnitSessions& s, u8 k) { SendProgramEepBlockCmd(UnitTarget(s, k), s.Unit[k].BlockIndex, 0); }

// A step done: the automatic chain goes on with next, a single operation ends here.
void ContinueChainOrEnd(UnitSessions& s, u8 k, void (*next)(UnitSessions&, u8)) {
  if (s.Unit[k].AutoChain) return next(s, k);
  EndUnitStep(s, k, false);
}

}  // namespace

void OpenBlankCheck(UnitSessions& s, u8 k, std::string_view text) {
  OpenStep(s, k, {.Step = StepBlankCheck, .Text = text, .Length = s.Model.Params.DownloadSize, .GaugeRun = true});
  if (RefuseWithoutDriver(s, k)) return;
  SendChipCommand(UnitTarget(s, k), CmdChipOperation, OpBlankCheck);
}

void StartBlankCheck(UnitSessions& s, u8 k) { OpenBlankCheck(s, k, Text(TextId::BlankCheckStart)); }

void HandleBlankCheckResult(UnitSessions& s, u8 k, u8 code) {
  const bool chain = s.Unit[k].AutoChain != 0;
  if (IsSuccess(code)) {
    AddUnitInfoLine(s, k, Text(TextId::ChipIsBlank));
    ContinueChainOrEnd(s, k, StartProgramMain);
  } else if (code == ResCommandFailed) {
    if (chain) return StartErase(s, k, Text(TextId::EraseNotBlank));
    AddUnitInfoLine(s, k, Text(TextId::ChipNotBlank));
    EndUnitStep(s, k, true, code);
  } else if (code == ResWriteProtected || code == ResReadProtected || code == ResProtected) {
    if (chain) return StartErase(s, k, Text(TextId::EraseProtected));
    AddUnitInfoLine(s, k, Text(TextId::ChipReadProtected));
    ReportUnitResult(s, k, code);
  } else {
    ReportUnitResult(s, k, code);
  }
}

void StartErase(UnitSessions& s, u8 k, std::string_view text) {
  OpenStep(s, k,
           {.Step = StepErase,
            .Text = text,
            .Length = s.Model.Params.DownloadSize,
            .GaugeRun = true,
            .Ticks = TicksForErase});
  if (RefuseWithoutDriver(s, k)) return;
  SendChipCommand(UnitTarget(s, k), CmdChipOperation, OpErase);
}

void HandleEraseResult(UnitSessions& s, u8 k, u8 code) {
  if (!IsSuccess(code)) return ReportUnitResult(s, k, code);
  AddUnitInfoLine(s, k, Text(TextId::ChipErased));
  ContinueChainOrEnd(s, k, StartProgramMain);
}

void StartProgramMain(UnitSessions& s, u8 k) {
  StartBlockStep(s, k, StepProgramMain, Text(TextId::ProgramMainStart), s.Model.Params.DownloadSize,
                 SendProgramMainBlock);
}

void HandleProgramMainResult(UnitSessions& s, u8 k, u8 code) {
  if (!IsSuccess(code)) return ReportUnitResult(s, k, code);
  if (!SendNextBlockOrDone(s, k, 1, SendProgramMainBlock)) return;
  if (s.Model.ProgramEep) return StartProgramEep(s, k);
  FinishProgramMain(s, k);
}

void FinishProgramMain(UnitSessions& s, u8 k) {
  AddUnitInfoLine(s, k, Text(TextId::ProgramMainSuccess));
  ContinueChainOrEnd(s, k, StartVerifyMain);
}

void StartProgramEep(UnitSessions& s, u8 k) {
  StartBlockStep(s, k, StepProgramEep, Text(TextId::ProgramEepStart), s.Model.Params.EepSize, SendProgramEepBlock);
}

void HandleProgramEepResult(UnitSessions& s, u8 k, u8 code) {
  if (!IsSuccess(code)) return ReportUnitResult(s, k, code);
  if (!SendNextBlockOrDone(s, k, 1, SendProgramEepBlock)) return;
  AddUnitInfoLine(s, k, Text(TextId::ProgramEepSuccess));
  ContinueChainOrEnd(s, k, StartVerifyMain);
}

void StartWriteOption(UnitSessions& s, u8 k) {
  OpenStep(s, k,
           {.Step = StepWriteOption,
            .Text = Text(TextId::WriteOptionStart),
            .Length = s.Model.Params.DownloadSize,
            .GaugeRun = true});
  if (RefuseWithoutDriver(s, k)) return;
  SendWriteOptionCmd(UnitTarget(s, k));
}

void HandleWriteOptionResult(UnitSessions& s, u8 k, u8 code) {
  if (!IsSuccess(code)) return ReportUnitResult(s, k, code);
  AddUnitInfoLine(s, k, Text(TextId::WriteOptionSuccess));
  if (s.Unit[k].AutoChain) s.Op.AdvanceSerialNumber(k);
  EndUnitStep(s, k, false);
}

}  // namespace qx
