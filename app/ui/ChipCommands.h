#pragma once
// The chip commands of the main window: the chip choice, the reaction to a chosen chip,
// the option button and "Show Chip Option Data". The reaction is also the project load's
// (which runs the Qt-free reaction itself and shows its result with ShowChosenChip).
#include "app/ChipReaction.h"
#include "app/ui/MainController.h"
#include "chips/WindowChanges.h"

namespace qx {

// Applies a reaction's changes to the window in order. A change naming no control of the
// window is a fault of the program: raised after the others have been applied.
void ApplyChipChanges(MainController& controller, const WindowChanges& changes);

// The chip-name field shows ChipName without raising its change event (the reaction has
// run already, also for the name shown before), then the changes are applied.
void ShowChosenChip(MainController& controller, const WindowChanges& changes);

// The whole reaction to the chip in the model: MCUNameEditChange, then ShowChosenChip.
void RunChipReaction(MainController& controller);

}  // namespace qx
