#include <gtest/gtest.h>

#include <set>
#include <string>

#include "chips/ChipModelLists.h"

namespace qx {
namespace {

TEST(ChipModelLists, EachMakerHasItsModelCountAndTheTotalIs222) {
  const std::size_t counts[MakerCount] = {39, 5, 3, 3, 53, 17, 34, 15, 10, 14, 3, 21, 5};
  std::size_t total = 0;
  for (std::size_t m = 0; m < MakerCount; ++m) {
    SCOPED_TRACE(m);
    EXPECT_EQ(ChipModelLists[m].size(), counts[m]);
    total += ChipModelLists[m].size();
  }
  EXPECT_EQ(total, 222u);
}

TEST(ChipModelLists, PositionsThatFamiliesDependOn) {
  struct Case {
    Maker maker;
    std::size_t position;
    std::string_view name;
  };
  const Case cases[] = {
      {Maker::AutoChip, 0, "AC78010xAxx"},    {Maker::AutoChip, 10, "AC78013xDxx"},
      {Maker::AutoChip, 22, "AC7811QJxx"},    {Maker::AutoChip, 38, "AC78409xGxx"},
      {Maker::Indie, 2, "IND83209xx"},        {Maker::Indie, 4, "IND86201xx"},
      {Maker::Lapis, 1, "ML630Q466"},         {Maker::Lapis, 2, "ML630Q448"},
      {Maker::Aucu, 2, "AU302PDF51xx"},       {Maker::Meiren, 19, "MR88F705CI"},
      {Maker::Meiren, 38, "MR88FH05DI"},      {Maker::Meiren, 39, "MR88F002Bx"},
      {Maker::Meiren, 48, "MR88FA02Cx"},      {Maker::Meiren, 52, "MR88FE02Cx"},
      {Maker::Lcm, 4, "LCP037BTxxx"},         {Maker::Lcm, 13, "LCM32F037K8xx"},
      {Maker::CmSemi, 12, "BAT32G157GK48xx"}, {Maker::CmSemi, 17, "BAT32A237KE24xx"},
      {Maker::CmSemi, 32, "CMS32M652xCGExx"}, {Maker::CmSemi, 33, "CMS32M653xEGExx"},
      {Maker::Sonix, 1, "SN32F7741xx"},       {Maker::Sonix, 14, "SN32F7661BJG"},
      {Maker::Spintrol, 9, "SPD1179DPW48"},   {Maker::Lingsi, 13, "LE5110SI"},
      {Maker::Silergy, 0, "SA32B16xx"},       {Maker::Silergy, 1, "SA32B14xx"},
      {Maker::Silergy, 2, "SA32B12xx"},       {Maker::Toshiba, 8, "TMPM380FYDFG"},
      {Maker::Toshiba, 16, "TMPM4KLFWAUG"},   {Maker::Toshiba, 20, "TMPM4KHFWAUG"},
      {Maker::Tea, 2, "TEA32G5800TLF256"},    {Maker::Tea, 3, "TEA32G5800TLF256"},
      {Maker::Tea, 4, "TEA32G5800TLI256"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.name));
    const auto list = ChipModelLists[IndexOf(c.maker)];
    ASSERT_LT(c.position, list.size());
    EXPECT_EQ(list[c.position], c.name);
  }
}

TEST(ChipModelLists, NamesAreUniqueWithinAMakerExceptTheRepeatedTeaPart) {
  for (std::size_t m = 0; m < MakerCount; ++m) {
    std::set<std::string_view> seen(ChipModelLists[m].begin(), ChipModelLists[m].end());
    const std::size_t repeats = m == IndexOf(Maker::Tea) ? 1 : 0;
    EXPECT_EQ(seen.size() + repeats, ChipModelLists[m].size()) << "maker " << m;
  }
}

TEST(ChipModelLists, AnUnknownMakerIndexShowsTheSilergyModels) {
  EXPECT_EQ(ModelsOfMaker(13).data(), ChipModelLists[IndexOf(Maker::Silergy)].data());
  EXPECT_EQ(ModelsOfMaker(255).size(), 3u);
  EXPECT_EQ(ModelsOfMaker(0).data(), ChipModelLists[0].data());
}

}  // namespace
}  // namespace qx
