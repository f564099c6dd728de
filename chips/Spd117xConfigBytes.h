#pragma once
// Configuration words of the SPD117x chips as the configuration dialog's boxes show them.
#include "images/ChipModel.h"

namespace qx {

struct Spd117xConfigControls {
  bool LockDebug = false;      // ChkBoxLckCP: bytes 0..3 55 55 55 55
  bool StartWatchdog = false;  // ChkBoxEnWDT: bytes 4..7 33 33 33 33
};

Spd117xConfigControls Spd117xControlsFromImage(const ChipModel& model);

// OK: the whole option image 0xFF, then the two words of the ticked boxes. OptionsChanged
// is left as it is.
void WriteSpd117xConfig(const Spd117xConfigControls& controls, ChipModel& model);

}  // namespace qx
