#pragma once
// The image checksums the main window shows, computed and logged by the core; the view only
// shows them.
#include "base/MessageLog.h"
#include "images/ChipModel.h"

namespace qx {

// End of a main-flash read-back: MainCheck16 and MainSum16 over the whole main window
// ([MainFlashStart, MainFlashEnd] with the address bits above 24 dropped), and the logged
// ACC32 over the download range from MainImageOffset. MainAcc32 keeps its value.
void CalcReadMainChecksum(ChipModel& model, MessageLog& log);
// End of a data-flash read-back: EepCheck16 and EepSum16 over [0, EepSize - 1], and the
// logged ACC32 over the same bytes. EepAcc32 keeps its value.
void CalcReadEepChecksum(ChipModel& model, MessageLog& log);

}  // namespace qx
