#include "programmer/FirmwareUpgrade.h"

#include "programmer/FirmwareCommands.h"
#include "programmer/ResultCode.h"
#include "programmer/UnitStepFramework.h"
#include "programmer/UnitStepTarget.h"
#include "texts/Texts.h"

namespace qx {

void StartFirmwareUpgrade(UnitSessions& s, u8 k) {
  const auto& fw = s.Wire.Firmware;
  if (!fw.FirmwareLoaded) return;
  auto& u = s.Unit[k];
  s.RelinkPending = 1;
  u.UpgradeBusy = 1;
  u.Linked = 1;
  u.StepState = StepFirmwareUpgrade;
  u.GaugeRun = 0;
  u.Busy = 1;
  SetUnitTimeout(s, k, TicksAfterCommand);
  u.BlockIndex = 0;
  u.BlockCount = FirmwareBlockCount(fw);
  ArmStepGauge(s, k, 2, u.BlockCount);
  AddUnitInfoLine(s, k, Tx(TextId::UpgradeStart, k + 1));
  SendFirmwareBlockCmd(UnitTarget(s, k), 0);
}

void HandleFirmwareBlockResult(UnitSessions& s, u8 k, u8 code) {
  if (code != ResAck) {
    // Only 6 acknowledges a block; a bare 0 is no success here either.
    if (IsSuccess(code)) {
      EndUnitStep(s, k, true, code);
      return AddUnitInfoLine(s, k, Tx(TextId::ResTextFailedWithCode, code, code));
    }
    return ReportUnitResult(s, k, code);
  }
  auto& u = s.Unit[k];
  SetGaugeProgress(s, k, u.Gauge.Progress + 1);
  u.BlockIndex = static_cast<u16>(u.BlockIndex + 1);
  if (u.BlockIndex < u.BlockCount) return (void)SendFirmwareBlockCmd(UnitTarget(s, k), u.BlockIndex);
  u.UpgradeBusy = 0;
  u.UpgradeFailed = 0;
  u.UpgradeDone = 1;
  SendFirmwareEndCmd(UnitTarget(s, k));
  AddUnitInfoLine(s, k, Tx(TextId::UpgradeCompleted, k + 1));
  EndUnitStep(s, k, false);
}

}  // namespace qx
