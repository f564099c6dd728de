#include "programmer/DownloadSize.h"

#include <algorithm>
#include <cstdint>

namespace qx {

void CalcDownloadSize(ChipModel& model) {
  ChipParams& p = model.Params;
  const u8 blank = model.ErasedValue();
  const auto& image = model.MainFlashImage;
  // Indexes outside the image are never read; a window beyond it counts as blank.
  const std::uint64_t offset = p.MainImageOffset;
  u32 size = 1024;
  for (std::uint64_t i = static_cast<std::uint64_t>(p.MainFlashSize); i-- > 1024;) {
    const std::uint64_t at = offset + i;
    if (at < image.size() && image[at] != blank) {
      size = static_cast<u32>((i / 256 + 1) * 256);
      break;
    }
  }
  p.DownloadSize = std::min(size, p.MainFlashSize);
}

}  // namespace qx
