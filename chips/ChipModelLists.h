#pragma once
// The model names offered for each chip maker, as its module lists them. The order is part
// of the data: the position of a model is handed to its family's select routine, and
// several families take it as the chip subtype.
#include <array>
#include <span>
#include <string_view>

#include "chips/Makers.h"

namespace qx {

extern const std::array<std::span<const std::string_view>, MakerCount> ChipModelLists;

// The models of a maker index; an index outside the known groups gives the Silergy list.
std::span<const std::string_view> ModelsOfMaker(u8 manufacturerIndex);

}  // namespace qx
