#pragma once
// A unit's own serial number in a gang run: four bytes that the unit's main-flash program
// and verify blocks carry in place of the image's, and the 16-bit sums of the programmed
// range with those bytes, which every chip header sent to that unit carries. The image
// itself stays as loaded, so each unit can hold a different number.
#include <array>
#include <cstdint>
#include <span>

#include "base/Types.h"
#include "images/ChipModel.h"

namespace qx {

struct UnitSerialPatch {
  u8 Active = 0;
  u32 Index = 0;  // image index of the first of the four bytes
  std::array<u8, 4> Bytes{};
  u16 MainCheck16 = 0;
  u16 MainSum16 = 0;
};

// Sets the patch to bytes at image index (all four inside the image) and computes its sums
// over [MainImageOffset, MainImageOffset + DownloadSize - 1] as the image sums are computed.
void PlaceSerialPatch(UnitSerialPatch& patch, const ChipModel& model, u32 index, const std::array<u8, 4>& bytes);

// Puts the patch's bytes that fall into block, whose first byte is image index first.
void OverlaySerialPatch(const UnitSerialPatch& patch, std::int64_t first, std::span<u8> block);

}  // namespace qx
