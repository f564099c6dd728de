#pragma once
// Where a chip family's requests to the units differ from the rest: which carry the flash
// driver's common segment, and whether its option write is long. Each maker module states
// its family's (MakerModule::requests).
#include "base/Types.h"
#include "chips/MakerSays.h"

namespace qx {

struct FamilyRequests {
  MakerSays commonInChipCommands;
  MakerSays commonInProgramBlocks;
  MakerSays longOptionWrite;  // without a driver: 4096 option bytes, not 1024
};

// A family whose requests differ in none of these.
inline constexpr FamilyRequests kPlainFamilyRequests{
    .commonInChipCommands = false, .commonInProgramBlocks = false, .longOptionWrite = false};

// The requests of the maker module whose chips take familyCode, or of a family only project
// files name; for any other code, none of the differences.
FamilyRequests RequestsOfFamily(u8 familyCode);

}  // namespace qx
