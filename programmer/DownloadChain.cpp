#include "programmer/DownloadChain.h"

#include "programmer/ResultCode.h"
#include "programmer/UnitStepFramework.h"
#include "programmer/UnitStepTarget.h"
#include "texts/Texts.h"

namespace qx {
namespace {

i32 MainOffset(const UnitSessions& s) { return static_cast<i32>(s.Model.Params.MainImageOffset); }

// Acknowledged packet: advance four blocks; true when another packet of the step follows.
bool AdvanceBlock(UnitSessions& s, u8 k) {
  auto& u = s.Unit[k];
  u.BlockIndex = static_cast<u16>(u.BlockIndex + 4);
  SetGaugeProgress(s, k, u.BlockIndex + 1);
  return u.BlockIndex < u.BlockCount;
}

}  // namespace

void StartDownloadChipData(UnitSessions& s, u8 k) {
  auto& u = s.Unit[k];
  u.StepState = StepDownloadChipData;
  u.GaugeRun = 1;
  u.DownloadDone = 0;
  AddUnitInfoLine(s, Text(TextId::DownloadChipDataStart), k);
  BeginUnitStep(s, 500, s.Model.Params.DownloadSize, 0, k);
  if (RefuseWithoutDriver(s, k)) return;
  SendChipDataCmd(UnitTarget(s, k), RandomWord(s.Random));
}

void HandleDownloadChipDataResult(UnitSessions& s, u8 code, u8 k) {
  if (!IsSuccess(code)) return ReportUnitResult(s, code, k);
  if (s.Model.Params.UseFlashDriver) {
    StartDownloadDriver(s, k);
  } else {
    StartDownloadMain(s, k);
  }
}

void StartDownloadDriver(UnitSessions& s, u8 k) {
  auto& u = s.Unit[k];
  u.StepState = StepDownloadDriver;
  u.TimeoutTicks = 500;
  u.GaugeRun = 0;
  SetGaugeProgress(s, k, 3);
  if (RefuseWithoutDriver(s, k)) return;
  SendDriverBlockCmd(UnitTarget(s, k));
}

void HandleDownloadDriverResult(UnitSessions& s, u8 code, u8 k) {
  if (!IsSuccess(code)) return ReportUnitResult(s, code, k);
  StartDownloadMain(s, k);
}

void StartDownloadMain(UnitSessions& s, u8 k) {
  auto& u = s.Unit[k];
  u.StepState = StepDownloadMain;
  u.GaugeRun = 0;
  AddUnitInfoLine(s, Text(TextId::DownloadMainStart), k);
  BeginUnitStep(s, 500, s.Model.Params.DownloadSize, 1, k);
  SendDownloadMainBlockCmd(UnitTarget(s, k), u.BlockIndex, MainOffset(s));
}

void HandleDownloadMainResult(UnitSessions& s, u8 code, u8 k) {
  if (!IsSuccess(code)) return ReportUnitResult(s, code, k);
  if (AdvanceBlock(s, k)) {
    SendDownloadMainBlockCmd(UnitTarget(s, k), s.Unit[k].BlockIndex, MainOffset(s));
  } else if (s.Model.ProgramEep) {
    StartDownloadEep(s, k);
  } else {
    FinishDownload(s, k);
  }
}

void StartDownloadEep(UnitSessions& s, u8 k) {
  auto& u = s.Unit[k];
  u.GaugeRun = 0;
  u.StepState = StepDownloadEep;
  AddUnitInfoLine(s, Text(TextId::DownloadEepStart), k);
  BeginUnitStep(s, 500, s.Model.Params.EepSize, 1, k);
  SendDownloadEepBlockCmd(UnitTarget(s, k), u.BlockIndex, 0);
}

void HandleDownloadEepResult(UnitSessions& s, u8 code, u8 k) {
  if (!IsSuccess(code)) return ReportUnitResult(s, code, k);
  if (AdvanceBlock(s, k)) {
    SendDownloadEepBlockCmd(UnitTarget(s, k), s.Unit[k].BlockIndex, 0);
  } else {
    FinishDownload(s, k);
  }
}

void FinishDownload(UnitSessions& s, u8 k) {
  s.DownloadOkCount = static_cast<u8>(s.DownloadOkCount + 1);
  s.Unit[k].DownloadDone = 1;
  EndUnitStep(s, 0, k);
  AddUnitInfoLine(s, Text(TextId::DownloadSuccess), k);
  if (!s.CmdLineOff) SendRestartCmd(UnitTarget(s, k));
}

}  // namespace qx
