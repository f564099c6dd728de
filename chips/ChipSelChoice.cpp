#include "chips/ChipSelChoice.h"

#include "chips/ChipModelLists.h"
#include "chips/ChipSelect.h"

namespace qx {

bool ConfirmChipSelection(ChipModel& model, u8 makerIndex, int row) {
  const auto models = ModelsOfMaker(makerIndex);
  if (row < 0 || static_cast<std::size_t>(row) >= models.size()) return false;
  const auto position = static_cast<u8>(row);
  SelectChip(model, makerIndex, models[position], position);
  return true;
}

}  // namespace qx
