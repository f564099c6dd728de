#pragma once
// The 80-byte chip record that every chip operation carries and the settings block embeds.
#include <cstddef>
#include <span>

#include "images/ChipModel.h"
#include "base/Types.h"
#include "programmer/RandomSource.h"

namespace qx {

inline constexpr std::size_t ChipInfoHeaderSize = 80;
// Where the header holds the image sums.
inline constexpr std::size_t ChipInfoMainCheck16At = 48;
inline constexpr std::size_t ChipInfoMainSum16At = 50;
inline constexpr std::size_t ChipInfoEepCheck16At = 52;
inline constexpr std::size_t ChipInfoEepSum16At = 54;
inline constexpr std::size_t ChipInfoOptionCheck16At = 56;
inline constexpr std::size_t ChipInfoOptionSum16At = 58;
// PowerFlags: bit 4 marks a chip whose erased byte is 0x00.
inline constexpr std::size_t ChipInfoPowerFlagsAt = 33;

// Writes the header into out. Byte 6 takes a fresh random byte on every call; headerParam
// is 0 in commands and random inside the settings block.
void FillChipInfoHeader(const ChipModel& model, RandomSource& random, u16 headerParam,
                        std::span<u8, ChipInfoHeaderSize> out);

}  // namespace qx
