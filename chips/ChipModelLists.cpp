#include "chips/ChipModelLists.h"

#include "chips/MakerRegistry.h"

namespace qx {
namespace {

std::array<std::span<const std::string_view>, MakerCount> ListsOfModules() {
  std::array<std::span<const std::string_view>, MakerCount> lists{};
  for (std::size_t i = 0; i < MakerCount; ++i) lists[i] = MakerModules[i]->models;
  return lists;
}

}  // namespace

// The modules are constant-initialised, so they are in place before this runs.
const std::array<std::span<const std::string_view>, MakerCount> ChipModelLists = ListsOfModules();

std::span<const std::string_view> ModelsOfMaker(u8 manufacturerIndex) { return ModuleOf(MakerOf(manufacturerIndex)).models; }

}  // namespace qx
