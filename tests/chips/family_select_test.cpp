#include <gtest/gtest.h>

#include <string>

#include "chips/ChipModelLists.h"
#include "chips/ChipSelect.h"
#include "tests/chips/ChipTestSupport.h"

namespace qx {
namespace {

using test::OptionKind;

constexpr u32 N = NoWindow;

// Every field the family rules fix, as selected through the dialog's OK.
struct Expect {
  u8 family, subtype, optionCode, iface, power, reset, program, erase, ext1, blankIsZero, useDriver, protect;
  u32 mainStart, mainSize;
  u16 mainPage, eepPage;
  u32 eepStart, eepEnd, eepSize, optStart, optEnd;
  OptionKind option;
};

struct Case {
  Maker maker;
  u8 position;
  std::string_view name;
  Expect e;
};

constexpr u8 kUntouched = 0x5A;

const Case kCases[] = {
    {Maker::AutoChip, 10, "AC78013xDxx",
     {0x00, 0, 8, 0x80, 0x81, 0, 0x17, 0, 0, 0, 1, 0, 0x08000000, 0x20000, 2048, 1024, N, N, 0, N, N,
      OptionKind::AC78xUnprotected}},
    {Maker::AutoChip, 22, "AC7811QJxx",
     {0x00, 1, 8, 0x80, 0x81, 0, 0x17, 0, 0, 0, 1, 0, 0x08000000, 0x40000, 2048, 1024, N, N, 0, N, N,
      OptionKind::AC78xUnprotected}},
    {Maker::AutoChip, 38, "AC78409xGxx",
     {0x00, 16, 0xFF, 0x80, 0x81, 0, 0x17, 0, 0, 0, 1, 0, 0x00000000, 0x100000, 2048, 2048, 0x01000000,
      0x0101FFFF, 0x20000, 0x00200000, 0x00200FFF, OptionKind::AllFF}},
    {Maker::Indie, 4, "IND86201xx",
     {0x01, 16, 0, 0x82, 0x80, 0, 0x17, 0, 0, 0, 1, 0, 0, 0x27F00, 512, 512, N, N, 0, N, N, OptionKind::AllZero}},
    {Maker::Indie, 2, "IND83209xx",
     {0x01, 2, 0, 0x80, 0x80, 0x40, 0x17, 0, 0, 0, 1, 0, 0, 0x10000, 512, 512, N, N, 0, N, N, OptionKind::AllZero}},
    {Maker::Lapis, 2, "ML630Q448",
     {0x10, 16, 0, 0x80, 0x00, 0, 0x17, 0, 0, 0, 1, 0, 0x10000000, 0x80000, 1024, 0, 0x18000000, 0x18001FFF, 0x2000,
      N, N, OptionKind::AllZero}},
    {Maker::Lapis, 1, "ML630Q466",
     {0x10, 1, 0, 0x80, 0x00, 0, 0x17, 0, 0, 0, 1, 0, 0x10000000, 0x10000, 1024, 0, 0x18000000, 0x180007FF, 0x800, N,
      N, OptionKind::AllZero}},
    {Maker::Aucu, 1, "AU302NDF51xx",
     {0x18, 0, 0xFF, 0x08, 0x81, 0, 0x17, 0x80, 0, 0, 0, 0, 0x03000000, 0x8000, 512, 512, 0x03026000, 0x03027FFF,
      0x2000, 0x03802000, 0x03803FFF, OptionKind::AllFF}},
    {Maker::Meiren, 19, "MR88F705CI",
     {0x04, 0, 0, 0x80, 0x81, 0, 0x17, 0, 0, 0, 1, 0, 0, 0x20000, 512, 512, 0x1FFFE000, 0x1FFFF9FF, 0x1A00, N, N,
      OptionKind::AllZero}},
    {Maker::Meiren, 48, "MR88FA02Cx",
     {0x04, 4, 0, 0x81, 0x81, 0, 0x17, 0, 0, 0, 1, 0, 0, 0x20000, 512, 512, 0x1FFFE000, 0x1FFFF9FF, 0x1A00, N, N,
      OptionKind::AllZero}},
    {Maker::Lcm, 13, "LCM32F037K8xx",
     {0x18, 0, 0x0A, 0x80, 0x81, 0, 0x17, 0, 1, 0, 1, 0, 0x08000000, 0x10000, 512, 512, N, N, 0, 0x1FFFF600,
      0x1FFFF7FF, OptionKind::Lcmp}},
    {Maker::Lcm, 4, "LCP037BTxxx",
     {0x18, 0, 0x0A, 0x80, 0x81, 0, 0x17, 0, 1, 0, 1, 0, 0x08000000, 0x8000, 512, 512, N, N, 0, 0x1FFFF600,
      0x1FFFF7FF, OptionKind::Lcmp}},
    {Maker::CmSemi, 12, "BAT32G157GK48xx",
     {0x08, 0, 0, 0x80, 0x00, 0, 0x17, 0, 0, 0, 1, 0, 0, 0x20000, 256, 256, 0x500000, 0x5003FF, 0x400, N, N,
      OptionKind::AllZero}},
    {Maker::CmSemi, 17, "BAT32A237KE24xx",
     {0x08, 0, 0, 0x80, 0x00, 0, 0x17, 0, 0, 0, 1, 0, 0, 0x10000, 256, 256, 0x500000, 0x5005FF, 0x600, N, N,
      OptionKind::AllZero}},
    {Maker::CmSemi, 32, "CMS32M652xCGExx",
     {0x08, 0, 0, 0x80, 0x00, 0, 0x17, 0, 0, 0, 1, 0, 0, 0x10000, 256, 256, 0x500200, 0x5005FF, 0x400, N, N,
      OptionKind::AllZero}},
    {Maker::Sonix, 14, "SN32F7661BJG",
     {0x02, 0, 0, 0x80, 0x00, 0, 0x17, 0, 0, 1, 1, 0, 0, 0x10000, 64, 64, 0x1FFF0000, 0x1FFF0000, 0, N, N,
      OptionKind::AllZero}},
    {Maker::Sonix, 1, "SN32F7741xx",
     {0x02, 0, 0, 0x80, 0x00, 0, 0x17, 0, 0, 1, 1, 0, 0, 0x8000, 64, 64, 0x1FFF0000, 0x1FFF0000, 0, N, N,
      OptionKind::AllZero}},
    {Maker::Spintrol, 3, "SPD1176ZAPW48",
     {0x20, 0, 0, 0x80, 0x01, 0x40, 0x17, 0, 0, 0, 1, 0, 0x10000000, 0x20000, 4096, 4096, 0x11002000, 0x11004FFF,
      0x3000, N, N, OptionKind::AllFF}},
    {Maker::Lingsi, 0, "LE5010AI",
     {0x01, 0xFE, 0, 0x80, 0x81, 0, 0x15, 0, 0, 0, 1, 0, 0x18000000, 0x80000, 512, 512, N, N, 0, N, N,
      OptionKind::Untouched}},
    {Maker::Silergy, 2, "SA32B12xx",
     {0x14, 2, 1, 0x80, 0x81, 0, 0x17, 0, 0, 0, 1, 0, 0, 0x20000, 4096, 4096, 0x20020000, 0x2003FFFF, 0x20000, N, N,
      OptionKind::AllZero}},
    {Maker::Toshiba, 16, "TMPM4KLFWAUG",
     {0x40, 0x20, 0, 0x80, 0x01, 0, 0x17, 0x10, 0, 0, 1, 0, 0, 0x20000, 4096, 256, 0x30000000, 0x30007FFF, 0x8000, N,
      N, OptionKind::AllZero}},
    {Maker::Toshiba, 8, "TMPM380FYDFG",
     {0x40, 0, 0, 0x80, 0x01, 0, 0x17, 0, 0, 0, 1, 0, 0, 0x40000, 1024, 256, N, N, 0, N, N, OptionKind::AllZero}},
    {Maker::Tea, 2, "TEA32G5800TLF256",
     {0x12, 2, 2, 0x80, 0x81, 0, 0x17, 0, 0, 0, 1, 0xAA, 0x08000000, 0x40000, 4096, 512, N, N, 0, N, N,
      OptionKind::AllZero}},
    {Maker::Tea, 3, "TEA32G5800TLF256",
     {0x12, 3, 2, 0x80, 0x81, 0, 0x17, 0, 0, 0, 1, 0xAA, 0x08000000, 0x40000, 4096, 512, N, N, 0, N, N,
      OptionKind::AllZero}},
};

void ExpectSelected(const ChipModel& m, const Case& c) {
  const auto& p = m.Params;
  const auto& k = m.Control;
  const auto& e = c.e;
  EXPECT_EQ(m.ChipSelected, 1);
  EXPECT_EQ(m.ObjectLoaded, 0);
  EXPECT_EQ(m.ChipName, c.name);
  EXPECT_EQ(p.ManufacturerIndex, IndexOf(c.maker));
  EXPECT_EQ(p.ProtocolKind, 0x55);
  EXPECT_EQ(p.FamilyCode, e.family);
  EXPECT_EQ(p.Subtype, e.subtype);
  EXPECT_EQ(p.OptionCode, e.optionCode);
  EXPECT_EQ(k.InterfaceFlags, e.iface);
  EXPECT_EQ(k.PowerFlags, e.power);
  EXPECT_EQ(k.ResetFlags, e.reset);
  EXPECT_EQ(k.ProgramFlags, e.program);
  EXPECT_EQ(k.EraseFlags, e.erase);
  EXPECT_EQ(k.ExtControl1, e.ext1);
  EXPECT_EQ(k.ExtControl2, 0);
  EXPECT_EQ(k.ExtControl3, 0);
  EXPECT_EQ(p.BlankIsZero, e.blankIsZero);
  EXPECT_EQ(p.UseFlashDriver, e.useDriver);
  EXPECT_EQ(m.ProtectBits, e.protect);
  EXPECT_EQ(m.ChipExtraByte, 0);
  EXPECT_EQ(m.DeviceAddress, 0);
  EXPECT_EQ(m.FamilyParam1, 0);
  EXPECT_EQ(m.FamilyParam2, 0);
  EXPECT_EQ(p.MainFlashStart, e.mainStart);
  EXPECT_EQ(p.MainFlashSize, e.mainSize);
  EXPECT_EQ(p.MainFlashEnd, e.mainStart + e.mainSize - 1);
  EXPECT_EQ(p.MainImageOffset, 0u);
  EXPECT_EQ(p.MainPageSize, e.mainPage);
  EXPECT_EQ(p.EepPageSize, e.eepPage);
  EXPECT_EQ(p.EepStart, e.eepStart);
  EXPECT_EQ(p.EepEnd, e.eepEnd);
  EXPECT_EQ(p.EepSize, e.eepSize);
  EXPECT_EQ(p.OptionStart, e.optStart);
  EXPECT_EQ(p.OptionEnd, e.optEnd);
  EXPECT_EQ(p.InfoStart, NoWindow);
  EXPECT_EQ(p.InfoEnd, NoWindow);
  EXPECT_EQ(p.DownloadSize, e.mainSize);
  EXPECT_EQ(p.EepDownloadSize, e.eepSize);
  EXPECT_TRUE(m.OptionImage == test::ExpectedOptionImage(e.option, kUntouched)) << "option image";
}

TEST(FamilySelect, EdgeCasesOnAFreshModel) {
  for (const auto& c : kCases) {
    SCOPED_TRACE(std::string(c.name) + " at " + std::to_string(c.position));
    auto m = test::FreshModel();
    m->OptionImage.fill(kUntouched);
    EXPECT_TRUE(SelectChip(*m, IndexOf(c.maker), c.name, c.position));
    ExpectSelected(*m, c);
  }
}

// The same choice gives the same chip whatever was selected before it.
TEST(FamilySelect, EdgeCasesAfterEveryOtherCase) {
  for (const auto& before : kCases) {
    for (const auto& c : kCases) {
      SCOPED_TRACE(std::string(before.name) + " then " + std::string(c.name));
      auto m = test::FreshModel();
      SelectChip(*m, IndexOf(before.maker), before.name, before.position);
      m->OptionImage.fill(kUntouched);
      SelectChip(*m, IndexOf(c.maker), c.name, c.position);
      ExpectSelected(*m, c);
      if (::testing::Test::HasFailure()) return;
    }
  }
}

TEST(FamilySelect, SelectListedChipTakesTheNameAtThePosition) {
  auto m = test::FreshModel();
  EXPECT_TRUE(SelectListedChip(*m, IndexOf(Maker::Tea), 3));
  EXPECT_EQ(m->ChipName, "TEA32G5800TLF256");
  EXPECT_EQ(m->Params.Subtype, 3);
  EXPECT_FALSE(SelectListedChip(*m, IndexOf(Maker::Silergy), 3));
  EXPECT_EQ(m->ChipName, "TEA32G5800TLF256");
  EXPECT_EQ(m->Params.Subtype, 3);
}

TEST(FamilySelect, AnUnknownMakerIndexSelectsAsSilergyAndIsStoredAsSilergy) {
  auto m = test::FreshModel();
  EXPECT_TRUE(SelectChip(*m, 200, "SA32B14xx", 1));
  EXPECT_EQ(m->Params.ManufacturerIndex, IndexOf(Maker::Silergy));
  EXPECT_EQ(m->Params.FamilyCode, 0x14);
  EXPECT_EQ(m->Params.Subtype, 1);
  EXPECT_EQ(m->Params.MainFlashSize, 0x40000u);
  EXPECT_EQ(m->Params.DownloadSize, 0x40000u);
  EXPECT_EQ(m->Params.EepDownloadSize, 0x20000u);
}

// Character tests on names too short for them fall to the family's fallback row.
TEST(FamilySelect, ShortAndUnlistedNamesFallBackSafely) {
  struct Short {
    Maker maker;
    std::string_view name;
    u8 subtype;
    u32 mainSize;
  };
  const Short cases[] = {
      {Maker::AutoChip, "AC7801", 0, 0x20000},     {Maker::AutoChip, "AC781", 1, 0x40000},
      {Maker::AutoChip, "AC7840", 16, 0x80000},    {Maker::Toshiba, "TMPM4K", 0x20, 0x20000},
      {Maker::Toshiba, "TMPM4KLFXAUG", 0x20, 0x20000}, {Maker::Toshiba, "T", 0, 0x20000},
      {Maker::Meiren, "MR", 4, 0x40000},           {Maker::Lcm, "LCM", 0, 0x20000},
      {Maker::Silergy, "", 0, 0x80000},            {Maker::CmSemi, "BAT32A237", 0, 0x40000},
      {Maker::Lapis, "ML630Q46", 0, 0x80000},      {Maker::Sonix, "SN", 0, 0x10000},
      {Maker::Indie, "IND", 16, 0x27F00},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.name));
    auto m = test::FreshModel();
    EXPECT_TRUE(SelectChip(*m, IndexOf(c.maker), c.name, 0));
    EXPECT_EQ(m->Params.Subtype, c.subtype);
    EXPECT_EQ(m->Params.MainFlashSize, c.mainSize);
    EXPECT_EQ(m->Params.MainFlashEnd, m->Params.MainFlashStart + c.mainSize - 1);
  }
  auto m = test::FreshModel();
  SelectChip(*m, IndexOf(Maker::Toshiba), "TMPM4KQFZ", 0);
  EXPECT_EQ(m->Params.EepStart, 0x30000000u);
  EXPECT_EQ(m->Params.EepEnd, 0x30007FFFu);
  EXPECT_EQ(m->Control.EraseFlags, 0x10);
}

