#pragma once
// How each chip family adapts the main window, as a list of control changes the window
// applies in order. The routines read the chip state and change none of it; each is its
// maker module's (chips/makers/).
#include "chips/WindowChanges.h"
#include "images/ChipModel.h"

namespace qx {

WindowChanges SetupUiAC78x(const ChipModel& model);
WindowChanges SetupUiIndie(const ChipModel& model);
WindowChanges SetupUiLapis(const ChipModel& model);
WindowChanges SetupUiAucu(const ChipModel& model);
WindowChanges SetupUiMeiren(const ChipModel& model);
WindowChanges SetupUiLcmp(const ChipModel& model);
WindowChanges SetupUiCmSemi(const ChipModel& model);
WindowChanges SetupUiSonix(const ChipModel& model);
WindowChanges SetupUiSpintrol(const ChipModel& model);
WindowChanges SetupUiLingsi(const ChipModel& model);
// Silergy and TEA.
WindowChanges SetupUiSilergy(const ChipModel& model);
WindowChanges SetupUiToshiba(const ChipModel& model);

// The set-up of the chip's ManufacturerIndex; TEA and any unknown index take Silergy's.
WindowChanges SetupUiOfChip(const ChipModel& model);

// The controls of the main window's reaction to a chosen chip, in the order the window
// applies them: the common defaults, the voltage group, the data-flash controls, the
// interface group, the family set-up, the customer-information tab and the chip
// information label. Runs only for a selected chip (ChipSelected set).
//
// A hidden check box is also unticked, and the hidden interface group is put on "SWD":
// the settings collection reads controls whether they are shown or not.
WindowChanges ChipChosenChanges(const ChipModel& model);

}  // namespace qx
