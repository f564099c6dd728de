#pragma once
// The registry of the chip-maker modules, one for each Maker in index order. Every table
// that differs by maker reads it.
#include <array>
#include <string_view>

#include "chips/Makers.h"
#include "chips/MakerModule.h"

namespace qx {

extern const std::array<const MakerModule*, MakerCount> MakerModules;

const MakerModule& ModuleOf(Maker maker);

// The module of a stored index, or nullptr for an index outside the known groups (where
// callers do not take Silergy's place).
const MakerModule* FindModule(u8 manufacturerIndex);

// The differences of the group a stored index stands for (MakerOf: an unknown index reads
// as UnknownMakerStandsFor).
const MakerDifferences& DifferencesOf(u8 manufacturerIndex);

// The driver-file stem of a chip name, over every maker's rows in maker order; empty when
// none matches.
std::string_view DriverStemOf(std::string_view chipName);

}  // namespace qx
