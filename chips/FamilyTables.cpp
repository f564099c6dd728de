// The selection data of the thirteen chip-maker families.
#include <array>

#include "chips/FamilyRules.h"

namespace qx {
namespace {

using F = ChipField;

// Size chosen by one character of the name: rows for each listed character, then the
// fallback row for any other character.
struct CharSize {
  char character;
  u32 size;
};

DecisionTable SizeByCharacter(std::size_t position, std::initializer_list<CharSize> sizes, u32 otherwise,
                              std::vector<NameTest> also = {}, std::vector<FieldValue> with = {}) {
  DecisionTable t;
  for (const auto& s : sizes) {
    auto tests = also;
    tests.push_back(CharacterIs(position, s.character));
    auto values = with;
    values.push_back(Put(F::MainFlashSize, s.size));
    t.push_back({std::move(tests), std::move(values)});
  }
  auto values = with;
  values.push_back(Put(F::MainFlashSize, otherwise));
  t.push_back({std::move(also), std::move(values)});
  return t;
}

DecisionTable Concat(std::initializer_list<DecisionTable> parts) {
  DecisionTable t;
  for (const auto& p : parts) t.insert(t.end(), p.begin(), p.end());
  return t;
}

// Size by name prefix, first match decides.
struct PrefixSize {
  std::string_view prefix;
  u32 size;
};

DecisionTable SizeByPrefix(std::initializer_list<PrefixSize> rows, u32 otherwise) {
  DecisionTable t;
  for (const auto& r : rows) t.push_back({{BeginsWith(r.prefix)}, {Put(F::MainFlashSize, r.size)}});
  t.push_back({{}, {Put(F::MainFlashSize, otherwise)}});
  return t;
}

FamilyRules AutoChip() {
  FamilyRules r;
  r.values = {Put(F::FamilyCode, 0x00), Put(F::PowerFlags, 0x81)};
  r.tables.push_back(Concat({
      SizeByCharacter(9, {{'A', 0x4000}, {'B', 0x8000}, {'C', 0x10000}, {'D', 0x20000}}, 0x20000,
                      {BeginsWith("AC7801")}, {Put(F::Subtype, 0)}),
      SizeByCharacter(7, {{'J', 0x8000}, {'M', 0x10000}, {'O', 0x20000}, {'Q', 0x40000}}, 0x40000,
                      {BeginsWith("AC781")}, {Put(F::Subtype, 1)}),
      SizeByCharacter(9, {{'D', 0x20000}, {'E', 0x40000}, {'F', 0x80000}, {'G', 0x100000}}, 0x80000,
                      {BeginsWith("AC7840")}, {Put(F::Subtype, 16)}),
      DecisionTable{{{}, {Put(F::ChipSelected, 0)}}},
  }));
  // The layout follows the subtype in force after the name test.
  r.tables.push_back({
      {{SubtypeBelow(16)},
       {Put(F::OptionCode, 8), Put(F::MainFlashStart, 0x08000000), Put(F::MainPageSize, 2048),
        Put(F::EepPageSize, 1024), Put(F::EepSize, 0)}},
      {{},
       {Put(F::OptionCode, 0xFF), Put(F::MainFlashStart, 0x00000000), Put(F::MainPageSize, 2048),
        Put(F::EepPageSize, 2048), Put(F::EepStart, 0x01000000), Put(F::EepSize, 0x20000),
        Put(F::OptionStart, 0x00200000), Put(F::OptionEnd, 0x00200FFF)}},
  });
  r.option = OptionDefault::AC78x;
  return r;
}

FamilyRules Indie() {
  FamilyRules r;
  r.values = {Put(F::FamilyCode, 0x01), Put(F::PowerFlags, 0x80), Put(F::MainFlashStart, 0),
              Put(F::MainPageSize, 512), Put(F::EepPageSize, 512), Put(F::EepSize, 0)};
  r.tables.push_back({
      {{BeginsWith("IND832")},
       {PutListPosition(F::Subtype), Put(F::MainFlashSize, 0x10000), Put(F::InterfaceFlags, 0x80),
        Put(F::ResetFlags, 0x40)}},
      {{},
       {Put(F::Subtype, 16), Put(F::MainFlashSize, 0x27F00), Put(F::InterfaceFlags, 0x82),
        Put(F::ResetFlags, 0)}},
  });
  r.option = OptionDefault::Cleared;
  return r;
}

FamilyRules Lapis() {
  FamilyRules r;
  // The data-flash sector size is not the family's to choose; 0 keeps every command of a
  // LAPIS chip independent of the chip chosen before it.
  r.values = {Put(F::FamilyCode, 0x10), Put(F::PowerFlags, 0x00), Put(F::MainFlashStart, 0x10000000),
              Put(F::MainPageSize, 1024), Put(F::EepPageSize, 0), Put(F::EepStart, 0x18000000)};
  r.tables.push_back({
      {{Equals("ML630Q464")},
       {Put(F::MainFlashSize, 0x8000), Put(F::EepSize, 0x800), PutListPosition(F::Subtype)}},
      {{Equals("ML630Q466")},
       {Put(F::MainFlashSize, 0x10000), Put(F::EepSize, 0x800), PutListPosition(F::Subtype)}},
      {{Equals("ML630Q448")}, {Put(F::MainFlashSize, 0x80000), Put(F::EepSize, 0x2000), Put(F::Subtype, 16)}},
      {{}, {Put(F::MainFlashSize, 0x80000), Put(F::EepSize, 0x800), PutListPosition(F::Subtype)}},
  });
  r.option = OptionDefault::Cleared;
  return r;
}

FamilyRules Aucu() {
  FamilyRules r;
  r.values = {Put(F::FamilyCode, 0x18),        Put(F::Subtype, 0),           Put(F::OptionCode, 0xFF),
              Put(F::InterfaceFlags, 0x08),    Put(F::PowerFlags, 0x81),     Put(F::EraseFlags, 0x80),
              Put(F::UseFlashDriver, 0),       Put(F::MainFlashStart, 0x03000000), Put(F::MainFlashSize, 0x8000),
              Put(F::MainPageSize, 512),       Put(F::EepPageSize, 512),     Put(F::EepStart, 0x03026000),
              Put(F::EepSize, 0x2000),         Put(F::OptionStart, 0x03802000), Put(F::OptionEnd, 0x03803FFF)};
  r.option = OptionDefault::Filled;
  return r;
}

FamilyRules Meiren() {
  FamilyRules r;
  r.values = {Put(F::FamilyCode, 0x04), Put(F::PowerFlags, 0x81),       Put(F::MainFlashStart, 0),
              Put(F::MainPageSize, 512), Put(F::EepPageSize, 512),       Put(F::EepStart, 0x1FFFE000),
              Put(F::EepSize, 0x1A00)};
  r.tables.push_back({
      {{CharacterIs(8, '5')}, {Put(F::Subtype, 0), Put(F::InterfaceFlags, 0x80)}},
      {{}, {Put(F::Subtype, 4), Put(F::InterfaceFlags, 0x81)}},
  });
  r.tables.push_back(SizeByCharacter(9, {{'B', 0x10000}, {'C', 0x20000}, {'D', 0x40000}}, 0x40000));
  r.option = OptionDefault::Cleared;
  return r;
}

FamilyRules Lcm() {
  FamilyRules r;
  r.values = {Put(F::FamilyCode, 0x18),  Put(F::Subtype, 0),        Put(F::OptionCode, 0x0A),
              Put(F::PowerFlags, 0x81),  Put(F::ExtControl1, 1),    Put(F::MainFlashStart, 0x08000000),
              Put(F::MainPageSize, 512), Put(F::EepPageSize, 512),  Put(F::EepSize, 0),
              Put(F::OptionStart, 0x1FFFF600), Put(F::OptionEnd, 0x1FFFF7FF)};
  r.tables.push_back(Concat({
      DecisionTable{{{BeginsWith("LCP037")}, {Put(F::MainFlashSize, 0x8000)}}},
      SizeByCharacter(11, {{'4', 0x4000}, {'6', 0x8000}, {'8', 0x10000}}, 0x20000),
  }));
  r.option = OptionDefault::Lcmp;
  return r;
}

FamilyRules CmSemi() {
  struct Row {
    std::string_view prefix;
    u32 size;
    u32 eepSize;
    u32 eepStart;
  };
  static constexpr std::array<Row, 9> kRows = {{
      {"BAT32G127", 0x20000, 0xA00, 0x500200},
      {"BAT32G133", 0x8000, 0x600, 0x500000},
      {"BAT32G135", 0x10000, 0x600, 0x500000},
      {"BAT32G137", 0x20000, 0x600, 0x500000},
      {"BAT32G179", 0x80000, 0x5000, 0x501000},
      {"BAT32A237", 0, 0x600, 0x500000},  // size by character 11, below
      {"BAT32A239", 0x40000, 0xA00, 0x500200},
      {"BAT32A279", 0x80000, 0x5000, 0x501000},
      {"CMS32M65", 0x10000, 0x400, 0x500200},
  }};
  FamilyRules r;
  r.values = {Put(F::FamilyCode, 0x08), Put(F::Subtype, 0), Put(F::PowerFlags, 0x00),
              Put(F::MainFlashStart, 0), Put(F::MainPageSize, 256), Put(F::EepPageSize, 256)};
  DecisionTable t;
  for (const auto& row : kRows) {
    std::vector<FieldValue> values = {Put(F::EepSize, row.eepSize), Put(F::EepStart, row.eepStart)};
    if (row.size == 0) {
      auto bySize = SizeByCharacter(11, {{'E', 0x10000}, {'H', 0x20000}}, 0x40000, {BeginsWith(row.prefix)}, values);
      t.insert(t.end(), bySize.begin(), bySize.end());
      continue;
    }
    values.push_back(Put(F::MainFlashSize, row.size));
    t.push_back({{BeginsWith(row.prefix)}, std::move(values)});
  }
  t.push_back({{}, {Put(F::MainFlashSize, 0x20000), Put(F::EepSize, 0x400), Put(F::EepStart, 0x500000)}});
  r.tables.push_back(std::move(t));
  r.option = OptionDefault::Cleared;
  return r;
}

FamilyRules Sonix() {
  FamilyRules r;
  r.values = {Put(F::FamilyCode, 0x02), Put(F::Subtype, 0),      Put(F::PowerFlags, 0x00),
              Put(F::BlankIsZero, 1),   Put(F::MainFlashStart, 0), Put(F::MainPageSize, 64),
              Put(F::EepPageSize, 64),  Put(F::EepStart, 0x1FFF0000), Put(F::EepSize, 0)};
  r.tables.push_back(SizeByPrefix({{"SN32F774", 0x8000},
                                   {"SN32F773", 0x8000},
                                   {"SN32F70", 0x8000},
                                   {"SN32F80", 0x8000},
                                   {"SN32F24", 0x10000},
                                   {"SN32F26", 0x8000},
                                   {"SN32F75", 0x8000},
                                   {"SN32F76", 0x10000},
                                   {"SN32F78", 0x20000},
                                   {"SN32F79", 0x20000},
                                   {"SN32F28", 0x20000}},
                                  0x10000));
  r.option = OptionDefault::Cleared;
  r.keepsEmptyEepWindow = true;
  return r;
}

FamilyRules Spintrol() {
  FamilyRules r;
  r.values = {Put(F::FamilyCode, 0x20),   Put(F::Subtype, 0),          Put(F::PowerFlags, 0x01),
              Put(F::ResetFlags, 0x40),   Put(F::MainFlashStart, 0x10000000), Put(F::MainFlashSize, 0x20000),
              Put(F::MainPageSize, 4096), Put(F::EepPageSize, 4096),   Put(F::EepStart, 0x11002000),
              Put(F::EepSize, 0x3000)};
  r.option = OptionDefault::Filled;
  return r;
}

FamilyRules Lingsi() {
  FamilyRules r;
  r.values = {Put(F::FamilyCode, 0x01),    Put(F::Subtype, 0xFE),      Put(F::PowerFlags, 0x81),
              Put(F::ProgramFlags, 0x15),  Put(F::MainFlashStart, 0x18000000), Put(F::MainFlashSize, 0x80000),
              Put(F::MainPageSize, 512),   Put(F::EepPageSize, 512),   Put(F::EepSize, 0)};
  r.option = OptionDefault::Unchanged;
  return r;
}

FamilyRules Silergy() {
  FamilyRules r;
  r.values = {Put(F::FamilyCode, 0x14),   PutListPosition(F::Subtype), Put(F::OptionCode, 1),
              Put(F::PowerFlags, 0x81),   Put(F::MainFlashStart, 0),   Put(F::MainPageSize, 4096),
              Put(F::EepPageSize, 4096),  Put(F::EepStart, 0x20020000), Put(F::EepSize, 0x20000)};
  r.tables.push_back(SizeByCharacter(7, {{'6', 0x80000}, {'4', 0x40000}, {'2', 0x20000}}, 0x80000));
  r.option = OptionDefault::Cleared;
  return r;
}

FamilyRules Toshiba() {
  FamilyRules r;
  r.values = {Put(F::FamilyCode, 0x40), Put(F::Subtype, 0),        Put(F::PowerFlags, 0x01),
              Put(F::MainFlashStart, 0), Put(F::MainPageSize, 1024), Put(F::EepPageSize, 256),
              Put(F::EepStart, 0x30000000), Put(F::EepSize, 0)};
  const std::vector<FieldValue> m4k = {Put(F::Subtype, 0x20), Put(F::EraseFlags, 0x10), Put(F::MainPageSize, 4096),
                                       Put(F::EepSize, 0x8000)};
  // A TMPM4K name without a known size letter gets the family's smaller size.
  const DecisionTable byPrefix = SizeByPrefix({{"TMPM370", 0x40000},
                                               {"TMPM372", 0x20000},
                                               {"TMPM373", 0x20000},
                                               {"TMPM374", 0x20000},
                                               {"TMPM380FW", 0x20000},
                                               {"TMPM380FY", 0x40000}},
                                              0x20000);
  r.tables.push_back(Concat({
      DecisionTable(byPrefix.begin(), byPrefix.end() - 1),
      SizeByCharacter(9, {{'Y', 0x40000}, {'W', 0x20000}}, 0x20000, {BeginsWith("TMPM4K")}, m4k),
      DecisionTable(byPrefix.end() - 1, byPrefix.end()),
  }));
  r.option = OptionDefault::Cleared;
  return r;
}

FamilyRules Tea() {
  FamilyRules r;
  r.values = {Put(F::FamilyCode, 0x12),   PutListPosition(F::Subtype), Put(F::OptionCode, 2),
              Put(F::PowerFlags, 0x81),   Put(F::ProtectBits, 0xAA),   Put(F::MainFlashStart, 0x08000000),
              Put(F::MainFlashSize, 0x40000), Put(F::MainPageSize, 4096), Put(F::EepPageSize, 512),
              Put(F::EepSize, 0)};
  r.option = OptionDefault::Cleared;
  return r;
}

}  // namespace

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
  static const std::array<FamilyRules, MakerCount> kRules = {
      AutoChip(), Indie(),  Lapis(),  Aucu(),    Meiren(),  Lcm(), CmSemi(),
      Sonix(),    Spintrol(), Lingsi(), Silergy(), Toshiba(), Tea(),
  };
  const auto i = IndexOf(maker);
  return kRules[i < MakerCount ? i : IndexOf(Maker::Silergy)];
}

}  // namespace qx
