#pragma once
// Building blocks of the makers' selection tables.
#include <initializer_list>
#include <string_view>
#include <vector>

#include "chips/FamilyRules.h"

namespace qx::rules {

// Size chosen by one character of the name: rows for each listed character, then the
// fallback row for any other character.
struct CharSize {
  char character;
  u32 size;
};

DecisionTable SizeByCharacter(std::size_t position, std::initializer_list<CharSize> sizes, u32 otherwise,
                              std::vector<NameTest> also = {}, std::vector<FieldValue> with = {});

DecisionTable Concat(std::initializer_list<DecisionTable> parts);

// Size by name prefix, first match decides.
struct PrefixSize {
  std::string_view prefix;
  u32 size;
};

DecisionTable SizeByPrefix(std::initializer_list<PrefixSize> rows, u32 otherwise);

}  // namespace qx::rules
