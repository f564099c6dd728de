#include <gtest/gtest.h>

#include "texts/TextFileEncoding.h"
#include "texts/Texts.h"

namespace qx {
namespace {

TEST(Catalogue, EveryTextHasBothLanguagesWithTheSameDirectives) {
  for (std::size_t i = 0; i < kTextCount; ++i) {
    const auto id = static_cast<TextId>(i);
    SCOPED_TRACE(std::string(TextIdName(id)));
    const auto en = TextIn(Language::English, id);
    const auto zh = TextIn(Language::Chinese, id);
    EXPECT_FALSE(en.empty());
    EXPECT_FALSE(zh.empty());
    EXPECT_EQ(FormatSignature(en), FormatSignature(zh));
  }
}

TEST(Catalogue, EveryChineseTextConvertsToGbkAndBack) {
  for (std::size_t i = 0; i < kTextCount; ++i) {
    const auto id = static_cast<TextId>(i);
    SCOPED_TRACE(std::string(TextIdName(id)));
    const auto zh = TextIn(Language::Chinese, id);
    const auto gbk = Utf8ToGbk(zh);
    ASSERT_TRUE(gbk.has_value());
    EXPECT_EQ(GbkToUtf8(*gbk).value_or(""), zh);
  }
}

// The last id has its texts; the Count_ sentinel and beyond read as none, in both languages.
TEST(Catalogue, TheLastTextIsThereAndNoneLiesPastIt) {
  const auto last = static_cast<TextId>(kTextCount - 1);
  for (const Language lang : {Language::English, Language::Chinese}) {
    EXPECT_FALSE(TextIn(lang, last).empty());
    EXPECT_TRUE(TextIn(lang, TextId::Count_).empty());
    EXPECT_TRUE(TextIn(lang, static_cast<TextId>(kTextCount + 1)).empty());
  }
  EXPECT_FALSE(TextIdName(last).empty());
  EXPECT_TRUE(TextIdName(TextId::Count_).empty());
}

TEST(Catalogue, TestsRunWithTheEnglishBuild) {
  EXPECT_EQ(BuildLanguage(), Language::English);
  EXPECT_EQ(Text(TextId::NotValidInteger), "'%s' is not a valid integer value");
}

TEST(TextFileEncoding, GbkOfKnownCharactersAndRejectionOfUnmappable) {
  EXPECT_EQ(Utf8ToGbk("\xE4\xB8\xAD").value_or(""), "\xD6\xD0");  // 中
  EXPECT_EQ(Utf8ToGbk("abc").value_or(""), "abc");
  EXPECT_FALSE(Utf8ToGbk("\xF0\x9F\x98\x80").has_value());  // an emoji has no GBK form
  EXPECT_FALSE(Utf8ToGbk("\xFF").has_value());
  EXPECT_EQ(EncodeForTextFile("x\xE4\xB8\xAD"), "x\xE4\xB8\xAD");  // English build: unchanged
}

}  // namespace
}  // namespace qx