// One model per size letter of every rule that reads a character of the name, and one with
// a letter the rule does not list: the main flash and the layout the letter gives.
TEST(FamilySelect, EverySizeLetterGivesItsMainFlash) {
  struct Letter {
    Maker maker;
    u8 position;
    std::string_view name;
    u8 subtype;
    u32 mainStart, mainSize, eepStart, eepEnd;
  };
  constexpr u32 Main08 = 0x08000000, AcEep = 0x01000000, AcEepEnd = 0x0101FFFF;
  constexpr u32 MrEep = 0x1FFFE000, MrEepEnd = 0x1FFFF9FF;
  constexpr u32 SaEep = 0x20020000, SaEepEnd = 0x2003FFFF;
  constexpr u32 TmEep = 0x30000000, TmEepEnd = 0x30007FFF;
  const Letter cases[] = {
      {Maker::AutoChip, 0, "AC78010xAxx", 0, Main08, 0x4000, N, N},
      {Maker::AutoChip, 1, "AC78010xBxx", 0, Main08, 0x8000, N, N},
      {Maker::AutoChip, 2, "AC78010xCxx", 0, Main08, 0x10000, N, N},
      {Maker::AutoChip, 6, "AC78012xDxx", 0, Main08, 0x20000, N, N},
      {Maker::AutoChip, 0, "AC78013xExx", 0, Main08, 0x20000, N, N},
      {Maker::AutoChip, 15, "AC7811JBxx", 1, Main08, 0x8000, N, N},
      {Maker::AutoChip, 16, "AC7811MBxx", 1, Main08, 0x10000, N, N},
      {Maker::AutoChip, 17, "AC7811OBxx", 1, Main08, 0x20000, N, N},
      {Maker::AutoChip, 18, "AC7811QBxx", 1, Main08, 0x40000, N, N},
      {Maker::AutoChip, 0, "AC7811KBxx", 1, Main08, 0x40000, N, N},
      {Maker::AutoChip, 0, "AC78406xDxx", 16, 0, 0x20000, AcEep, AcEepEnd},
      {Maker::AutoChip, 0, "AC78406xExx", 16, 0, 0x40000, AcEep, AcEepEnd},
      {Maker::AutoChip, 31, "AC78406xFxx", 16, 0, 0x80000, AcEep, AcEepEnd},
      {Maker::AutoChip, 32, "AC78406xGxx", 16, 0, 0x100000, AcEep, AcEepEnd},
      {Maker::AutoChip, 0, "AC78406xHxx", 16, 0, 0x80000, AcEep, AcEepEnd},
      {Maker::Meiren, 18, "MR88F705BI", 0, 0, 0x10000, MrEep, MrEepEnd},
      {Maker::Meiren, 19, "MR88F705CI", 0, 0, 0x20000, MrEep, MrEepEnd},
      {Maker::Meiren, 20, "MR88F705DI", 0, 0, 0x40000, MrEep, MrEepEnd},
      {Maker::Meiren, 0, "MR88F705AI", 0, 0, 0x40000, MrEep, MrEepEnd},
      {Maker::Meiren, 39, "MR88F002Bx", 4, 0, 0x10000, MrEep, MrEepEnd},
      {Maker::Lcm, 0, "LCP037AKxxx", 0, Main08, 0x8000, N, N},
      {Maker::Lcm, 0, "LCM32F037K4xx", 0, Main08, 0x4000, N, N},
      {Maker::Lcm, 9, "LCM32F037K6xx", 0, Main08, 0x8000, N, N},
      {Maker::Lcm, 13, "LCM32F037K8xx", 0, Main08, 0x10000, N, N},
      {Maker::Lcm, 0, "LCM32F037K9xx", 0, Main08, 0x20000, N, N},
      {Maker::CmSemi, 17, "BAT32A237KE24xx", 0, 0, 0x10000, 0x500000, 0x5005FF},
      {Maker::CmSemi, 18, "BAT32A237KH32xx", 0, 0, 0x20000, 0x500000, 0x5005FF},
      {Maker::CmSemi, 0, "BAT32A237KK48xx", 0, 0, 0x40000, 0x500000, 0x5005FF},
      {Maker::Silergy, 0, "SA32B16xx", 0, 0, 0x80000, SaEep, SaEepEnd},
      {Maker::Silergy, 1, "SA32B14xx", 1, 0, 0x40000, SaEep, SaEepEnd},
      {Maker::Silergy, 2, "SA32B12xx", 2, 0, 0x20000, SaEep, SaEepEnd},
      {Maker::Silergy, 0, "SA32B18xx", 0, 0, 0x80000, SaEep, SaEepEnd},
      {Maker::Toshiba, 0, "TMPM4KNFYADFG", 0x20, 0, 0x40000, TmEep, TmEepEnd},
      {Maker::Toshiba, 0, "TMPM4KNFWADFG", 0x20, 0, 0x20000, TmEep, TmEepEnd},
  };
  for (const Letter& c : cases) {
    SCOPED_TRACE(std::string(c.name));
    auto m = test::FreshModel();
    EXPECT_TRUE(SelectChip(*m, IndexOf(c.maker), c.name, c.position));
    const ChipParams& p = m->Params;
    EXPECT_EQ(m->ChipSelected, 1);
    EXPECT_EQ(p.Subtype, c.subtype);
    EXPECT_EQ(p.MainFlashStart, c.mainStart);
    EXPECT_EQ(p.MainFlashSize, c.mainSize);
    EXPECT_EQ(p.MainFlashEnd, c.mainStart + c.mainSize - 1);
    EXPECT_EQ(p.DownloadSize, c.mainSize);
    EXPECT_EQ(p.EepStart, c.eepStart);
    EXPECT_EQ(p.EepEnd, c.eepEnd);
  }
}

TEST(FamilySelect, TheSelectSequenceClearsObjectDataAndInterfaceBitZero) {
  auto m = test::FreshModel();
  m->ObjectLoaded = 1;
  m->Control.InterfaceFlags = 0x81;
  // Meiren sets bit 0 itself for the Cx02 parts and leaves it clear for the x05 parts.
  EXPECT_TRUE(SelectChip(*m, IndexOf(Maker::Meiren), "MR88F105BI", 3));
  EXPECT_EQ(m->ObjectLoaded, 0);
  EXPECT_EQ(m->Control.InterfaceFlags, 0x80);
  EXPECT_EQ(m->Params.MainFlashSize, 0x10000u);
}

}  // namespace
}  // namespace qx
