#pragma once
// The download of everything a unit needs for stand-alone programming: chip data, the flash
// driver when the family needs one, main-flash data, data-flash data when selected; then
// the start of the unit's own programming.
#include "programmer/UnitSessions.h"

namespace qx {

void StartDownloadChipData(UnitSessions& s, u8 k);
void StartDownloadDriver(UnitSessions& s, u8 k);
void StartDownloadMain(UnitSessions& s, u8 k);
void StartDownloadEep(UnitSessions& s, u8 k);
void FinishDownload(UnitSessions& s, u8 k);

void HandleDownloadChipDataResult(UnitSessions& s, u8 k, u8 code);
void HandleDownloadDriverResult(UnitSessions& s, u8 k, u8 code);
void HandleDownloadMainResult(UnitSessions& s, u8 k, u8 code);
void HandleDownloadEepResult(UnitSessions& s, u8 k, u8 code);

}  // namespace qx
