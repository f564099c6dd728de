#pragma once
// The two main-window commands on the selected chip's option bytes: the option button
// (which dialog, and what follows once it has closed) and "Show Chip Option Data". The
// window opens the dialog; the rules are here.
#include "base/MessageLog.h"
#include "base/Operator.h"
#include "chips/OptionDialog.h"
#include "chips/WindowChanges.h"
#include "images/ChipModel.h"

namespace qx {

// By ManufacturerIndex and, for AutoChip, Subtype (below 16 the AC78x dialog). TEA and
// any index outside the known makers have none.
OptionDialog OptionDialogOf(const ChipModel& model);

// What follows the dialog once it has closed (at once when there is none): the maker's
// listing or, for Silergy, the two protection status lines; then the option view when the
// chip has option data. accepted: the dialog was left with OK. Only then does the returned
// change tick or clear CheckBoxOpt by OptionsChanged, so leaving a dialog with Cancel never
// unticks a project's option programming.
WindowChanges AfterOptionDialog(OptionDialog dialog, bool accepted, ChipModel& model, MessageLog& log, Operator& op);

// The Silergy status lines of ProtectBits bits 0 (direct read) and 1 (indirect read).
void LogSilergyProtection(const ChipModel& model, MessageLog& log);

// "Show Chip Option Data": the listing of AutoChip (every subtype), AUCU and LCM chips;
// nothing for the others. It has no chip guard.
void ShowChipOptionData(const ChipModel& model, MessageLog& log);

}  // namespace qx
