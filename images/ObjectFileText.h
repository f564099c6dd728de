#pragma once
// Helpers shared by the object-file writers.
#include <span>
#include <string>
#include <string_view>

#include "images/ChipModel.h"

namespace qx {

// The main-flash bytes of the addresses start..end by the image index rule, clamped to the
// image; firstAddress receives the address of the first byte returned.
std::span<const u8> MainFlashRange(const ChipModel& model, u32 startAddress, u32 endAddress, u32& firstAddress);

// Creates or overwrites the file with text; raises EInOutError on failure.
void WriteTextFile(const std::string& fileName, std::string_view text);

}  // namespace qx
