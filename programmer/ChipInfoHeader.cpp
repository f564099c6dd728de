#include "programmer/ChipInfoHeader.h"

#include <algorithm>

#include "base/ByteOrder.h"

namespace qx {

void FillChipInfoHeader(const ChipModel& model, RandomSource& random, u16 headerParam,
                        std::span<u8, ChipInfoHeaderSize> out) {
  const ChipParams& p = model.Params;
  const ChipControl& c = model.Control;
  const TimingSettings& t = model.Timing;
  const ImageChecksums& s = model.Sums;
  std::fill(out.begin(), out.end(), u8{0});

  out[1] = p.OptionCode;
  out[2] = model.DeviceAddress;
  out[3] = p.ProtocolKind;
  out[4] = p.FamilyCode;
  out[5] = p.Subtype;
  out[6] = RandomByte(random);
  out[7] = t.AutoStartCode;
  out[8] = model.FamilyParam1;
  out[9] = model.FamilyParam2;
  PutLe16(out, 10, headerParam);
  PutLe32(out, 16, p.DownloadSize);
  PutLe32(out, 20, p.EepSize);
  PutLe32(out, 24, p.MainFlashStart);
  PutLe32(out, 28, p.EepStart);
  out[32] = c.InterfaceFlags;
  out[ChipInfoPowerFlagsAt] = c.PowerFlags;
  out[34] = c.ResetFlags;
  out[35] = c.ProgramFlags;
  out[36] = c.EraseFlags;
  out[37] = c.ExtControl1;
  out[38] = c.ExtControl2;
  out[39] = c.ExtControl3;
  out[40] = c.PowerOnTime;
  out[41] = t.PowerDownTime;
  out[42] = t.ChipInStableTime;
  out[43] = t.ChipOutStableTime;
  PutLe16(out, 44, p.MainPageSize);
  PutLe16(out, 46, p.EepPageSize);
  PutLe16(out, ChipInfoMainCheck16At, s.MainCheck16);
  PutLe16(out, ChipInfoMainSum16At, s.MainSum16);
  PutLe16(out, ChipInfoEepCheck16At, s.EepCheck16);
  PutLe16(out, ChipInfoEepSum16At, s.EepSum16);
  PutLe16(out, ChipInfoOptionCheck16At, s.OptionCheck16);
  PutLe16(out, ChipInfoOptionSum16At, s.OptionSum16);
  out[64] = model.ProtectBits;
  out[65] = model.ChipExtraByte;
  PutLe16(out, 66, model.ExtraParamWord);
  PutLe16(out, 68, t.RunShutTime);
}

}  // namespace qx
