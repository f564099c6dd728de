#pragma once
// The main window's reaction to a chosen chip: the chip-selection dialog's OK and every
// successful project load run it, also when the chip name is the one shown already (the
// driver file or the project's settings may have changed).
#include <string_view>

#include "base/MessageLog.h"
#include "base/Operator.h"
#include "chips/WindowChanges.h"
#include "images/ChipModel.h"
#include "programmer/FlashDriver.h"

namespace qx {

namespace ctl {
inline constexpr std::string_view TabShtOPB = "TabShtOPB";  // the option-data tab
}  // namespace ctl

struct ChipReactionEnv {
  ChipModel& Model;
  FlashDriver& Driver;
  std::string_view AppDir;  // the program folder, with a trailing '/'
  MessageLog& Log;
  Operator& Op;  // also resets the grids (ResetHexViews)
};

// With no chip selected: only the option-data tab hidden. Otherwise, in order: the
// customer-information lengths cleared, the grids reset, the chip and size log lines, the
// flash driver loaded when the family uses one (its failures are message boxes), the
// layout lines, then the option view (Op.ShowOptionData) or a hidden option-data tab.
// Returns the control changes for the window to apply in order: the common defaults and
// the family set-up (ChipChosenChanges), then the option-data tab when it is hidden.
WindowChanges MCUNameEditChange(const ChipReactionEnv& env);

}  // namespace qx
