#include "chips/ChipSelect.h"

#include <string>

#include "chips/ChipModelLists.h"
#include "chips/FamilyRules.h"

namespace qx {

void SelectFamily(ChipModel& model, u8 manufacturerIndex, std::string_view name, u8 modelIndex) {
  ApplyFamilyRules(model, RulesOf(MakerOf(manufacturerIndex)), name, modelIndex);
}

bool SelectChip(ChipModel& model, u8 manufacturerIndex, std::string_view name, u8 modelIndex) {
  model.ObjectLoaded = 0;
  model.ChipSelected = 1;
  model.Control.InterfaceFlags = static_cast<u8>(model.Control.InterfaceFlags & ~1u);
  model.Params.ManufacturerIndex = IndexOf(MakerOf(manufacturerIndex));
  model.ChipName = std::string(name);
  SelectFamily(model, manufacturerIndex, model.ChipName, modelIndex);
  model.Params.DownloadSize = model.Params.MainFlashSize;
  model.Params.EepDownloadSize = model.Params.EepSize;
  return model.ChipSelected != 0;
}

bool SelectListedChip(ChipModel& model, u8 manufacturerIndex, u8 modelIndex) {
  const auto models = ModelsOfMaker(manufacturerIndex);
  if (modelIndex >= models.size()) return false;
  return SelectChip(model, manufacturerIndex, models[modelIndex], modelIndex);
}

}  // namespace qx
