#include "app/HexGridRows.h"

#include <algorithm>

namespace qx {

namespace {

u32 RowsOf(u64 bytes) { return static_cast<u32>((bytes + 15) / 16); }

std::span<const u8> Row(std::span<const u8> image, u64 index) {
  if (index >= image.size()) return {};
  return image.subspan(static_cast<std::size_t>(index), std::min<std::size_t>(16, image.size() - index));
}

}  // namespace

u32 MainHexRowLimit(const ChipParams& params) {
  return params.MainImageOffset >= MainImageSize ? 0 : RowsOf(MainImageSize - params.MainImageOffset);
}

u32 MainHexRowCount(const ChipParams& params, u32 first, u32 last) {
  const u32 length = last - first + 1;  // modulo 2^32
  return std::min(RowsOf(length), MainHexRowLimit(params));
}

u32 EepHexRowCount(const ChipParams& params) { return std::min(params.EepSize, EepImageSize) / 16; }

HexRowUpdate PlanMainHexRowUpdate(const ChipParams& params, u32 rowCount, u32 a, u32 b) {
  HexRowUpdate u;
  u.RowCount = rowCount;
  const u32 start = params.MainFlashStart;
  const u32 limit = MainHexRowLimit(params);
  if (b < a || b < start || limit == 0) return u;
  const u32 firstRow = (a < start ? 0 : a - start) / 16;
  const u32 lastRow = std::min((b - start) / 16, limit - 1);
  if (firstRow > lastRow) return u;
  // Rows past the programmed range are not on the grid yet; those written are added.
  const u64 programmedRows = (u64{params.MainImageOffset} + params.DownloadSize) / 16;
  if (lastRow >= programmedRows) u.RowCount = std::max(rowCount, lastRow + 1);
  if (firstRow >= u.RowCount) return u;
  u.Any = true;
  u.FirstRow = firstRow;
  u.LastRow = std::min(lastRow, u.RowCount - 1);
  return u;
}

u32 HexRowAddress(HexGrid grid, const ChipParams& params, u32 row) {
  switch (grid) {
    case HexGrid::Main: return params.MainFlashStart + 16 * row;
    case HexGrid::Eep: return params.EepStart + 16 * row;
    case HexGrid::Option: break;
  }
  return 16 * row;
}

std::span<const u8> HexRowBytes(HexGrid grid, const ChipModel& model, u32 row) {
  switch (grid) {
    case HexGrid::Main: return Row(model.MainFlashImage, u64{model.Params.MainImageOffset} + u64{16} * row);
    case HexGrid::Eep: return Row(model.EepImage, u64{16} * row);
    case HexGrid::Option: break;
  }
  return Row(model.OptionImage, u64{16} * row);
}

std::string HexRowText(std::span<const u8> bytes) {
  std::string s(bytes.size(), '.');
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] >= 0x20 && bytes[i] < 0x7F) s[i] = static_cast<char>(bytes[i]);
  }
  return s;
}

bool EepShowsData(const ChipModel& model) {
  const std::size_t shown = std::size_t{EepHexRowCount(model.Params)} * 16;
  return std::any_of(model.EepImage.begin(), model.EepImage.begin() + static_cast<std::ptrdiff_t>(shown),
                     [](u8 b) { return b != 0x00 && b != 0xFF; });
}

}  // namespace qx
