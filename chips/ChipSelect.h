#pragma once
// Choosing the target chip: the confirmed choice of the chip-selection dialog and the
// family select that runs each maker's rules.
#include <string_view>

#include "chips/Makers.h"
#include "images/ChipModel.h"

namespace qx {

// The dialog's OK: forgets the loaded object data, marks a chip as selected, stores the
// maker (an unknown index is stored as Silergy's) and the name, runs the family's select
// routine with the model's position in its maker's list, and sizes the downloads from the
// new chip. Returns ChipSelected (false for an AutoChip name the family does not know).
bool SelectChip(ChipModel& model, u8 manufacturerIndex, std::string_view name, u8 modelIndex);

// SelectChip for the model at a position of the maker's list; false when the position is
// past the end of the list (nothing is changed then).
bool SelectListedChip(ChipModel& model, u8 manufacturerIndex, u8 modelIndex);

// The family select of a maker index without the dialog's surrounding steps.
void SelectFamily(ChipModel& model, u8 manufacturerIndex, std::string_view name, u8 modelIndex);

}  // namespace qx
