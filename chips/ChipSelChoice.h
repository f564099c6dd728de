#pragma once
// The decisions of the chip-selection dialog, without the dialog.
#include "chips/Makers.h"
#include "images/ChipModel.h"

namespace qx {

// The maker the dialog opens on: its maker list is hidden, so only Silergy models are
// offered. Opening the dialog changes nothing in the chip state.
inline constexpr Maker ChipSelOpeningMaker = Maker::Silergy;

// OK with row `row` of the shown maker's model list selected (-1: none). A listed model is
// stored and its family select runs (SelectChip): true, and the caller then runs its
// reaction to the chosen chip, also when the name is the one shown already (the driver
// file may have changed). No row, or a row past the list: nothing changes, false.
bool ConfirmChipSelection(ChipModel& model, u8 makerIndex, int row);

}  // namespace qx
