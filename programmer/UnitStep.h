#pragma once
// The step whose reply a unit awaits; it selects the result handler of a reply.
#include "base/Types.h"

namespace qx {

enum UnitStep : u8 {
  StepDownloadChipData = 3,
  StepDownloadMain = 5,
  StepDownloadEep = 6,
  StepDownloadDriver = 15,
  StepBlankCheck = 16,
  StepErase = 21,
  StepProgramMain = 25,
  StepProgramEep = 26,
  StepWriteOption = 31,
  StepVerifyMain = 32,
  StepVerifyEep = 35,
  StepReadMain = 37,
  StepReadEep = 38,
  StepReadChecksum = 42,
  StepReadOption = 44,
  StepReadChipInfo = 53,
  StepReadAddress = 58,
  StepFirmwareUpgrade = 160,
  StepIdle = 240,
};

}  // namespace qx
