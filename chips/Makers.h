#pragma once
// The chip-maker groups, by the index stored in ChipParams::ManufacturerIndex. The list is
// chips/MakerList.def; each group's data is its module there (MakerRegistry.h).
#include <cstddef>

#include "base/Types.h"

namespace qx {

enum class Maker : u8 {
#define QX_MAKER(name, index) name = index,
#include "chips/MakerList.def"
#undef QX_MAKER
  Count,  // not a maker: how many there are
};

inline constexpr std::size_t MakerCount = static_cast<std::size_t>(Maker::Count);

// The group a stored index outside the known ones stands for.
inline constexpr Maker UnknownMakerStandsFor = Maker::Silergy;

constexpr Maker MakerOf(u8 manufacturerIndex) {
  return manufacturerIndex < MakerCount ? static_cast<Maker>(manufacturerIndex) : UnknownMakerStandsFor;
}

constexpr u8 IndexOf(Maker m) { return static_cast<u8>(m); }

// The index of a table of every maker: a value outside the enumeration (Count, or a cast
// stored byte) reads as the group it stands for.
constexpr std::size_t TableIndexOf(Maker m) { return IndexOf(MakerOf(IndexOf(m))); }

}  // namespace qx
