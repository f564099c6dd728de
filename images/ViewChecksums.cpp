#include "images/ViewChecksums.h"

#include "images/Checksums.h"
#include "texts/Texts.h"

namespace qx {

void CalcReadMainChecksum(ChipModel& model, MessageLog& log) {
  const auto& p = model.Params;
  const std::span<const u8> image(model.MainFlashImage);
  const u32 read = CalcAcc32(image, p.MainImageOffset, p.MainImageOffset + p.DownloadSize - 1);
  const u32 first = p.MainFlashStart & 0xFFFFFF;
  const u32 last = p.MainFlashEnd & 0xFFFFFF;
  model.Sums.MainCheck16 = CalcCheck16(image, first, last);
  model.Sums.MainSum16 = static_cast<u16>(CalcAcc32(image, first, last));
  log.AddInfoLine(Tx(TextId::ReadMainChecksumLine, read));
}

void CalcReadEepChecksum(ChipModel& model, MessageLog& log) {
  const std::span<const u8> image(model.EepImage);
  // An EepSize of 0 gives the range [0, 0xFFFFFFFF], which the sums take as empty.
  const u32 last = model.Params.EepSize - 1;
  model.Sums.EepCheck16 = CalcCheck16(image, 0, last);
  const u32 sum = CalcAcc32(image, 0, last);
  model.Sums.EepSum16 = static_cast<u16>(sum);
  log.AddInfoLine(Tx(TextId::ReadEepChecksumLine, sum));
}

}  // namespace qx
