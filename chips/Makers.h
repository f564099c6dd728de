#pragma once
// The chip-maker groups, by the index stored in ChipParams::ManufacturerIndex.
#include <cstddef>

#include "base/Types.h"

namespace qx {

enum class Maker : u8 {
  AutoChip = 0,
  Indie = 1,
  Lapis = 2,
  Aucu = 3,
  Meiren = 4,
  Lcm = 5,
  CmSemi = 6,
  Sonix = 7,
  Spintrol = 8,
  Lingsi = 9,
  Silergy = 10,
  Toshiba = 11,
  Tea = 12,
};

inline constexpr std::size_t MakerCount = 13;

// A stored index outside the known groups stands for Silergy.
constexpr Maker MakerOf(u8 manufacturerIndex) {
  return manufacturerIndex < MakerCount ? static_cast<Maker>(manufacturerIndex) : Maker::Silergy;
}

constexpr u8 IndexOf(Maker m) { return static_cast<u8>(m); }

}  // namespace qx
