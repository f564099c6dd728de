#pragma once
// The 80-byte chip record that every chip operation carries and the settings block embeds.
#include <cstddef>
#include <span>

#include "images/ChipModel.h"
#include "base/Types.h"
#include "programmer/RandomSource.h"

namespace qx {

inline constexpr std::size_t ChipInfoHeaderSize = 80;
// Where the header holds MainCheck16 and MainSum16.
inline constexpr std::size_t ChipInfoMainCheck16At = 48;
inline constexpr std::size_t ChipInfoMainSum16At = 50;

// Writes the header into out. Byte 6 takes a fresh random byte on every call; headerParam
// is 0 in commands and random inside the settings block.
void FillChipInfoHeader(const ChipModel& model, RandomSource& random, u16 headerParam,
                        std::span<u8, ChipInfoHeaderSize> out);

}  // namespace qx
