#include "chips/FamilyTableParts.h"

namespace qx::rules {

DecisionTable SizeByCharacter(std::size_t position, std::initializer_list<CharSize> sizes, u32 otherwise,
                              std::vector<NameTest> also, std::vector<FieldValue> with) {
  DecisionTable t;
  for (const auto& s : sizes) {
    auto tests = also;
    tests.push_back(CharacterIs(position, s.character));
    auto values = with;
    values.push_back(Put(ChipField::MainFlashSize, s.size));
    t.push_back({std::move(tests), std::move(values)});
  }
  auto values = with;
  values.push_back(Put(ChipField::MainFlashSize, otherwise));
  t.push_back({std::move(also), std::move(values)});
  return t;
}

DecisionTable Concat(std::initializer_list<DecisionTable> parts) {
  DecisionTable t;
  for (const auto& p : parts) t.insert(t.end(), p.begin(), p.end());
  return t;
}

DecisionTable SizeByPrefix(std::initializer_list<PrefixSize> rows, u32 otherwise) {
  DecisionTable t;
  for (const auto& r : rows) t.push_back({{BeginsWith(r.prefix)}, {Put(ChipField::MainFlashSize, r.size)}});
  t.push_back({{}, {Put(ChipField::MainFlashSize, otherwise)}});
  return t;
}

}  // namespace qx::rules
