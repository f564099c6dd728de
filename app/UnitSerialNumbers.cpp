#include "app/UnitSerialNumbers.h"

namespace qx {

bool OnlineSerialNumbers(const ProgramControls& c) { return c.CheckBoxSN && c.ChkBoxPCSN; }

std::optional<SerialRun> PrepareSerialRun(const ProgramControls& c, ChipModel& model, MessageLog& log, Operator& op) {
  ReadSerialNumberFields(c, model.Sn);
  // An increment of 0 gives every chip the number as typed, as the operator may want.
  if (!PrepareSerialNumberRange(model, log, op)) return std::nullopt;
  return SerialRun{model.Sn, c.SNOrderChk};
}

void NumberUnit(const SerialRun& run, const ChipModel& model, u8 k, UnitSerialPatch& patch) {
  const std::optional<UnitSerialNumber> n = SerialNumberForUnit(model.Params, run.Sn, run.BigEndian, k);
  // PrepareSerialRun checked the address against the same chip.
  if (!n) {
    patch = {};
    return;
  }
  PlaceSerialPatch(patch, model, n->Index, n->Bytes);
}

std::string AdvancePastUnits(const SerialRun& run, UnitSet started, bool decimal, SnSettings& sn) {
  u32 next = run.Sn.SnValue;
  for (u8 k = 0; k < UnitMax; ++k) {
    if (started.test(k)) next = run.Sn.SnValue + (u32{k} + 1) * run.Sn.SnGain;
  }
  sn.SnValue = next;
  return SerialNumberText(next, decimal);
}

void ShowSerialNumberRows(const ChipParams& p, const UnitSerialPatch& patch, Operator& op) {
  if (!patch.Active) return;
  const u32 address = patch.Index - p.MainImageOffset + p.MainFlashStart;
  op.UpdateMainHexRows(address, address + 3);
}

void ForgetSerialNumbers(Station& station) {
  // A unit still busy with its run keeps its number: its chip is being given it.
  const UnitSet busy = station.BusyUnits();
  const UnitSerialPatch shown = station.UnitSerial(0);
  for (u8 k = 0; k < UnitMax; ++k) {
    if (!busy.test(k)) station.ForgetUnitSerial(k);
  }
  if (!busy.test(0)) ShowSerialNumberRows(station.Model().Params, shown, station.Op());
}

std::optional<std::string> SerialNumberAfterChip(SnSettings& sn, const SerialNumberControls& c, bool numbered) {
  if (numbered) return std::nullopt;
  return AdvanceSerialNumber(sn, c);
}

}  // namespace qx
