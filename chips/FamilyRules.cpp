#include "chips/FamilyRules.h"

#include "chips/OptionDefaults.h"

namespace qx {

bool NameTestHolds(const NameTest& test, std::string_view name, const ChipModel& model) {
  switch (test.kind) {
    case NameTest::Kind::BeginsWith: return name.starts_with(test.text);
    case NameTest::Kind::Equals: return name == test.text;
    case NameTest::Kind::CharacterIs:
      return test.position >= 1 && test.position <= name.size() && name[test.position - 1] == test.character;
    case NameTest::Kind::SubtypeBelow: return model.Params.Subtype < test.limit;
  }
  return false;
}

namespace {

u8 B(u32 v) { return static_cast<u8>(v); }
u16 W(u32 v) { return static_cast<u16>(v); }

bool RowHolds(const NameRule& row, std::string_view name, const ChipModel& model) {
  for (const auto& t : row.tests) {
    if (!NameTestHolds(t, name, model)) return false;
  }
  return true;
}

void ApplyOptionDefault(ChipModel& model, OptionDefault d) {
  switch (d) {
    case OptionDefault::Unchanged: break;
    case OptionDefault::Cleared: ClearOptionImage(model); break;
    case OptionDefault::Filled: FillOptionImage(model); break;
    case OptionDefault::AC78x: InitOptionAC78x(model); break;
    case OptionDefault::Lcmp: InitOptionLcmp(model); break;
  }
}

}  // namespace

void ApplyFieldValue(ChipModel& model, const FieldValue& fv, u8 modelIndex) {
  const u32 v = fv.fromListPosition ? modelIndex : fv.value;
  auto& p = model.Params;
  auto& c = model.Control;
  switch (fv.field) {
    case ChipField::ProtocolKind: p.ProtocolKind = B(v); break;
    case ChipField::FamilyCode: p.FamilyCode = B(v); break;
    case ChipField::Subtype: p.Subtype = B(v); break;
    case ChipField::OptionCode: p.OptionCode = B(v); break;
    case ChipField::ProtectBits: model.ProtectBits = B(v); break;
    case ChipField::ChipExtraByte: model.ChipExtraByte = B(v); break;
    case ChipField::DeviceAddress: model.DeviceAddress = B(v); break;
    case ChipField::FamilyParam1: model.FamilyParam1 = B(v); break;
    case ChipField::FamilyParam2: model.FamilyParam2 = B(v); break;
    case ChipField::InterfaceFlags: c.InterfaceFlags = B(v); break;
    case ChipField::PowerFlags: c.PowerFlags = B(v); break;
    case ChipField::ResetFlags: c.ResetFlags = B(v); break;
    case ChipField::ProgramFlags: c.ProgramFlags = B(v); break;
    case ChipField::EraseFlags: c.EraseFlags = B(v); break;
    case ChipField::ExtControl1: c.ExtControl1 = B(v); break;
    case ChipField::ExtControl2: c.ExtControl2 = B(v); break;
    case ChipField::ExtControl3: c.ExtControl3 = B(v); break;
    case ChipField::BlankIsZero: p.BlankIsZero = B(v); break;
    case ChipField::UseFlashDriver: p.UseFlashDriver = B(v); break;
    case ChipField::MainFlashStart: p.MainFlashStart = v; break;
    case ChipField::MainFlashSize: p.MainFlashSize = v; break;
    case ChipField::MainPageSize: p.MainPageSize = W(v); break;
    case ChipField::EepPageSize: p.EepPageSize = W(v); break;
    case ChipField::EepStart: p.EepStart = v; break;
    case ChipField::EepSize: p.EepSize = v; break;
    case ChipField::InfoStart: p.InfoStart = v; break;
    case ChipField::InfoEnd: p.InfoEnd = v; break;
    case ChipField::OptionStart: p.OptionStart = v; break;
    case ChipField::OptionEnd: p.OptionEnd = v; break;
    case ChipField::MainImageOffset: p.MainImageOffset = v; break;
    case ChipField::ChipSelected: model.ChipSelected = B(v); break;
  }
}

void ApplyFamilyRules(ChipModel& model, const FamilyRules& rules, std::string_view name, u8 modelIndex) {
  for (const auto& v : CommonFieldValues()) ApplyFieldValue(model, v, modelIndex);
  for (const auto& v : rules.values) ApplyFieldValue(model, v, modelIndex);
  for (const auto& table : rules.tables) {
    for (const auto& row : table) {
      if (!RowHolds(row, name, model)) continue;
      for (const auto& v : row.values) ApplyFieldValue(model, v, modelIndex);
      break;
    }
  }

  auto& p = model.Params;
  p.MainFlashEnd = p.MainFlashStart + p.MainFlashSize - 1;
  if (p.EepSize != 0) {
    p.EepEnd = p.EepStart + p.EepSize - 1;
  } else if (rules.keepsEmptyEepWindow) {
    p.EepEnd = p.EepStart;
  } else {
    p.EepStart = NoWindow;
    p.EepEnd = NoWindow;
  }
  ApplyOptionDefault(model, rules.option);
}

}  // namespace qx
