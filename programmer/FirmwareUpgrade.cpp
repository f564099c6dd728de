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
  u.TimeoutTicks = 500;
  u.BlockIndex = 0;
  u.BlockCount = FirmwareBlockCount(fw);
  ArmStepGauge(s, k, 2, u.BlockCount);
  AddUnitInfoLine(s, Tx(TextId::UpgradeStart, k + 1), k);
  SendFirmwareBlockCmd(UnitTarget(s, k), 0);
}

void HandleFirmwareBlockResult(UnitSessions& s, u8 code, u8 k) {
  if (code != ResAck) {
    // Only 6 acknowledges a block; a bare 0 is no success here either.
    if (IsSuccess(code)) {
      EndUnitStep(s, 1, k, code);
      return AddUnitInfoLine(s, Tx(TextId::ResTextFailedWithCode, code, code), k);
    }
    return ReportUnitResult(s, code, k);
  }
  auto& u = s.Unit[k];
  SetGaugeProgress(s, k, u.Gauge.Progress + 1);
  u.BlockIndex = static_cast<u16>(u.BlockIndex + 1);
  if (u.BlockIndex < u.BlockCount) return (void)SendFirmwareBlockCmd(UnitTarget(s, k), u.BlockIndex);
  u.UpgradeBusy = 0;
  u.UpgradeFailed = 0;
  SendFirmwareEndCmd(UnitTarget(s, k));
  AddUnitInfoLine(s, Tx(TextId::UpgradeCompleted, k + 1), k);
  EndUnitStep(s, 0, k);
}

}  // namespace qx
