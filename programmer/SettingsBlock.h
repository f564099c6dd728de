#pragma once
// The 512-byte chip parameter block ("ZWLP") that the chip-data command carries twice and
// the project file stores for unit 0.
#include <cstddef>
#include <span>
#include <string_view>

#include "images/ChipModel.h"
#include "base/Types.h"
#include "programmer/RandomSource.h"

namespace qx {

inline constexpr std::size_t SettingsBlockSize = 512;

// Block offsets that readers of the block use.
inline constexpr std::size_t SbHeaderAt = 4;
inline constexpr std::size_t SbSnFlagsAt = 84;
inline constexpr std::size_t SbSnLengthAt = 85;
inline constexpr std::size_t SbSnMaxCountAt = 86;
inline constexpr std::size_t SbSnStepAt = 90;
inline constexpr std::size_t SbSnAddressAt = 92;
inline constexpr std::size_t SbSnValueAt = 96;
inline constexpr std::size_t SbMainSum16At = 100;
inline constexpr std::size_t SbFileChecksumAt = 102;
inline constexpr std::size_t SbOptionLowAt = 112;   // OptionImage[0..127]
inline constexpr std::size_t SbChipNameAt = 240;    // 16 bytes
inline constexpr std::size_t SbFileNameAt = 256;    // 48 bytes
inline constexpr std::size_t SbOptionHighAt = 304;  // OptionImage[128..331]
inline constexpr std::size_t SbCheckAt = 508;
inline constexpr std::size_t SbSumAt = 510;
inline constexpr std::size_t SbChipNameSize = 16;
inline constexpr std::size_t SbFileNameSize = 48;

// The name's bytes cut at the field size, then zeros; an empty name is written as "?".
void PutNameField(std::string_view name, std::span<u8> field);

// The block for unit (0-based) of unitCount units in use. Draws two random values: the
// header parameter (0..65534), then header byte 6. The six reserved bytes 106..111 are 0.
void BuildSettingsBlock(const ChipModel& model, RandomSource& random, u8 unit, u8 unitCount,
                        std::span<u8, SettingsBlockSize> out);

}  // namespace qx
