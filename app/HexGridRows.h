#pragma once
// What the three hex grids show, without Qt: each grid row is one 16-byte row of an image,
// shown as its address, its 16 bytes and the same bytes as text. The grid models read the
// images through these rules, so a grid costs no memory per row.
#include <span>
#include <string>

#include "images/ChipModel.h"

namespace qx {

enum class HexGrid : u8 { Main, Eep, Option };

inline constexpr int HexGridColumns = 18;  // address, 16 bytes, text
inline constexpr int HexGridTextColumn = 17;
inline constexpr u32 OptionHexRows = 16;

// Rows the main grid can show: the image from MainImageOffset on.
u32 MainHexRowLimit(const ChipParams& params);

// Rows of the main grid for the inclusive range first..last: the length (taken modulo 2^32,
// so last = first - 1 is empty) in 16-byte rows, a partial row counting whole; at most
// MainHexRowLimit.
u32 MainHexRowCount(const ChipParams& params, u32 first, u32 last);

// Rows of the data-flash grid: EepSize / 16, within the image.
u32 EepHexRowCount(const ChipParams& params);

// The main-grid rows that hold the addresses a..b, and the row count after them: rows past
// the programmed range that the grid does not show yet are added up to the last one.
struct HexRowUpdate {
  bool Any = false;  // false: no row of the range lies in the image (or b < a)
  u32 FirstRow = 0;
  u32 LastRow = 0;
  u32 RowCount = 0;
};
HexRowUpdate PlanMainHexRowUpdate(const ChipParams& params, u32 rowCount, u32 a, u32 b);

// Address shown in the first column of a row.
u32 HexRowAddress(HexGrid grid, const ChipParams& params, u32 row);

// The bytes of a row (16, fewer or none at the end of an image).
std::span<const u8> HexRowBytes(HexGrid grid, const ChipModel& model, u32 row);

// The text column: the printable bytes 0x20..0x7E as their character, every other byte
// (DEL 0x7F too, which fonts draw as a box) as '.'.
std::string HexRowText(std::span<const u8> bytes);

// Whether the data-flash grid shows a byte that is neither 0x00 nor 0xFF: the data-flash
// programming box follows it.
bool EepShowsData(const ChipModel& model);

}  // namespace qx
