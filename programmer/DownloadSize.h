#pragma once
#include <span>

#include "images/ChipModel.h"

namespace qx {

// Sets Params.DownloadSize: the main image up to the end of the 256-byte page of its last
// non-blank byte, at least 1024 bytes, at most MainFlashSize. Bytes 0..1023 are not examined.
void CalcDownloadSize(ChipModel& model);

// The same size for the main flash that starts at image[offset]; bytes past the end of image
// count as blank.
u32 TrimmedDownloadSize(std::span<const u8> image, u32 offset, u32 mainFlashSize, u8 blank);

}  // namespace qx
