#include "app/ProgramSettings.h"

#include <cstdint>

#include "base/Errors.h"
#include "chips/MakerRegistry.h"
#include "images/NumberText.h"
#include "texts/Texts.h"

namespace qx {

namespace {

u8 WithBit(u8 value, unsigned bit, bool on) {
  const auto mask = static_cast<u8>(1u << bit);
  return static_cast<u8>(on ? (value | mask) : (value & ~mask));
}

// A number too large for its field is refused: cut to its low bits it would be another number
// (a gain of "0x10000" would give every chip the same S/N).
std::int64_t SnFieldValue(const std::string& text, std::int64_t max) {
  const std::int64_t v = StrToInt64(text);
  if (v < 0 || v > max) throw EConvertError(Tx(TextId::SnFieldOutOfRange, text, Tx(TextId::SnHexText, static_cast<u32>(max))));
  return v;
}

}  // namespace

void CollectProgramSettings(const ProgramControls& c, ChipModel& model, MessageLog& log) {
  ChipControl& cc = model.Control;
  const MakerDifferences& maker = DifferencesOf(model.Params.ManufacturerIndex);

  // A hidden interface group does not act: the family select owns bit 0 then.
  if (maker.interfaceGroup) cc.InterfaceFlags = WithBit(cc.InterfaceFlags, 0, c.RadioGroupPIF > 0);

  const u8 volt = c.RadioGpVolt == 0 ? 0 : c.RadioGpVolt == 1 ? 1 : 2;
  cc.PowerFlags = static_cast<u8>((cc.PowerFlags & ~0x03u) | volt);
  cc.PowerFlags = WithBit(cc.PowerFlags, 4, model.Params.BlankIsZero != 0);
  cc.PowerFlags = WithBit(cc.PowerFlags, 3, c.ChkBoxBlkEr);

  cc.ResetFlags = static_cast<u8>((cc.ResetFlags & ~0x03u) | (static_cast<unsigned>(c.RadioGrpRST) & 0x03u));
  cc.ResetFlags = WithBit(cc.ResetFlags, 7, !c.ChkBoxVDD);
  cc.ResetFlags = WithBit(cc.ResetFlags, 2, c.CheckBoxRun);

  cc.ProgramFlags = 0x17;
  cc.ProgramFlags = WithBit(cc.ProgramFlags, 6, c.CheckBoxOpt || c.ChkBoxRDP);
  if (c.ChkBoxPrgEEP) cc.ProgramFlags = static_cast<u8>(cc.ProgramFlags | 0x28);

  model.ProgramEep = c.ChkBoxPrgEEP ? 1 : 0;

  cc.EraseFlags = WithBit(cc.EraseFlags, 0, !c.ChkBoxCpErsM);
  cc.EraseFlags = WithBit(cc.EraseFlags, 1, c.ChkBoxErsEEP);

  model.ProgramOptionBytes = (c.CheckBoxOpt || c.ChkBoxRDP) ? 1 : 0;

  if (maker.readProtectBox) {
    model.ProtectBits = c.ChkBoxRDP ? 3 : 0;
    cc.ProgramFlags = WithBit(cc.ProgramFlags, 6, c.ChkBoxRDP);
    model.ProgramOptionBytes = model.ProtectBits != 0 ? 1 : 0;
  }

  TimingSettings& t = model.Timing;
  t.AutoStartCode = c.ChkBoxAuto ? 15 : 0;
  t.ChipInStableTime = static_cast<u8>(c.SpinEditIn / 30);
  t.ChipOutStableTime = static_cast<u8>(c.SpinEditOut / 30);
  cc.PowerOnTime = static_cast<u8>(c.SpinEditVddTim / 10);
  t.PowerDownTime = static_cast<u8>(c.SpinEditPWDTim / 10);

  cc.InterfaceFlags = WithBit(cc.InterfaceFlags, 4, c.RadioGrpSpdF != 0);
  cc.InterfaceFlags = WithBit(cc.InterfaceFlags, 5, c.ChkBoxRunSHT);

  t.RunShutTime = static_cast<u16>(c.SpinEditRTM / 10);

  SnSettings& sn = model.Sn;
  sn.SnFlags = static_cast<u8>((c.CheckBoxCtrl ? 0x40 : 0) | (c.CheckBoxSN ? 0x01 : 0) | (c.SNOrderChk ? 0x04 : 0));
  sn.SnMaxCount = static_cast<u32>(c.SpinEditNum);
  sn.SnLength = 4;

  // Each conversion may raise; the fields before it stay written.
  ReadSerialNumberFields(c, sn);
  model.DeviceAddress = static_cast<u8>(StrToInt(c.EditDevAdr));

  const ChipParams& p = model.Params;
  log.AddLine(Tx(TextId::ChipControlSettingsHead, p.FamilyCode, p.Subtype, p.OptionCode, model.FamilyParam1,
                 model.FamilyParam2, p.DownloadSize) +
              Tx(TextId::ChipControlSettingsBytes, cc.InterfaceFlags, cc.PowerFlags, cc.ResetFlags, cc.ProgramFlags,
                 cc.EraseFlags, cc.ExtControl1, cc.ExtControl2, cc.ExtControl3));
}

void ReadSerialNumberFields(const ProgramControls& c, SnSettings& sn) {
  sn.SnGain = static_cast<u16>(SnFieldValue(c.GainEdit, 0xFFFF));
  sn.SnValue = static_cast<u32>(SnFieldValue(c.SNEdit1, 0xFFFFFFFF));
  sn.SnAddress = static_cast<u32>(SnFieldValue(c.AddrEdit, 0xFFFFFFFF));
}

}  // namespace qx
