#include "chips/FamilySetup.h"

#include "chips/MakerRegistry.h"

namespace qx {

WindowChanges SetupUiOfChip(const ChipModel& model) {
  return ModuleOf(MakerOf(model.Params.ManufacturerIndex)).windowSetup(model);
}

}  // namespace qx
