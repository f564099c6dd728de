#pragma once
// Read protection of the Silergy chips (ProtectBits) as the protection dialog shows it.
#include "images/ChipModel.h"

namespace qx {

struct SilergyProtectionControls {
  bool NoSwdRead = false;  // ChkBoxSWDRD: bit 0, no direct flash read through SWD/JTAG
  bool NoCpuRead = false;  // ChkBoxCpuRD: bit 1, no indirect flash access by CPU or SWD
};

SilergyProtectionControls SilergyControlsFromChip(const ChipModel& model);

// OK: ProtectBits from the two boxes (bits 2..7 cleared); OptionsChanged set exactly when
// any protection is on.
void WriteSilergyProtection(const SilergyProtectionControls& controls, ChipModel& model);

}  // namespace qx
