#pragma once
// Chip-family selection as data: each maker's family is a list of field assignments plus
// ordered decision tables over the model name. Applying a family writes only the fields its
// data names, so everything else in the chip state keeps its previous value.
#include <span>
#include <string_view>
#include <vector>

#include "chips/Makers.h"
#include "images/ChipModel.h"

namespace qx {

// The chip-state fields a family may write.
enum class ChipField : u8 {
  ProtocolKind,
  FamilyCode,
  Subtype,
  OptionCode,
  ProtectBits,
  ChipExtraByte,
  DeviceAddress,
  FamilyParam1,
  FamilyParam2,
  InterfaceFlags,
  PowerFlags,
  ResetFlags,
  ProgramFlags,
  EraseFlags,
  ExtControl1,
  ExtControl2,
  ExtControl3,
  BlankIsZero,
  UseFlashDriver,
  MainFlashStart,
  MainFlashSize,
  MainPageSize,
  EepPageSize,
  EepStart,
  EepSize,
  InfoStart,
  InfoEnd,
  OptionStart,
  OptionEnd,
  MainImageOffset,
  ChipSelected,
};

// One assignment: a fixed value, or the model's position in its maker's list.
struct FieldValue {
  ChipField field;
  u32 value = 0;
  bool fromListPosition = false;
};

constexpr FieldValue Put(ChipField f, u32 v) { return {f, v, false}; }
constexpr FieldValue PutListPosition(ChipField f) { return {f, 0, true}; }

// One condition on the name (positions count from 1; a name too short for a character
// test fails it) or on the state written so far.
struct NameTest {
  enum class Kind : u8 { BeginsWith, Equals, CharacterIs, SubtypeBelow };
  Kind kind;
  std::string_view text{};
  std::size_t position = 0;
  char character = 0;
  u8 limit = 0;
};

constexpr NameTest BeginsWith(std::string_view p) { return {NameTest::Kind::BeginsWith, p}; }
constexpr NameTest Equals(std::string_view p) { return {NameTest::Kind::Equals, p}; }
constexpr NameTest CharacterIs(std::size_t k, char c) { return {NameTest::Kind::CharacterIs, {}, k, c}; }
constexpr NameTest SubtypeBelow(u8 limit) { return {NameTest::Kind::SubtypeBelow, {}, 0, 0, limit}; }

// A row of a decision table: every test must hold (no test: any name).
struct NameRule {
  std::vector<NameTest> tests;
  std::vector<FieldValue> values;
};

// First matching row decides; a table without a matching row writes nothing.
using DecisionTable = std::vector<NameRule>;

enum class OptionDefault : u8 { Unchanged, Cleared, Filled, AC78x, Lcmp };

struct FamilyRules {
  std::vector<FieldValue> values;      // this family's fixed values, after the common rule
  std::vector<DecisionTable> tables;   // applied in order, after the fixed values
  OptionDefault option = OptionDefault::Unchanged;
  // SONIX keeps a one-address data-flash window at EepStart although its size is 0.
  bool keepsEmptyEepWindow = false;
};

// The assignments every family starts from.
std::span<const FieldValue> CommonFieldValues();

// The rules of a maker (an index outside the known groups: Silergy).
const FamilyRules& RulesOf(Maker maker);

bool NameTestHolds(const NameTest& test, std::string_view name, const ChipModel& model);

// Writes one assignment into the model.
void ApplyFieldValue(ChipModel& model, const FieldValue& v, u8 modelIndex);

// The common rule, the family's values and tables, the derived window ends and the option
// default, in this order.
void ApplyFamilyRules(ChipModel& model, const FamilyRules& rules, std::string_view name, u8 modelIndex);

}  // namespace qx
