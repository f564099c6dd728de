#include "programmer/DownloadChain.h"

#include "programmer/ResultCode.h"
#include "programmer/UnitStepFramework.h"
#include "programmer/UnitStepTarget.h"
#include "texts/Texts.h"

namespace qx {
namespace {

i32 MainOffset(const UnitSessions& s) { return static_cast<i32>(s.Model.Params.MainImageOffset); }

void SendDownloadMainBlock(UnitSessions& s, u8 k) {
  SendDownloadMainBlockCmd(UnitTarget(s, k), s.Unit[k].BlockIndex, MainOffset(s));
}

void SendDownloadEepBlock(UnitSessions& s, u8 k) {
  SendDownloadEepBlockCmd(UnitTarget(s, k), s.Unit[k].BlockIndex, 0);
}

// A unit counts its serial numbers by itself, by the step of all units in use, which its
// settings block carries in 16 bits: a step cut to its low bits gives chips numbers that
// other units' chips get too. An increment of 0 (every chip the same number) is the
// operator's own choice.
bool RefuseRepeatingSerialNumbers(UnitSessions& s, u8 k) {
  const SnSettings& sn = s.Model.Sn;
  if ((sn.SnFlags & SnFlagOn) == 0) return false;
  const u32 step = u32{sn.SnGain} * s.UnitCount;
  if (step <= 0xFFFF) return false;
  AddUnitInfoLine(s, k, Tx(TextId::SnStepRefused, u32{sn.SnGain}, u32{s.UnitCount}, step));
  EndUnitStep(s, k, true);
  return true;
}

}  // namespace

void StartDownloadChipData(UnitSessions& s, u8 k) {
  s.Unit[k].DownloadDone = 0;
  OpenStep(s, k,
           {.Step = StepDownloadChipData,
            .Text = Text(TextId::DownloadChipDataStart),
            .Length = s.Model.Params.DownloadSize,
            .GaugeRun = true});
  if (RefuseWithoutDriver(s, k) || RefuseRepeatingSerialNumbers(s, k)) return;
  SendChipDataCmd(UnitTarget(s, k), RandomWord(s.Random));
}

void HandleDownloadChipDataResult(UnitSessions& s, u8 k, u8 code) {
  if (!IsSuccess(code)) return ReportUnitResult(s, k, code);
  if (s.Model.Params.UseFlashDriver) {
    StartDownloadDriver(s, k);
  } else {
    StartDownloadMain(s, k);
  }
}

// The step of the chip data goes on: no start line, no new gauge range.
void StartDownloadDriver(UnitSessions& s, u8 k) {
  auto& u = s.Unit[k];
  u.StepState = StepDownloadDriver;
  SetUnitTimeout(s, k, TicksAfterCommand);
  u.GaugeRun = 0;
  SetGaugeProgress(s, k, 3);
  if (RefuseWithoutDriver(s, k)) return;
  SendDriverBlockCmd(UnitTarget(s, k));
}

void HandleDownloadDriverResult(UnitSessions& s, u8 k, u8 code) {
  if (!IsSuccess(code)) return ReportUnitResult(s, k, code);
  StartDownloadMain(s, k);
}

// The image blocks carry no driver bytes, so the driver check never refuses them.
void StartDownloadMain(UnitSessions& s, u8 k) {
  StartBlockStep(s, k, StepDownloadMain, Text(TextId::DownloadMainStart), s.Model.Params.DownloadSize,
                 SendDownloadMainBlock);
}

void HandleDownloadMainResult(UnitSessions& s, u8 k, u8 code) {
  if (!IsSuccess(code)) return ReportUnitResult(s, k, code);
  if (!SendNextBlockOrDone(s, k, 1, SendDownloadMainBlock)) return;
  if (s.Model.ProgramEep) return StartDownloadEep(s, k);
  FinishDownload(s, k);
}

void StartDownloadEep(UnitSessions& s, u8 k) {
  StartBlockStep(s, k, StepDownloadEep, Text(TextId::DownloadEepStart), s.Model.Params.EepSize, SendDownloadEepBlock);
}

void HandleDownloadEepResult(UnitSessions& s, u8 k, u8 code) {
  if (!IsSuccess(code)) return ReportUnitResult(s, k, code);
  if (!SendNextBlockOrDone(s, k, 1, SendDownloadEepBlock)) return;
  FinishDownload(s, k);
}

void FinishDownload(UnitSessions& s, u8 k) {
  s.DownloadOkCount = static_cast<u8>(s.DownloadOkCount + 1);
  s.Unit[k].DownloadDone = 1;
  EndUnitStep(s, k, false);
  AddUnitInfoLine(s, k, Text(TextId::DownloadSuccess));
  if (!s.CmdLineOff) SendRestartCmd(UnitTarget(s, k));
}

}  // namespace qx
