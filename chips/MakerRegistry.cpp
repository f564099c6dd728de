#include "chips/MakerRegistry.h"

#include <cstddef>

namespace qx {

#define QX_MAKER(name, index) extern const MakerModule name##Maker;
#include "chips/MakerList.def"
#undef QX_MAKER

namespace {

constexpr auto kListed = std::to_array<const MakerModule*>({
#define QX_MAKER(name, index) &name##Maker,
#include "chips/MakerList.def"
#undef QX_MAKER
});

constexpr auto kIndices = std::to_array<std::size_t>({
#define QX_MAKER(name, index) index,
#include "chips/MakerList.def"
#undef QX_MAKER
});

constexpr bool InIndexOrder() {
  for (std::size_t i = 0; i < kIndices.size(); ++i) {
    if (kIndices[i] != i) return false;
  }
  return true;
}

static_assert(kListed.size() == MakerCount, "every maker index needs its module");
static_assert(InIndexOrder(), "maker lines stand in index order, without gaps");

}  // namespace

constinit const std::array<const MakerModule*, MakerCount> MakerModules = kListed;

const MakerModule& ModuleOf(Maker maker) { return *MakerModules[TableIndexOf(maker)]; }

const MakerModule* FindModule(u8 manufacturerIndex) {
  return manufacturerIndex < MakerCount ? MakerModules[manufacturerIndex] : nullptr;
}

const MakerDifferences& DifferencesOf(u8 manufacturerIndex) { return ModuleOf(MakerOf(manufacturerIndex)).differs; }

std::string_view DriverStemOf(std::string_view chipName) {
  for (const MakerModule* m : MakerModules) {
    for (const DriverFileRow& row : m->driverFiles) {
      if (chipName.starts_with(row.Prefix)) return row.Stem;
    }
  }
  return {};
}

}  // namespace qx
