#include <gtest/gtest.h>

#include "tests/images/ObjectFileFixture.h"
#include "images/SnConstData.h"

namespace qx {
namespace {

std::vector<u8> Tokens(std::string_view text) {
  std::vector<u8> out;
  u8 b = 0;
  std::size_t pos = 0;
  while (auto next = ParseHexToken(text, pos, b)) {
    out.push_back(b);
    pos = *next;
  }
  return out;
}

TEST(ParseHexToken, Tokens) {
  EXPECT_EQ(Tokens("12 3 ABC "), (std::vector<u8>{0x12, 0x03, 0xBC}));
  EXPECT_EQ(Tokens("12 3 ABC"), (std::vector<u8>{0x12, 0x03, 0xBC}));  // last token kept
  EXPECT_EQ(Tokens("   ff  0a"), (std::vector<u8>{0xFF, 0x0A}));
  EXPECT_EQ(Tokens("G1 Z"), (std::vector<u8>{0x01, 0x00}));
  EXPECT_TRUE(Tokens("").empty());
  EXPECT_TRUE(Tokens("    ").empty());
}

TEST(WriteSnConstData, AsciiHexAndWindowEdges) {
  auto chip = test::MakeChip();
  auto r = WriteSnConstData(*chip, SnArea::MainFlash, test::kMainStart, "AB12", SnDataFormat::Ascii);
  EXPECT_TRUE(r.Written);
  EXPECT_EQ(r.Count, 4u);
  EXPECT_EQ(chip->MainFlashImage[0], 0x41);
  EXPECT_EQ(chip->MainFlashImage[3], 0x32);
  EXPECT_EQ(chip->MainFlashImage[4], 0xFF);

  const u32 eepEnd = chip->Params.EepEnd;
  r = WriteSnConstData(*chip, SnArea::EepFlash, eepEnd, "12 3 ABC", SnDataFormat::Hex);
  EXPECT_TRUE(r.Written);
  EXPECT_EQ(r.Count, 3u);
  EXPECT_EQ(chip->EepImage[eepEnd - test::kEepStart], 0x12);
  EXPECT_EQ(chip->EepImage[eepEnd - test::kEepStart + 2], 0xBC);  // past the window, inside the image

  r = WriteSnConstData(*chip, SnArea::EepFlash, eepEnd + 1, "77", SnDataFormat::Hex);
  EXPECT_FALSE(r.Written);
  EXPECT_EQ(chip->EepImage[eepEnd - test::kEepStart + 1], 0x03);
}

// Text data is one byte per character; a character without a one-byte form refuses the
// whole write instead of landing as its several UTF-8 bytes.
TEST(WriteSnConstData, TextIsOneBytePerCharacter) {
  struct Case {
    const char* name;
    std::string text;
    std::vector<u8> stored;  // empty: refused
    std::string badChar;
  };
  const Case cases[] = {
      {"ascii", "AB12", {0x41, 0x42, 0x31, 0x32}, ""},
      {"latin", "A\xC3\x89\xC3\xBF", {0x41, 0xC9, 0xFF}, ""},
      {"euro sign", "A\xE2\x82\xAC", {}, "\xE2\x82\xAC"},
      {"cjk", "\xE4\xB8\xAD", {}, "\xE4\xB8\xAD"},
      {"four bytes", "1\xF0\x9F\x98\x80", {}, "\xF0\x9F\x98\x80"},
      {"malformed", "A\xFF", {}, "\xFF"},
      {"cut sequence", "A\xC3", {}, "\xC3"},
      {"overlong", "\xC1\x81", {}, "\xC1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto chip = test::MakeChip();
    const auto r = WriteSnConstData(*chip, SnArea::MainFlash, test::kMainStart + 8, c.text, SnDataFormat::Ascii);
    EXPECT_EQ(r.Written, !c.stored.empty());
    EXPECT_EQ(r.BadChar, c.badChar);
    EXPECT_EQ(r.Count, c.stored.size());
    for (std::size_t i = 0; i < c.stored.size(); ++i) EXPECT_EQ(chip->MainFlashImage[8 + i], c.stored[i]) << i;
    EXPECT_EQ(chip->MainFlashImage[8 + c.stored.size()], 0xFF);  // nothing further, nothing when refused
  }
}

TEST(WriteSnConstData, NeverWritesPastTheImage) {
  auto chip = test::MakeChip();
  chip->Params.EepEnd = 0xFFFFFFFE;
  const u32 lastIndex = EepImageSize - 1;
  const auto r = WriteSnConstData(*chip, SnArea::EepFlash, test::kEepStart + lastIndex, "ABCDEFGH", SnDataFormat::Ascii);
  EXPECT_TRUE(r.Written);
  EXPECT_EQ(chip->EepImage[lastIndex], 'A');
  chip->Params.MainFlashStart = chip->Params.MainFlashEnd = NoWindow;
  EXPECT_FALSE(WriteSnConstData(*chip, SnArea::MainFlash, NoWindow, "A", SnDataFormat::Ascii).Written);
}

}  // namespace
}  // namespace qx
