// The assignments every family starts from, and the rules of each maker's module.
#include <array>

#include "chips/FamilyRules.h"
#include "chips/MakerRegistry.h"

namespace qx {

using F = ChipField;

std::span<const FieldValue> CommonFieldValues() {
  static const std::array<FieldValue, 21> kCommon = {
      Put(F::ProtocolKind, 0x55),  Put(F::OptionCode, 0),     Put(F::ProtectBits, 0),
      Put(F::ChipExtraByte, 0),    Put(F::DeviceAddress, 0),  Put(F::FamilyParam1, 0),
      Put(F::FamilyParam2, 0),     Put(F::InterfaceFlags, 0x80), Put(F::ResetFlags, 0),
      Put(F::ProgramFlags, 0x17),  Put(F::EraseFlags, 0),     Put(F::ExtControl1, 0),
      Put(F::ExtControl2, 0),      Put(F::ExtControl3, 0),    Put(F::BlankIsZero, 0),
      Put(F::UseFlashDriver, 1),   Put(F::InfoStart, NoWindow), Put(F::InfoEnd, NoWindow),
      Put(F::OptionStart, NoWindow), Put(F::OptionEnd, NoWindow), Put(F::MainImageOffset, 0),
  };
  return kCommon;
}

const FamilyRules& RulesOf(Maker maker) {
  static const std::array<FamilyRules, MakerCount> kRules = [] {
    std::array<FamilyRules, MakerCount> rules;
    for (std::size_t i = 0; i < MakerCount; ++i) rules[i] = MakerModules[i]->rules();
    return rules;
  }();
  return kRules[TableIndexOf(maker)];
}

}  // namespace qx
