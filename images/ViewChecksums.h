#pragma once
// The image sums the main window shows: computed over the programmed ranges, written to the
// message log, and the status-bar texts that show them.
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

}  // namespace qx
