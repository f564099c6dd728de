#pragma once
// The job the download benchmarks send: 1 MiB of main flash, no driver, no data flash, at
// the line rate of the units.
#include <random>

#include "images/ChipModel.h"

namespace qx::bench {

inline constexpr double kLineRate = 1'000'000.0 / 11.0;  // 8N2 at 1,000,000 baud
inline constexpr u32 kDownloadSize = 0x100000;

inline void PrepareChip(ChipModel& m) {
  auto& p = m.Params;
  m.ChipName = "BENCH1M";
  p.MainFlashStart = 0;
  p.MainFlashSize = kDownloadSize;
  p.MainFlashEnd = kDownloadSize - 1;
  p.DownloadSize = kDownloadSize;
  p.UseFlashDriver = 0;
  m.ProgramEep = 0;
  m.ChipSelected = 1;
  m.ObjectLoaded = 1;
  // Program-like data: every byte value, so that the frame escapes cost what they cost.
  std::mt19937 gen(1234);
  for (u32 i = 0; i < kDownloadSize; ++i) m.MainFlashImage[i] = static_cast<u8>(gen());
}

}  // namespace qx::bench
