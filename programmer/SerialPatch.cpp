#include "programmer/SerialPatch.h"

#include <algorithm>
#include <numeric>

#include "images/Checksums.h"

namespace qx {

void PlaceSerialPatch(UnitSerialPatch& patch, const ChipModel& model, u32 index, const std::array<u8, 4>& bytes) {
  patch.Active = 1;
  patch.Index = index;
  patch.Bytes = bytes;

  const ChipParams& p = model.Params;
  const u32 first = p.MainImageOffset;
  std::span<const u8> range;
  if (p.DownloadSize != 0) range = ClampRange(std::span<const u8>(model.MainFlashImage), first, first + p.DownloadSize - 1);
  // The range in three pieces: before the patch, the patch as far as the range holds it, after.
  std::array<u8, 4> own{};
  std::size_t at = range.size();
  std::size_t n = 0;
  if (index >= first && index - first < range.size()) {
    at = index - first;
    n = std::min<std::size_t>(4, range.size() - at);
    std::copy_n(bytes.begin(), n, own.begin());
  }
  const auto before = range.first(at);
  const auto patched = std::span<const u8>(own).first(n);
  const auto after = range.subspan(at + n);
  u16 check = ContinueCheck16(0, before);
  check = ContinueCheck16(check, patched);
  patch.MainCheck16 = ContinueCheck16(check, after);
  u32 sum = 0;
  for (const auto piece : {before, patched, after}) sum = std::accumulate(piece.begin(), piece.end(), sum);
  patch.MainSum16 = static_cast<u16>(sum);
}

void OverlaySerialPatch(const UnitSerialPatch& patch, std::int64_t first, std::span<u8> block) {
  if (!patch.Active) return;
  for (std::size_t j = 0; j < patch.Bytes.size(); ++j) {
    const std::int64_t at = static_cast<std::int64_t>(patch.Index) + static_cast<std::int64_t>(j) - first;
    if (at >= 0 && at < static_cast<std::int64_t>(block.size())) block[static_cast<std::size_t>(at)] = patch.Bytes[j];
  }
}

}  // namespace qx
