#include "app/ProjectSettings.h"

#include <algorithm>
#include <memory>
#include <string_view>

#include "app/SerialNumbers.h"
#include "base/ByteOrder.h"
#include "chips/ChipModelLists.h"
#include "chips/ChipSelect.h"
#include "chips/MakerRegistry.h"
#include "programmer/SettingsBlock.h"
#include "texts/Texts.h"

namespace qx {

namespace {

// Block offsets of the fields the section gives back (the chip-info header is at 4).
constexpr std::size_t kOptionCodeAt = 5;
constexpr std::size_t kDeviceAddressAt = 6;
constexpr std::size_t kProtocolKindAt = 7;
constexpr std::size_t kFamilyCodeAt = 8;
constexpr std::size_t kSubtypeAt = 9;
constexpr std::size_t kAutoStartCodeAt = 11;
constexpr std::size_t kFamilyParam1At = 12;
constexpr std::size_t kFamilyParam2At = 13;
constexpr std::size_t kChipControlAt = 36;
constexpr std::size_t kPowerDownTimeAt = 45;
constexpr std::size_t kChipInStableTimeAt = 46;
constexpr std::size_t kChipOutStableTimeAt = 47;
constexpr std::size_t kMainPageSizeAt = 48;
constexpr std::size_t kEepPageSizeAt = 50;
constexpr std::size_t kMainCheck16At = 52;
constexpr std::size_t kMainSum16At = 54;
constexpr std::size_t kEepCheck16At = 56;
constexpr std::size_t kEepSum16At = 58;
constexpr std::size_t kOptionCheck16At = 60;
constexpr std::size_t kOptionSum16At = 62;
constexpr std::size_t kProtectBitsAt = 68;
constexpr std::size_t kChipExtraByteAt = 69;
constexpr std::size_t kExtraParamWordAt = 70;
constexpr std::size_t kRunShutTimeAt = 72;
constexpr std::size_t kOptionLowCount = SbChipNameAt - SbOptionLowAt;   // bytes 0..127
constexpr std::size_t kOptionHighCount = SbCheckAt - SbOptionHighAt;    // bytes 128..331

constexpr int kSpinEditNumMax = 999999999;

u8 Bit(u8 value, unsigned bit) { return static_cast<u8>((value >> bit) & 1u); }

int RadioIndex(unsigned value, unsigned items) { return value < items ? static_cast<int>(value) : -1; }

// The family's own OptionEnd and InfoEnd for the loaded chip: the file does not keep them.
// The family rules run on a scratch copy, so nothing else of the loaded state changes.
void ApplyFamilyWindowEnds(ChipModel& model) {
  ChipParams& p = model.Params;
  const auto models = ModelsOfMaker(p.ManufacturerIndex);
  const auto it = std::find(models.begin(), models.end(), std::string_view(model.ChipName));
  const auto position = static_cast<u8>(it == models.end() ? 0 : it - models.begin());
  auto scratch = std::make_unique<ChipModel>();
  scratch->Params = p;
  scratch->Control = model.Control;
  SelectFamily(*scratch, p.ManufacturerIndex, model.ChipName, position);
  p.OptionEnd = scratch->Params.OptionEnd;
  p.InfoEnd = scratch->Params.InfoEnd;
}

}  // namespace

void SetAreaEnd(u32& start, u32& end, u32 size) {
  if (size == 0 && start == 0) {
    start = NoWindow;
    end = NoWindow;
    return;
  }
  end = start + size - 1;
}

void ApplyProjectSettings(ChipModel& model, const ProjectSectionBuffer& section) {
  const std::span<const u8> b(section.data(), ProjectSettingsBlockSize);
  ChipParams& p = model.Params;
  ChipControl& c = model.Control;
  TimingSettings& t = model.Timing;
  ImageChecksums& s = model.Sums;
  SnSettings& sn = model.Sn;

  p.OptionCode = b[kOptionCodeAt];
  model.DeviceAddress = b[kDeviceAddressAt];
  p.ProtocolKind = b[kProtocolKindAt];
  p.FamilyCode = b[kFamilyCodeAt];
  p.Subtype = b[kSubtypeAt];
  t.AutoStartCode = b[kAutoStartCodeAt];
  model.FamilyParam1 = b[kFamilyParam1At];
  model.FamilyParam2 = b[kFamilyParam2At];
  c.InterfaceFlags = b[kChipControlAt + 0];
  c.PowerFlags = b[kChipControlAt + 1];
  c.ResetFlags = b[kChipControlAt + 2];
  c.ProgramFlags = b[kChipControlAt + 3];
  c.EraseFlags = b[kChipControlAt + 4];
  c.ExtControl1 = b[kChipControlAt + 5];
  c.ExtControl2 = b[kChipControlAt + 6];
  c.ExtControl3 = b[kChipControlAt + 7];
  c.PowerOnTime = b[kChipControlAt + 8];
  t.PowerDownTime = b[kPowerDownTimeAt];
  t.ChipInStableTime = b[kChipInStableTimeAt];
  t.ChipOutStableTime = b[kChipOutStableTimeAt];
  p.MainPageSize = GetLe16(b, kMainPageSizeAt);
  p.EepPageSize = GetLe16(b, kEepPageSizeAt);
  s.MainCheck16 = GetLe16(b, kMainCheck16At);
  s.MainSum16 = GetLe16(b, kMainSum16At);
  s.EepCheck16 = GetLe16(b, kEepCheck16At);
  s.EepSum16 = GetLe16(b, kEepSum16At);
  s.OptionCheck16 = GetLe16(b, kOptionCheck16At);
  s.OptionSum16 = GetLe16(b, kOptionSum16At);
  model.ProtectBits = b[kProtectBitsAt];
  model.ChipExtraByte = b[kChipExtraByteAt];
  model.ExtraParamWord = GetLe16(b, kExtraParamWordAt);
  t.RunShutTime = GetLe16(b, kRunShutTimeAt);
  sn.SnFlags = b[SbSnFlagsAt];
  sn.SnLength = b[SbSnLengthAt];
  sn.SnMaxCount = GetLe32(b, SbSnMaxCountAt);
  sn.SnAddress = GetLe32(b, SbSnAddressAt);
  sn.SnValue = GetLe32(b, SbSnValueAt);

  SetAreaEnd(p.EepStart, p.EepEnd, p.EepSize);
  SetAreaEnd(p.MainFlashStart, p.MainFlashEnd, p.MainFlashSize);

  // The writer stores option bytes 0..331 for every family; all of them come back. The
  // option write sends the bytes past them too: 0xFF, as the units have always been sent
  // for a stored job (a chip chosen in the dialog has its family's default there instead).
  model.OptionImage.fill(0xFF);
  std::copy_n(b.begin() + SbOptionLowAt, kOptionLowCount, model.OptionImage.begin());
  std::copy_n(b.begin() + SbOptionHighAt, kOptionHighCount, model.OptionImage.begin() + kOptionLowCount);

  ApplyFamilyWindowEnds(model);

  const u8 erased = Bit(c.PowerFlags, 4) ? 0x00 : 0xFF;
  std::fill(model.MainFlashImage.begin() + std::min(p.DownloadSize, MainImageSize), model.MainFlashImage.end(), erased);
  std::fill(model.EepImage.begin() + std::min(p.EepDownloadSize, EepImageSize), model.EepImage.end(), erased);
}

void ShowProjectSettings(ChipModel& model, ProgramControls& ctl) {
  ChipParams& p = model.Params;
  const ChipControl& c = model.Control;
  const TimingSettings& t = model.Timing;
  const SnSettings& sn = model.Sn;

  p.MainImageOffset = MainWindow(p).Absent() ? 0 : (p.MainFlashStart & 0xFFFFF);
  p.BlankIsZero = Bit(c.PowerFlags, 4);
  ctl.RadioGpVolt = RadioIndex(c.PowerFlags & 3u, 2);
  ctl.ChkBoxBlkEr = Bit(c.PowerFlags, 3) != 0;
  ctl.RadioGrpRST = RadioIndex(c.ResetFlags & 3u, 3);
  ctl.ChkBoxVDD = Bit(c.ResetFlags, 7) == 0;
  ctl.CheckBoxRun = Bit(c.ResetFlags, 2) != 0;
  ctl.RadioGrpSpdF = Bit(c.InterfaceFlags, 4);
  ctl.ChkBoxRunSHT = Bit(c.InterfaceFlags, 5) != 0;
  ctl.SpinEditRTM = t.RunShutTime * 10;
  model.ProgramOptionBytes = Bit(c.ProgramFlags, 6);
  ctl.CheckBoxOpt = model.ProgramOptionBytes != 0;
  // A batch download sends the data flash by this flag; no collection runs before it.
  model.ProgramEep = Bit(c.ProgramFlags, 3);
  ctl.ChkBoxPrgEEP = model.ProgramEep != 0;
  ctl.ChkBoxErsEEP = Bit(c.EraseFlags, 1) != 0;
  // Stored, so shown: otherwise the next collection or save would take the boxes' old state.
  ctl.ChkBoxCpErsM = Bit(c.EraseFlags, 0) == 0;
  if (DifferencesOf(p.ManufacturerIndex).readProtectBox) ctl.ChkBoxRDP = model.ProtectBits != 0;
  ctl.ChkBoxAuto = t.AutoStartCode != 0;
  ctl.SpinEditIn = t.ChipInStableTime * 30;
  ctl.SpinEditOut = t.ChipOutStableTime * 30;
  ctl.SpinEditVddTim = c.PowerOnTime * 10;
  ctl.SpinEditPWDTim = t.PowerDownTime * 10;
  ctl.SpinEditNum = static_cast<int>(std::min<u32>(sn.SnMaxCount, kSpinEditNumMax));
  ctl.CheckBoxCtrl = Bit(sn.SnFlags, 6) != 0;
  ctl.CheckBoxSN = Bit(sn.SnFlags, 0) != 0;
  ctl.SNOrderChk = Bit(sn.SnFlags, 2) != 0;
  ctl.GainEdit = Tx(TextId::PrjShowDecimal, sn.SnGain);
  ctl.SNEdit1 = SerialNumberText(sn.SnValue, ctl.ChkBoxSNDP);
  ctl.AddrEdit = Tx(TextId::PrjShowHex8, sn.SnAddress);
  ctl.EditDevAdr = Tx(TextId::PrjShowHex2, model.DeviceAddress);
}

}  // namespace qx
