#include "programmer/UnitSessionReset.h"

namespace qx {

void ForgetChipChoice(ChipModel& m) {
  m.ProgrammerModel = "Nolbin200XX";
  m.ObjectFileName.clear();
  m.ChipName.clear();
  m.Params.MainFlashSize = 0;
  m.Params.EepSize = 0;
  m.Params.MainPageSize = 0;
  m.Sums.ChipChecksum = 0;
  m.Sums.FileChecksum = 0;
  m.Sums.MainAcc32 = 0;
  m.Sums.EepAcc32 = 0;
  m.Sums.EepFileChecksum = 0;
  m.Sn.SnMaxCount = 0;
  m.Sn.SnFlags = 0;
  m.Control.PowerOnTime = 10;
  m.Timing.PowerDownTime = 10;
  m.Timing.ChipInStableTime = 17;
  m.Timing.ChipOutStableTime = 17;
  m.Timing.AutoStartCode = 0;
  m.Params.Subtype = 0;
  m.Params.FamilyCode = 0;
  m.Params.EepStart = 0;
  m.Params.EepEnd = 0;
  m.Params.MainFlashStart = 0;
  m.Params.MainFlashEnd = 0;
  m.ObjectLoaded = 0;
  m.ChipSelected = 0;
}

void ResetSessionState(UnitSessions& s) {
  s.DownloadOkCount = 0;
  s.LinkedCount = 0;
  for (auto& b : s.Wire.Units) b.RxCount = 0;
  for (auto& h : s.Hold) h.HeldCount = 0;
  for (auto& u : s.Unit) {
    const UnitGauge gauge = u.Gauge;  // the gauges belong to the window; the reset keeps them
    u = UnitSession{};
    u.Gauge = gauge;
  }
}

}  // namespace qx
