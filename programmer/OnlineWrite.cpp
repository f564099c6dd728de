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

}  // namespace

void StartBlankCheck(UnitSessions& s, u8 k) {
  OpenStep(s, k, StepBlankCheck, 1, Text(TextId::BlankCheckStart), 500, s.Model.Params.DownloadSize, 0);
  if (RefuseWithoutDriver(s, k)) return;
  SendChipCommand(UnitTarget(s, k), CmdChipOperation, OpBlankCheck);
}

void HandleBlankCheckResult(UnitSessions& s, u8 code, u8 k) {
  const bool chain = s.Unit[k].AutoChain != 0;
  if (IsSuccess(code)) {
    AddUnitInfoLine(s, Text(TextId::ChipIsBlank), k);
    if (chain) {
      StartProgramMain(s, k);
    } else {
      EndUnitStep(s, 0, k);
    }
  } else if (code == ResCommandFailed) {
    if (chain) return StartErase(s, Text(TextId::EraseNotBlank), k);
    AddUnitInfoLine(s, Text(TextId::ChipNotBlank), k);
    EndUnitStep(s, 1, k, code);
  } else if (code == ResWriteProtected || code == ResReadProtected || code == ResProtected) {
    if (chain) return StartErase(s, Text(TextId::EraseProtected), k);
    AddUnitInfoLine(s, Text(TextId::ChipReadProtected), k);
    ReportUnitResult(s, code, k);
  } else {
    ReportUnitResult(s, code, k);
  }
}

void StartErase(UnitSessions& s, std::string_view text, u8 k) {
  OpenStep(s, k, StepErase, 1, text, 2000, s.Model.Params.DownloadSize, 0);
  if (RefuseWithoutDriver(s, k)) return;
  SendChipCommand(UnitTarget(s, k), CmdChipOperation, OpErase);
}

void HandleEraseResult(UnitSessions& s, u8 code, u8 k) {
  if (!IsSuccess(code)) return ReportUnitResult(s, code, k);
  AddUnitInfoLine(s, Text(TextId::ChipErased), k);
  if (s.Unit[k].AutoChain) {
    StartProgramMain(s, k);
  } else {
    EndUnitStep(s, 0, k);
  }
}

void StartProgramMain(UnitSessions& s, u8 k) {
  OpenStep(s, k, StepProgramMain, 0, Text(TextId::ProgramMainStart), 500, s.Model.Params.DownloadSize, 1);
  if (RefuseWithoutDriver(s, k)) return;
  SendProgramMainBlockCmd(UnitTarget(s, k), s.Unit[k].BlockIndex, MainOffset(s));
}

void HandleProgramMainResult(UnitSessions& s, u8 code, u8 k) {
  if (!IsSuccess(code)) return ReportUnitResult(s, code, k);
  AdvanceBlockGauge(s, k, 1);
  auto& u = s.Unit[k];
  if (u.BlockIndex < u.BlockCount) {
    SendProgramMainBlockCmd(UnitTarget(s, k), u.BlockIndex, MainOffset(s));
  } else if (s.Model.ProgramEep) {
    StartProgramEep(s, k);
  } else {
    FinishProgramMain(s, k);
  }
}

void FinishProgramMain(UnitSessions& s, u8 k) {
  AddUnitInfoLine(s, Text(TextId::ProgramMainSuccess), k);
  if (s.Unit[k].AutoChain) {
    StartVerifyMain(s, k);
  } else {
    EndUnitStep(s, 0, k);
  }
}

void StartProgramEep(UnitSessions& s, u8 k) {
  OpenStep(s, k, StepProgramEep, 0, Text(TextId::ProgramEepStart), 500, s.Model.Params.EepSize, 1);
  if (RefuseWithoutDriver(s, k)) return;
  SendProgramEepBlockCmd(UnitTarget(s, k), s.Unit[k].BlockIndex, 0);
}

void HandleProgramEepResult(UnitSessions& s, u8 code, u8 k) {
  if (!IsSuccess(code)) return ReportUnitResult(s, code, k);
  AdvanceBlockGauge(s, k, 1);
  auto& u = s.Unit[k];
  if (u.BlockIndex < u.BlockCount) return (void)SendProgramEepBlockCmd(UnitTarget(s, k), u.BlockIndex, 0);
  AddUnitInfoLine(s, Text(TextId::ProgramEepSuccess), k);
  if (u.AutoChain) {
    StartVerifyMain(s, k);
  } else {
    EndUnitStep(s, 0, k);
  }
}

void StartWriteOption(UnitSessions& s, u8 k) {
  OpenStep(s, k, StepWriteOption, 1, Text(TextId::WriteOptionStart), 500, s.Model.Params.DownloadSize, 0);
  if (RefuseWithoutDriver(s, k)) return;
  SendWriteOptionCmd(UnitTarget(s, k));
}

void HandleWriteOptionResult(UnitSessions& s, u8 code, u8 k) {
  if (!IsSuccess(code)) return ReportUnitResult(s, code, k);
  AddUnitInfoLine(s, Text(TextId::WriteOptionSuccess), k);
  if (s.Unit[k].AutoChain) s.Op.AdvanceSerialNumber(k);
  EndUnitStep(s, 0, k);
}

}  // namespace qx
