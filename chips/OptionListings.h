#pragma once
// Listings of the current option image in the message log ("Show Chip Option Data", the
// option buttons, and the Auto and Download commands of AutoChip chips).
#include "images/ChipModel.h"
#include "base/MessageLog.h"

namespace qx {

// One stamped line: "Current Option:" and the eight 16-bit words at bytes 0, 4, 8, 12, 16,
// 20, 40 and 44 (read protection, watchdog, ERP0..ERP3, USER0, USER1).
void ShowCurrentOptionAC78x(MessageLog& log, const ChipModel& model);
// Sixteen plain lines of sixteen bytes, each headed by its address in the option window.
void ShowCurrentOptionAucu(MessageLog& log, const ChipModel& model);
// Plain: an empty line, "> Chip Option Data:" and three lines of sixteen bytes.
void ShowCurrentOptionLcmp(MessageLog& log, const ChipModel& model);

}  // namespace qx
