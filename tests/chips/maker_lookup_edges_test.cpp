// The lookups by maker index at the end of their tables and one past it: the last maker
// (12) finds its own entry, 13 and beyond stand for Silergy where callers take its place
// and for none where they do not, and a model position one past a list selects nothing.
// Under the asan preset a read past a table fails here even where its value would pass.
#include <gtest/gtest.h>

#include <string>

#include "chips/ChipModelLists.h"
#include "chips/ChipSelect.h"
#include "chips/FamilyRules.h"
#include "chips/MakerRegistry.h"
#include "tests/chips/ChipTestSupport.h"

namespace qx {
namespace {

TEST(MakerLookups, AtAndPastTheEndOfTheRegistry) {
  static_assert(MakerCount == 13, "the rows below name the last index and the first past it");
  const struct {
    u8 index;
    Maker stands;     // the group the index stands for
    bool hasModule;   // FindModule finds one (no stand-in)
  } cases[] = {
      {0, Maker::AutoChip, true},
      {12, Maker::Tea, true},
      {13, Maker::Silergy, false},
      {255, Maker::Silergy, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.index));
    EXPECT_EQ(MakerOf(c.index), c.stands);
    EXPECT_EQ(TableIndexOf(static_cast<Maker>(c.index)), IndexOf(c.stands));
    const MakerModule& module = ModuleOf(static_cast<Maker>(c.index));
    EXPECT_EQ(module.maker, c.stands);
    EXPECT_EQ(&module, MakerModules[IndexOf(c.stands)]);
    EXPECT_EQ(FindModule(c.index), c.hasModule ? &module : nullptr);
    EXPECT_EQ(&RulesOf(static_cast<Maker>(c.index)), &RulesOf(c.stands));
    EXPECT_EQ(ModelsOfMaker(c.index).data(), module.models.data());
  }
  EXPECT_EQ(ModuleOf(Maker::Count).maker, UnknownMakerStandsFor);
  EXPECT_NE(&RulesOf(Maker::Tea), &RulesOf(Maker::Silergy));
}

TEST(MakerLookups, TheLastModelOfEachListIsSelectedAndTheOnePastItIsNot) {
  for (u8 index = 0; index <= MakerCount; ++index) {
    SCOPED_TRACE(static_cast<int>(index));
    const auto models = ModelsOfMaker(index);
    ASSERT_FALSE(models.empty());
    const auto last = static_cast<u8>(models.size() - 1);
    auto m = test::FreshModel();
    SelectListedChip(*m, index, last);
    EXPECT_EQ(m->ChipName, models[last]);
    EXPECT_EQ(m->Params.ManufacturerIndex, IndexOf(MakerOf(index)));
    auto untouched = test::FreshModel();
    EXPECT_FALSE(SelectListedChip(*untouched, index, static_cast<u8>(models.size())));
    EXPECT_EQ(untouched->ChipName, "");
    EXPECT_EQ(untouched->ChipSelected, 0);
  }
}

}  // namespace
}  // namespace qx
