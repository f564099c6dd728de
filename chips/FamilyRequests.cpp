#include "chips/FamilyRequests.h"

#include <array>
#include <optional>

#include "chips/MakerRegistry.h"

namespace qx {
namespace {

struct FamilyEntry {
  u8 FamilyCode;
  FamilyRequests Requests;
};

// A family no maker module selects; a project file may still carry its code.
constexpr FamilyEntry kFamiliesWithoutModule[] = {
    {0xC0, {.commonInChipCommands = false, .commonInProgramBlocks = false, .longOptionWrite = true}},
};

std::optional<u8> FamilyCodeOf(const MakerModule& m) {
  for (const FieldValue& v : m.rules().values) {
    if (v.field == ChipField::FamilyCode && !v.fromListPosition) return static_cast<u8>(v.value);
  }
  return std::nullopt;
}

// Read once: the selection rules are built on each call.
const std::array<std::optional<u8>, MakerCount>& ModuleFamilies() {
  static const std::array<std::optional<u8>, MakerCount> families = [] {
    std::array<std::optional<u8>, MakerCount> f{};
    for (std::size_t i = 0; i < MakerCount; ++i) f[i] = FamilyCodeOf(*MakerModules[i]);
    return f;
  }();
  return families;
}

}  // namespace

FamilyRequests RequestsOfFamily(u8 familyCode) {
  const auto& families = ModuleFamilies();
  for (std::size_t i = 0; i < MakerCount; ++i) {
    if (families[i] == familyCode) return MakerModules[i]->requests;
  }
  for (const FamilyEntry& e : kFamiliesWithoutModule) {
    if (e.FamilyCode == familyCode) return e.Requests;
  }
  return kPlainFamilyRequests;
}

}  // namespace qx
