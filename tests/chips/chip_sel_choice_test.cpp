#include <gtest/gtest.h>

#include "tests/chips/ChipTestSupport.h"
#include "chips/ChipSelChoice.h"
#include "chips/ChipSelect.h"

namespace qx {
namespace {

TEST(ChipSelChoice, OnlyAListedRowChangesTheChip) {
  struct Case {
    u8 maker;
    int row;
    bool chosen;
    std::string_view name;
    u8 storedMaker;
  };
  const Case cases[] = {
      {10, 1, true, "SA32B14xx", 10},        {10, -1, false, "AU302NDF51xx", 3}, {10, 3, false, "AU302NDF51xx", 3},
      {12, 3, true, "TEA32G5800TLF256", 12}, {200, 2, true, "SA32B12xx", 10},    {4, 52, true, "MR88FE02Cx", 4},
      {4, 53, false, "AU302NDF51xx", 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.row);
    auto m = test::FreshModel();
    SelectChip(*m, 3, "AU302NDF51xx", 1);
    m->ObjectLoaded = 1;
    EXPECT_EQ(ConfirmChipSelection(*m, c.maker, c.row), c.chosen);
    EXPECT_EQ(m->ChipName, c.name);
    EXPECT_EQ(m->Params.ManufacturerIndex, c.storedMaker);
    EXPECT_EQ(m->ObjectLoaded, c.chosen ? 0 : 1);
    if (c.chosen && c.storedMaker != 4) {
      EXPECT_EQ(m->Params.Subtype, c.row);  // the list position reaches the family select
    }
  }
}

}  // namespace
}  // namespace qx
