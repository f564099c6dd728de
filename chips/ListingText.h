#pragma once
// Pieces shared by the option listings.
#include <span>
#include <string>

#include "base/ByteOrder.h"
#include "texts/Texts.h"

namespace qx::listing {

// " %0.2x" for each byte.
inline void AppendBytes(std::string& line, std::span<const u8> bytes) {
  for (const u8 b : bytes) line += Tx(TextId::ChipOptionByte, b);
}

// " %0.4x" of the little-endian words at the AutoChip option positions.
inline void AppendAC78xWords(std::string& line, std::span<const u8> bytes) {
  static constexpr std::size_t kAt[] = {0, 4, 8, 12, 16, 20, 40, 44};
  for (const std::size_t at : kAt) line += Tx(TextId::ChipOptionWord, GetLe16(bytes, at));
}
inline constexpr std::size_t AC78xWordsBytes = 46;

// One row of the AUCU configuration window: its address, then its sixteen bytes.
inline std::string AucuRow(unsigned row, std::span<const u8> bytes) {
  std::string line = Tx(TextId::ChipAucuOptionRow, row * 16u);
  AppendBytes(line, bytes.subspan(row * 16u, 16));
  return line;
}
inline constexpr unsigned AucuRows = 16;

}  // namespace qx::listing
