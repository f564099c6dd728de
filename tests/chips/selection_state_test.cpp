#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "chips/ChipModelLists.h"
#include "chips/ChipSelect.h"
#include "tests/chips/ChipTestSupport.h"

namespace qx {
namespace {

// A present window that lies in an image of imageSize bytes when placed at its start.
bool FitsImage(AddressWindow w, std::uint64_t imageSize) {
  return !w.Absent() && w.Start <= w.End && std::uint64_t{w.End} - w.Start + 1 <= imageSize;
}

void ExpectSound(const ChipModel& m, Maker maker, std::string_view name) {
  const auto& p = m.Params;
  EXPECT_EQ(m.ChipSelected, 1);
  EXPECT_EQ(m.ChipName, name);
  EXPECT_EQ(p.ManufacturerIndex, IndexOf(maker));
  EXPECT_GT(p.MainFlashSize, 0u);
  EXPECT_EQ(std::uint64_t{p.MainFlashEnd}, std::uint64_t{p.MainFlashStart} + p.MainFlashSize - 1);
  EXPECT_TRUE(FitsImage(MainWindow(p), MainImageSize));
  EXPECT_EQ(p.MainFlashStart & 0xFFFFFFu, 0u);
  EXPECT_EQ(p.MainImageOffset, 0u);
  EXPECT_GT(p.MainPageSize, 0u);
  if (p.EepSize == 0) {
    if (maker == Maker::Sonix) {
      EXPECT_EQ(p.EepStart, 0x1FFF0000u);
      EXPECT_EQ(p.EepEnd, 0x1FFF0000u);
    } else {
      EXPECT_TRUE(EepWindow(p).Absent());
    }
  } else {
    EXPECT_EQ(std::uint64_t{p.EepEnd}, std::uint64_t{p.EepStart} + p.EepSize - 1);
    EXPECT_TRUE(FitsImage(EepWindow(p), EepImageSize));
    // LAPIS names no data-flash sector size; it sends 0, as after start-up.
    if (maker != Maker::Lapis) {
      EXPECT_GT(p.EepPageSize, 0u);
    }
  }
  EXPECT_TRUE(OptionWindow(p).Absent() || FitsImage(OptionWindow(p), OptionImageSize));
  EXPECT_TRUE(InfoWindow(p).Absent());
  EXPECT_FALSE(MainWindow(p).Contains(p.EepStart));
  EXPECT_EQ(p.DownloadSize, p.MainFlashSize);
  EXPECT_EQ(p.EepDownloadSize, p.EepSize);
  EXPECT_EQ(p.ProtocolKind, 0x55);
}

// Every listed model, chosen one after another on one model so that leftovers would show.
TEST(SelectionInvariants, EveryListedModelGivesASoundChip) {
  auto m = test::FreshModel();
  std::size_t checked = 0;
  for (std::size_t maker = 0; maker < MakerCount; ++maker) {
    const auto models = ChipModelLists[maker];
    for (std::size_t i = 0; i < models.size(); ++i) {
      SCOPED_TRACE(std::string(models[i]));
      EXPECT_TRUE(SelectChip(*m, static_cast<u8>(maker), models[i], static_cast<u8>(i)));
      ExpectSound(*m, static_cast<Maker>(maker), models[i]);
      ++checked;
    }
  }
  EXPECT_EQ(checked, 222u);
}

TEST(SelectionInvariants, ListPositionBecomesTheSubtypeWhereTheFamilyUsesIt) {
  auto m = test::FreshModel();
  for (const Maker maker : {Maker::Silergy, Maker::Tea}) {
    const auto models = ChipModelLists[IndexOf(maker)];
    for (u8 i = 0; i < models.size(); ++i) {
      SelectChip(*m, IndexOf(maker), models[i], i);
      EXPECT_EQ(m->Params.Subtype, i) << models[i];
    }
  }
  for (u8 i = 0; i < 4; ++i) {
    SelectChip(*m, IndexOf(Maker::Indie), ChipModelLists[1][i], i);
    EXPECT_EQ(m->Params.Subtype, i);
  }
}

TEST(NotWritten, TimingSerialNumberAndPowerOnTimeSurviveEveryFamily) {
  auto m = test::FreshModel();
  m->Control.PowerOnTime = 33;
  m->Timing.ChipInStableTime = 5;
  m->Timing.RunShutTime = 700;
  m->Sn.SnValue = 0x1234;
  m->Sn.SnAddress = 0x0800F000;
  for (std::size_t maker = 0; maker < MakerCount; ++maker) {
    SelectListedChip(*m, static_cast<u8>(maker), 0);
    EXPECT_EQ(m->Control.PowerOnTime, 33);
    EXPECT_EQ(m->Timing.ChipInStableTime, 5);
    EXPECT_EQ(m->Timing.RunShutTime, 700);
    EXPECT_EQ(m->Sn.SnValue, 0x1234u);
    EXPECT_EQ(m->Sn.SnAddress, 0x0800F000u);
  }
}

// A TMPM4K part leaves subtype 0x20, erase bit 4 and 4096-byte sectors behind; the AUCU
// part after it must not send any of them.
TEST(NotWritten, AucuAfterTmpm4kCarriesNoToshibaValues) {
  auto m = test::FreshModel();
  SelectChip(*m, IndexOf(Maker::Toshiba), "TMPM4KLFYAUG", 15);
  ASSERT_EQ(m->Params.Subtype, 0x20);
  ASSERT_EQ(m->Control.EraseFlags, 0x10);
  ASSERT_EQ(m->Params.MainPageSize, 4096);
  SelectChip(*m, IndexOf(Maker::Aucu), "AU301LDF51xx", 0);
  EXPECT_EQ(m->Params.Subtype, 0);
  EXPECT_EQ(m->Control.EraseFlags, 0x80);
  EXPECT_EQ(m->Params.MainPageSize, 512);
  EXPECT_EQ(m->Params.EepPageSize, 512);
  EXPECT_EQ(m->Params.MainFlashSize, 0x8000u);
  EXPECT_EQ(m->Params.EepStart, 0x03026000u);
  EXPECT_EQ(m->Params.EepEnd, 0x03027FFFu);
}

TEST(NotWritten, LapisDataFlashSectorDoesNotFollowThePreviousChip) {
  auto m = test::FreshModel();
  SelectChip(*m, IndexOf(Maker::Silergy), "SA32B16xx", 0);
  ASSERT_EQ(m->Params.EepPageSize, 4096);
  SelectChip(*m, IndexOf(Maker::Lapis), "ML630Q464", 0);
  EXPECT_EQ(m->Params.EepPageSize, 0);
  EXPECT_EQ(m->Params.Subtype, 0);
  EXPECT_EQ(m->Params.MainFlashSize, 0x8000u);
  EXPECT_EQ(m->Params.EepEnd, 0x180007FFu);
}

TEST(NotWritten, LingsiKeepsTheOptionImageOfThePreviousChip) {
  auto m = test::FreshModel();
  SelectChip(*m, IndexOf(Maker::Lcm), "LCM32F037K8xx", 13);
  SelectChip(*m, IndexOf(Maker::Lingsi), "LE5110SI", 13);
  EXPECT_TRUE(m->OptionImage == test::ExpectedOptionImage(test::OptionKind::Lcmp, 0));
}

// An AutoChip name without a known prefix is refused; subtype and size stay, and the
// layout follows the subtype left by the previous chip.
TEST(NotWritten, UnknownAutoChipNameIsRefusedAndKeepsSubtypeAndSize) {
  auto m = test::FreshModel();
  SelectChip(*m, IndexOf(Maker::Toshiba), "TMPM4KLFWAUG", 16);
  EXPECT_FALSE(SelectChip(*m, IndexOf(Maker::AutoChip), "AC7820xx", 0));
  EXPECT_EQ(m->ChipSelected, 0);
  EXPECT_EQ(m->Params.Subtype, 0x20);
  EXPECT_EQ(m->Params.MainFlashSize, 0x20000u);
  EXPECT_EQ(m->Params.MainFlashStart, 0u);
  EXPECT_EQ(m->Params.MainFlashEnd, 0x1FFFFu);
  EXPECT_EQ(m->Params.OptionCode, 0xFF);
  EXPECT_EQ(m->Params.EepEnd, 0x0101FFFFu);

  auto fresh = test::FreshModel();
  EXPECT_FALSE(SelectChip(*fresh, IndexOf(Maker::AutoChip), "", 0));
  EXPECT_EQ(fresh->Params.MainFlashStart, 0x08000000u);
  EXPECT_EQ(fresh->Params.OptionCode, 8);
  EXPECT_TRUE(EepWindow(fresh->Params).Absent());
  EXPECT_EQ(fresh->OptionImage[0], 0xAC);
}

}  // namespace
}  // namespace qx
