#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/chips/ChipTestSupport.h"
#include "chips/AC784xOptionBytes.h"
#include "chips/AC78xOptionBytes.h"
#include "chips/AucuConfigBytes.h"
#include "chips/ChipSelect.h"
#include "chips/LcmpOptionBytes.h"
#include "chips/SilergyProtection.h"
#include "chips/Spd117xConfigBytes.h"

namespace qx {
namespace {

std::unique_ptr<ChipModel> WithDefaults(Maker maker, std::string_view name) {
  auto m = test::FreshModel();
  SelectChip(*m, IndexOf(maker), name, 0);
  return m;
}

std::vector<u8> Bytes(const ChipModel& m, std::size_t at, std::size_t count) {
  return {m.OptionImage.begin() + static_cast<std::ptrdiff_t>(at),
          m.OptionImage.begin() + static_cast<std::ptrdiff_t>(at + count)};
}

// Every option image byte outside [first, last] is as it was.
void ExpectOnlyChanged(const ChipModel& m, const std::array<u8, OptionImageSize>& before,
                       std::initializer_list<std::pair<std::size_t, std::size_t>> ranges) {
  for (std::size_t i = 0; i < OptionImageSize; ++i) {
    bool inside = false;
    for (const auto& [first, last] : ranges) inside = inside || (first <= i && i <= last);
    if (!inside) {
      ASSERT_EQ(m.OptionImage[i], before[i]) << "byte " << i;
    }
  }
}

// ---- AC7801x / AC781x ----

TEST(AC78xOptions, DefaultsShowUnprotectedAndRoundTripUnchanged) {
  for (const u8 flag : {u8{0}, u8{1}}) {
    auto m = WithDefaults(Maker::AutoChip, "AC78013xDxx");
    m->OptionsChanged = flag;
    const auto before = m->OptionImage;
    const AC78xOptionControls c = AC78xControlsFromImage(*m);
    EXPECT_EQ(c.RopEntry, 0);
    EXPECT_EQ(c.WdtEntry, 0);
    for (const auto& w : c.Words) EXPECT_EQ(w, "0xFFFF");
    EXPECT_FALSE(WriteAC78xOptions(c, *m).has_value());
    EXPECT_EQ(m->OptionImage, before);
    EXPECT_EQ(m->OptionsChanged, flag);  // OK never clears the flag
  }
}

TEST(AC78xOptions, DesignedEditsWriteValueAndComplement) {
  struct Case {
    const char* what;
    std::function<void(AC78xOptionControls&)> edit;
    std::size_t at;
    std::vector<u8> bytes;
    u8 changed;
  };
  const Case cases[] = {
      {"level 1", [](auto& c) { c.RopEntry = 1; }, 0, {0x00, 0xFF, 0xFF, 0xFF}, 1},
      {"watchdog on", [](auto& c) { c.WdtEntry = 1; }, 4, {0x33, 0xFF, 0xCC, 0xFF}, 1},
      {"ERP0 0x1234", [](auto& c) { c.Words[0] = "0x1234"; }, 8, {0x34, 0x12, 0xCB, 0xED}, 1},
      {"ERP3 decimal", [](auto& c) { c.Words[3] = "4660"; }, 20, {0x34, 0x12, 0xCB, 0xED}, 1},
      {"USER1 $-form", [](auto& c) { c.Words[5] = "$00AB"; }, 44, {0xAB, 0x00, 0x54, 0xFF}, 1},
      {"USER0 low 16 bits erased", [](auto& c) { c.Words[4] = "0x1FFFF"; }, 40, {0xFF, 0xFF, 0xFF, 0xFF}, 0},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    auto m = WithDefaults(Maker::AutoChip, "AC78013xDxx");
    AC78xOptionControls c = AC78xControlsFromImage(*m);
    k.edit(c);
    EXPECT_FALSE(WriteAC78xOptions(c, *m).has_value());
    EXPECT_EQ(Bytes(*m, k.at, 4), k.bytes);
    EXPECT_EQ(m->OptionsChanged, k.changed);
    // And it opens again on what was written.
    const AC78xOptionControls back = AC78xControlsFromImage(*m);
    EXPECT_EQ(back.RopEntry, c.RopEntry);
    EXPECT_EQ(back.WdtEntry, c.WdtEntry);
  }
}

TEST(AC78xOptions, RewritesTheFirst128BytesOnly) {
  auto m = WithDefaults(Maker::AutoChip, "AC78013xDxx");
  m->OptionImage.fill(0x5A);
  const auto before = m->OptionImage;
  AC78xOptionControls c;
  c.Words.fill("0xFFFF");
  c.Words[1] = "0xBEEF";
  EXPECT_FALSE(WriteAC78xOptions(c, *m).has_value());
  EXPECT_EQ(Bytes(*m, 0, 16), (std::vector<u8>{0xAC, 0xFF, 0x53, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                               0xEF, 0xBE, 0x10, 0x41}));
  EXPECT_EQ(Bytes(*m, 24, 16), std::vector<u8>(16, 0xFF));
  EXPECT_EQ(Bytes(*m, 48, 80), std::vector<u8>(80, 0xFF));
  ExpectOnlyChanged(*m, before, {{0, 127}});
}

TEST(AC78xOptions, ABadFieldChangesNothingAndNamesTheField) {
  auto m = WithDefaults(Maker::AutoChip, "AC78013xDxx");
  const auto before = m->OptionImage;
  AC78xOptionControls c = AC78xControlsFromImage(*m);
  c.RopEntry = 1;
  c.Words[0] = "0x1234";
  c.Words[2] = "0x12G4";
  c.Words[5] = "junk";
  const auto error = WriteAC78xOptions(c, *m);
  ASSERT_TRUE(error.has_value());
  EXPECT_EQ(error->Field, 2u);
  EXPECT_EQ(error->Message, "'0x12G4' is not a valid integer value");
  EXPECT_EQ(m->OptionImage, before);
  EXPECT_EQ(m->OptionsChanged, 0);
}

TEST(AC78xOptions, PanelsAndControlsShowTheOptionWords) {
  EXPECT_EQ(AC78xRopWord(0), 0xFFAC);
  EXPECT_EQ(AC78xRopWord(1), 0xFF00);
  EXPECT_EQ(AC78xWdtWord(0), 0xFFFF);
  EXPECT_EQ(AC78xWdtWord(1), 0xFF33);
  auto m = WithDefaults(Maker::AutoChip, "AC78013xDxx");
  m->OptionImage[1] = 0x00;  // 0x00AC is not level 0
  m->OptionImage[5] = 0x12;
  m->OptionImage[40] = 0x0B;
  m->OptionImage[41] = 0xA0;
  const AC78xOptionControls c = AC78xControlsFromImage(*m);
  EXPECT_EQ(c.RopEntry, 1);
  EXPECT_EQ(c.WdtEntry, 1);
  EXPECT_EQ(c.Words[4], "0xA00B");
}

// ---- AC7840x ----

TEST(AC784xOptions, DefaultsRoundTripAndClearTheFlag) {
  auto m = WithDefaults(Maker::AutoChip, "AC78409xGxx");
  m->OptionsChanged = 1;
  const auto before = m->OptionImage;
  const AC784xOptionControls c = AC784xControlsFromImage(*m);
  EXPECT_FALSE(c.ReadProtect);
  EXPECT_EQ(c.Fields, (std::array<std::string, 3>{"0xFFFF", "0xFFFF", "0xFF"}));
  EXPECT_FALSE(WriteAC784xOptions(c, *m).has_value());
  EXPECT_EQ(m->OptionImage, before);
  EXPECT_EQ(m->OptionsChanged, 0);
}

TEST(AC784xOptions, ReadProtectionShownUnlessBothLowBitsSet) {
  for (const auto& [byte, ticked] : {std::pair{u8{0xFE}, true}, std::pair{u8{0xFD}, true}, std::pair{u8{0xFC}, true},
                                     std::pair{u8{0xFF}, false}, std::pair{u8{0x03}, false}}) {
    auto m = WithDefaults(Maker::AutoChip, "AC78409xGxx");
    m->OptionImage[16] = byte;
    const AC784xOptionControls c = AC784xControlsFromImage(*m);
    EXPECT_EQ(c.ReadProtect, ticked) << int{byte};
    EXPECT_FALSE(WriteAC784xOptions(c, *m).has_value());
    EXPECT_EQ(m->OptionImage[16], ticked ? 0xFC : 0xFF);
    EXPECT_EQ(m->OptionsChanged, ticked ? 1 : 0);
  }
}

TEST(AC784xOptions, WritesSixBytesWithoutComplements) {
  auto m = WithDefaults(Maker::AutoChip, "AC78409xGxx");
  m->OptionImage.fill(0x5A);
  const auto before = m->OptionImage;
  AC784xOptionControls c;
  c.Fields = {"0x12345", "0x00FF", "0x1FE"};
  EXPECT_FALSE(WriteAC784xOptions(c, *m).has_value());
  EXPECT_EQ(m->OptionImage[16], 0xFF);
  EXPECT_EQ(Bytes(*m, 128, 5), (std::vector<u8>{0x45, 0x23, 0xFF, 0x00, 0xFE}));
  EXPECT_EQ(m->OptionsChanged, 1);
  ExpectOnlyChanged(*m, before, {{16, 16}, {128, 132}});
  EXPECT_EQ(AC784xControlsFromImage(*m).Fields, (std::array<std::string, 3>{"0x2345", "0x00FF", "0xFE"}));
}

TEST(AC784xOptions, ABadFieldChangesNothing) {
  auto m = WithDefaults(Maker::AutoChip, "AC78409xGxx");
  m->OptionsChanged = 1;
  const auto before = m->OptionImage;
  AC784xOptionControls c;
  c.ReadProtect = true;
  c.Fields = {"0x0000", "0xFFFF", "0xZZ"};
  const auto error = WriteAC784xOptions(c, *m);
  ASSERT_TRUE(error.has_value());
  EXPECT_EQ(error->Field, 2u);
  EXPECT_EQ(error->Message, "'0xZZ' is not a valid integer value");
  EXPECT_EQ(m->OptionImage, before);
  EXPECT_EQ(m->OptionsChanged, 1);
}

// ---- AUCU ----

TEST(AucuConfig, DefaultsOpenClearAndRoundTripWithTheFlagSet) {
  auto m = WithDefaults(Maker::Aucu, "AU301LDF51xx");
  const auto before = m->OptionImage;
  const AucuConfigControls c = AucuControlsFromImage(*m);
  EXPECT_FALSE(c.LifeCycle || c.NoUart0 || c.NoUart1 || c.NoUart2 || c.NoJtag || c.NoUart0Boot || c.LockRgn1);
  WriteAucuConfig(c, *m);
  EXPECT_EQ(m->OptionImage, before);
  EXPECT_EQ(m->OptionsChanged, 1);
}

TEST(AucuConfig, TickedBoxesClearTheirBits) {
  struct Case {
    const char* what;
    std::function<void(AucuConfigControls&)> tick;
    std::size_t at;
    u8 byte;
  };
  const Case cases[] = {
      {"life cycle", [](auto& c) { c.LifeCycle = true; }, 0, 0xFE},
      {"UART1 only", [](auto& c) { c.NoUart1 = true; }, 16, 0xFD},
      {"all three UARTs", [](auto& c) { c.NoUart0 = c.NoUart1 = c.NoUart2 = true; }, 16, 0xF8},
      {"UART0 and UART2", [](auto& c) { c.NoUart0 = c.NoUart2 = true; }, 16, 0xFA},
      {"UART0 boot", [](auto& c) { c.NoUart0Boot = true; }, 24, 0xFE},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    auto m = WithDefaults(Maker::Aucu, "AU301LDF51xx");
    m->OptionImage.fill(0x5A);
    const auto before = m->OptionImage;
    AucuConfigControls c;
    k.tick(c);
    WriteAucuConfig(c, *m);
    EXPECT_EQ(m->OptionImage[k.at], k.byte);
    ExpectOnlyChanged(*m, before, {{0, 0}, {16, 16}, {20, 20}, {24, 24}, {32, 32}});
  }
}

TEST(AucuConfig, LockedBoxesShowTheImageButOkWritesErased) {
  auto m = WithDefaults(Maker::Aucu, "AU301LDF51xx");
  m->OptionImage[20] = 0xFE;
  m->OptionImage[32] = 0x00;
  AucuConfigControls c = AucuControlsFromImage(*m);
  EXPECT_TRUE(c.NoJtag);
  EXPECT_TRUE(c.LockRgn1);
  WriteAucuConfig(c, *m);
  EXPECT_EQ(m->OptionImage[20], 0xFF);
  EXPECT_EQ(m->OptionImage[32], 0xFF);
}

// ---- LCM ----

TEST(LcmpOptions, DefaultsOpenAsDesignedAndRoundTrip) {
  auto m = WithDefaults(Maker::Lcm, "LCM32F037K8xx");
  const auto before = m->OptionImage;
  const LcmpOptionControls c = LcmpControlsFromImage(*m);
  EXPECT_EQ(c.User, (std::array<int, 4>{1, 1, 0, 1}));  // nBOOT0 1, nBOOT1 1, BOOT_SEL 0, software watchdog
  EXPECT_EQ(c.Data, (std::array<i32, 3>{255, 255, 255}));
  for (const auto& reg : c.WriteProtect) {
    for (const bool ticked : reg) EXPECT_FALSE(ticked);
  }
  for (const int entry : c.ReadProtect) EXPECT_EQ(entry, 1);  // 0x00: protection enabled
  WriteLcmpOptions(c, *m);
  EXPECT_EQ(m->OptionImage, before);
  EXPECT_EQ(m->OptionsChanged, 1);  // the read-protection bytes are not 0xAA
}

TEST(LcmpOptions, DesignedEditsAndTheFlag) {
  struct Case {
    const char* what;
    std::function<void(LcmpOptionControls&)> edit;
    std::size_t at;
    std::vector<u8> bytes;
    u8 changed;
  };
  std::vector<u8> aa55;
  for (int i = 0; i < 12; ++i) aa55.insert(aa55.end(), {0xAA, 0x55});
  // Each case starts from the defaults with read protection off everywhere.
  const Case cases[] = {
      {"no read protection", [](auto&) {}, 16, aa55, 0},
      {"WRP0 bit 0", [](auto& c) { c.WriteProtect[0][0] = true; }, 8, {0xFE, 0x01}, 1},
      {"WRP3 bit 7", [](auto& c) { c.WriteProtect[3][7] = true; }, 14, {0x7F, 0x80}, 1},
      {"data 256", [](auto& c) { c.Data[0] = 256; }, 2, {0x00, 0xFF}, 1},
      {"data 18", [](auto& c) { c.Data[2] = 18; }, 6, {0x12, 0xED}, 1},
      {"hardware watchdog", [](auto& c) { c.User[3] = 0; }, 0, {0xF3, 0x0C}, 1},
      {"RDP11 on", [](auto& c) { c.ReadProtect[11] = 1; }, 38, {0x00, 0xFF}, 1},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    auto m = WithDefaults(Maker::Lcm, "LCM32F037K8xx");
    const auto before = m->OptionImage;
    LcmpOptionControls c = LcmpControlsFromImage(*m);
    c.ReadProtect.fill(0);
    k.edit(c);
    WriteLcmpOptions(c, *m);
    EXPECT_EQ(Bytes(*m, k.at, k.bytes.size()), k.bytes);
    EXPECT_EQ(m->OptionsChanged, k.changed);
    for (std::size_t i = 0; i < LcmpOptionBytes; i += 2) {
      EXPECT_EQ(m->OptionImage[i + 1], static_cast<u8>(~m->OptionImage[i])) << i;
    }
    ExpectOnlyChanged(*m, before, {{0, 39}});  // the copy at 256 is left alone
  }
}

TEST(LcmpOptions, UserKeepsItsHighBitsAndSetsTheFlagOffItsDefault) {
  auto m = WithDefaults(Maker::Lcm, "LCM32F037K8xx");
  m->OptionImage[0] = 0x5F;
  LcmpOptionControls c = LcmpControlsFromImage(*m);
  EXPECT_EQ(c.User, (std::array<int, 4>{1, 1, 1, 1}));
  c.User[2] = 0;
  c.ReadProtect.fill(0);
  WriteLcmpOptions(c, *m);
  EXPECT_EQ(m->OptionImage[0], 0x5B);
  EXPECT_EQ(m->OptionsChanged, 1);
}

// ---- Silergy ----

TEST(SilergyProtection, TwoBoxesGiveProtectBitsAndTheFlag) {
  struct Case {
    bool swd, cpu;
    u8 bits, changed;
  };
  for (const Case& k :
       {Case{true, true, 3, 1}, Case{false, false, 0, 0}, Case{true, false, 1, 1}, Case{false, true, 2, 1}}) {
    auto m = WithDefaults(Maker::Silergy, "SA32B16xx");
    m->ProtectBits = 0xFC;
    m->OptionsChanged = 1 - k.changed;
    const auto before = m->OptionImage;
    EXPECT_FALSE(SilergyControlsFromChip(*m).NoSwdRead || SilergyControlsFromChip(*m).NoCpuRead);
    WriteSilergyProtection({k.swd, k.cpu}, *m);
    EXPECT_EQ(m->ProtectBits, k.bits);
    EXPECT_EQ(m->OptionsChanged, k.changed);
    EXPECT_EQ(m->OptionImage, before);
    const auto back = SilergyControlsFromChip(*m);
    EXPECT_EQ(back.NoSwdRead, k.swd);
    EXPECT_EQ(back.NoCpuRead, k.cpu);
  }
}

// ---- SPD117x ----

TEST(Spd117xConfig, DefaultsRoundTripAndBoxesWriteTheirWords) {
  auto m = WithDefaults(Maker::Spintrol, "SPD1176API56");
  const auto defaults = m->OptionImage;
  const Spd117xConfigControls c = Spd117xControlsFromImage(*m);
  EXPECT_FALSE(c.LockDebug || c.StartWatchdog);
  WriteSpd117xConfig(c, *m);
  EXPECT_EQ(m->OptionImage, defaults);

  for (const u8 flag : {u8{0}, u8{1}}) {
    m->OptionImage.fill(0x12);
    m->OptionsChanged = flag;
    WriteSpd117xConfig({true, true}, *m);
    EXPECT_EQ(Bytes(*m, 0, 8), (std::vector<u8>{0x55, 0x55, 0x55, 0x55, 0x33, 0x33, 0x33, 0x33}));
    EXPECT_EQ(Bytes(*m, 8, OptionImageSize - 8), std::vector<u8>(OptionImageSize - 8, 0xFF));
    EXPECT_EQ(m->OptionsChanged, flag);
    m->OptionImage.fill(0x12);
    WriteSpd117xConfig({false, false}, *m);
    EXPECT_EQ(m->OptionImage, defaults);
    EXPECT_EQ(m->OptionsChanged, flag);
  }
}

TEST(Spd117xConfig, AnyNonErasedByteTicksTheBox) {
  auto m = WithDefaults(Maker::Spintrol, "SPD1176API56");
  m->OptionImage[3] = 0xFE;
  EXPECT_TRUE(Spd117xControlsFromImage(*m).LockDebug);
  EXPECT_FALSE(Spd117xControlsFromImage(*m).StartWatchdog);
  m->OptionImage[4] = 0x00;
  EXPECT_TRUE(Spd117xControlsFromImage(*m).StartWatchdog);
}

}  // namespace
}  // namespace qx
