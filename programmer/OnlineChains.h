#pragma once
// The on-line operations on the chip in each unit: blank check, erase, programming and
// verification of main flash and data flash, option data, and the reads.
#include <string_view>

#include "programmer/UnitSessions.h"

namespace qx {

void StartBlankCheck(UnitSessions& s, u8 k);
// The blank check's opening and request under a start line of the caller's: the single
// command and the first step of the automatic chain share its length, gauge and time-out.
void OpenBlankCheck(UnitSessions& s, u8 k, std::string_view text);
void StartErase(UnitSessions& s, u8 k, std::string_view text);
void StartProgramMain(UnitSessions& s, u8 k);
void StartProgramEep(UnitSessions& s, u8 k);
void FinishProgramMain(UnitSessions& s, u8 k);
void StartVerifyMain(UnitSessions& s, u8 k);
void StartVerifyEep(UnitSessions& s, u8 k);
void StartWriteOption(UnitSessions& s, u8 k);
void StartReadOption(UnitSessions& s, u8 k);
void StartReadMain(UnitSessions& s, u8 k);
void StartReadEep(UnitSessions& s, u8 k);
void StartReadChecksum(UnitSessions& s, u8 k);

void HandleBlankCheckResult(UnitSessions& s, u8 k, u8 code);
void HandleEraseResult(UnitSessions& s, u8 k, u8 code);
void HandleProgramMainResult(UnitSessions& s, u8 k, u8 code);
void HandleProgramEepResult(UnitSessions& s, u8 k, u8 code);
void HandleVerifyMainResult(UnitSessions& s, u8 k, u8 code);
void HandleVerifyEepResult(UnitSessions& s, u8 k, u8 code);
void HandleWriteOptionResult(UnitSessions& s, u8 k, u8 code);
void HandleReadOptionResult(UnitSessions& s, u8 k, u8 code);
void HandleReadMainResult(UnitSessions& s, u8 k, u8 code);
void HandleReadEepResult(UnitSessions& s, u8 k, u8 code);
void HandleReadChecksumResult(UnitSessions& s, u8 k, u8 code);
// Unit 0 only: the chip-information read and the read of ReadLength bytes from ReadStart,
// and their replies.
void StartReadChipInfo(UnitSessions& s, u8 k);
void StartReadAddress(UnitSessions& s, u8 k);
void HandleReadChipInfoResult(UnitSessions& s, u8 k, u8 code);
void HandleReadAddressResult(UnitSessions& s, u8 k, u8 code);

}  // namespace qx
