#include "programmer/DownloadSize.h"

#include <algorithm>
#include <cstdint>

namespace qx {

void CalcDownloadSize(ChipModel& model) {
  ChipParams& p = model.Params;
  p.DownloadSize = TrimmedDownloadSize(model.MainFlashImage, p.MainImageOffset, p.MainFlashSize, model.ErasedValue());
}

u32 TrimmedDownloadSize(std::span<const u8> image, u32 offset, u32 mainFlashSize, u8 blank) {
  // Indexes outside the image are never read; a window beyond it counts as blank.
  const std::uint64_t held = image.size() > offset ? image.size() - offset : 0;
  u32 size = 1024;
  for (std::uint64_t i = std::min<std::uint64_t>(mainFlashSize, held); i-- > 1024;) {
    if (image[static_cast<std::size_t>(offset + i)] != blank) {
      size = static_cast<u32>((i / 256 + 1) * 256);
      break;
    }
  }
  return std::min(size, mainFlashSize);
}

}  // namespace qx
