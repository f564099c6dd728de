#pragma once
// The refreshes of the image views and sums that several commands share. The views are
// reached through the Operator; what only the window can do is returned to it.
#include <optional>
#include <string>

#include "base/MessageLog.h"
#include "base/Operator.h"
#include "images/ChipModel.h"

namespace qx {

// What a command leaves to the window once it returns.
struct WindowActions {
  bool ChipPageToFront = false;               // bring the chip settings page to the front
  bool CheckErsEEP = false;                   // tick "Erase Data Flash"
  std::optional<std::string> StatusFilePath;  // status-bar panel 2
};

// Every sum and its log lines, the status bar (ChecksumsChanged), the main grid over the
// programmed range and, for a chip with data flash, the data-flash grid; then the chip
// settings page comes to the front.
void RefreshChecksumsAndViews(ChipModel& model, MessageLog& log, Operator& op, WindowActions& actions);

// The option sums and the option grid.
void ShowOptionData(ChipModel& model, Operator& op);

// "Chip Actual Programmed Data Size is: ..." of DownloadSize.
std::string ProgrammedSizeLine(const ChipParams& params);

}  // namespace qx
