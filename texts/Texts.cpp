#include "texts/Texts.h"

#include <array>

namespace qx {
namespace {

constexpr std::array<std::string_view, kTextCount> kEnglish = {
#define QX_TEXT(id, en, zh) en,
#include "texts/catalogue/all.def"
#undef QX_TEXT
};

constexpr std::array<std::string_view, kTextCount> kChinese = {
#define QX_TEXT(id, en, zh) zh,
#include "texts/catalogue/all.def"
#undef QX_TEXT
};

constexpr std::array<std::string_view, kTextCount> kNames = {
#define QX_TEXT(id, en, zh) #id,
#include "texts/catalogue/all.def"
#undef QX_TEXT
};

}  // namespace

Language BuildLanguage() {
#if defined(QX_LANG_ZH)
  return Language::Chinese;
#else
  return Language::English;
#endif
}

std::string_view TextIn(Language lang, TextId id) {
  const auto i = static_cast<std::size_t>(id);
  if (i >= kTextCount) return {};
  return lang == Language::Chinese ? kChinese[i] : kEnglish[i];
}

std::string_view Text(TextId id) { return TextIn(BuildLanguage(), id); }

std::string_view TextIdName(TextId id) {
  const auto i = static_cast<std::size_t>(id);
  return i < kTextCount ? kNames[i] : std::string_view{};
}

}  // namespace qx
