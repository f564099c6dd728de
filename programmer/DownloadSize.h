#pragma once
#include "images/ChipModel.h"

namespace qx {

// Sets Params.DownloadSize: the main image up to the end of the 256-byte page of its last
// non-blank byte, at least 1024 bytes, at most MainFlashSize. Bytes 0..1023 are not examined.
void CalcDownloadSize(ChipModel& model);

}  // namespace qx
