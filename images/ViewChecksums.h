#pragma once
// The image sums the main window shows, computed and logged by the core over the programmed
// ranges and after read-backs, and the status-bar texts that show them; the view only shows.
#include <string>

#include "base/MessageLog.h"
#include "images/ChipModel.h"

namespace qx {

// --- Sums of the loaded images ---------------------------------------------------------

// MainCheck16, MainAcc32, MainSum16 over the programmed main range [MainImageOffset,
// MainImageOffset + DownloadSize - 1]; an empty line, then the ACC32 line.
void CalcMainChecksum(ChipModel& model, MessageLog& log);

// EepCheck16, EepAcc32, EepSum16 over [0, EepSize - 1]; the ACC32 line.
void CalcEepChecksum(ChipModel& model, MessageLog& log);

// The main sums, the data-flash sums when the chip has data flash (cleared when it has none,
// so a previous chip's data flash never counts), ChipChecksum := MainAcc32 + EepAcc32 and
// its log line.
void RefreshChecksums(ChipModel& model, MessageLog& log);

// OptionSum16 and OptionCheck16 over OptionImage[0..255].
void CalcOptionChecksum(ChipModel& model);

// Status-bar panel 0 and panel 1.
std::string FileChecksumText(const ChipModel& model);
std::string ChipChecksumText(const ChipModel& model);

// --- Sums after a read-back --------------------------------------------------------------

// End of a main-flash read-back: MainCheck16 and MainSum16 over the whole main window
// ([MainFlashStart, MainFlashEnd] with the address bits above 24 dropped), and the logged
// ACC32 over the download range from MainImageOffset. MainAcc32 keeps its value;
// ChipChecksum becomes that ACC32 plus the ACC32 of the data-flash image [0, EepSize - 1].
void CalcReadMainChecksum(ChipModel& model, MessageLog& log);
// End of a data-flash read-back: EepCheck16 and EepSum16 over [0, EepSize - 1], and the
// logged ACC32 over the same bytes. EepAcc32 keeps its value.
void CalcReadEepChecksum(ChipModel& model, MessageLog& log);

}  // namespace qx
