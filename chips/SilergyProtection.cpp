#include "chips/SilergyProtection.h"

namespace qx {

SilergyProtectionControls SilergyControlsFromChip(const ChipModel& model) {
  return {(model.ProtectBits & 1) != 0, (model.ProtectBits & 2) != 0};
}

void WriteSilergyProtection(const SilergyProtectionControls& controls, ChipModel& model) {
  model.ProtectBits = static_cast<u8>((controls.NoSwdRead ? 1 : 0) | (controls.NoCpuRead ? 2 : 0));
  model.OptionsChanged = model.ProtectBits != 0 ? 1 : 0;
}

}  // namespace qx
