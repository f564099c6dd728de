#include "chips/OptionDefaults.h"

#include <algorithm>

namespace qx {

void ClearOptionImage(ChipModel& model) { model.OptionImage.fill(0x00); }

void FillOptionImage(ChipModel& model) { model.OptionImage.fill(0xFF); }

void InitOptionAC78x(ChipModel& model) {
  auto& o = model.OptionImage;
  o.fill(0xFF);
  if (model.Params.Subtype < 16) {
    o[0] = 0xAC;
    o[2] = 0x53;
  }
}

void InitOptionLcmp(ChipModel& model) {
  auto& o = model.OptionImage;
  o.fill(0xFF);
  for (std::size_t i = 1; i < 16; i += 2) o[i] = 0x00;
  o[0] = 0xFB;
  o[1] = 0x04;
  for (std::size_t i = 0; i < 12; ++i) {
    o[16 + 2 * i] = 0x00;
    o[17 + 2 * i] = 0xFF;
  }
  std::copy_n(o.begin(), 256, o.begin() + 256);
}

}  // namespace qx
