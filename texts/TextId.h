#pragma once
// Identifiers of every user-visible text. Each catalogue/*.def file holds the texts of one
// folder as QX_TEXT(Id, "English", "中文") lines; this header and Texts.cpp expand them.
#include <cstdint>

namespace qx {

enum class TextId : std::uint16_t {
#define QX_TEXT(id, en, zh) id,
#include "texts/catalogue/all.def"
#undef QX_TEXT
  Count_
};

inline constexpr std::size_t kTextCount = static_cast<std::size_t>(TextId::Count_);

}  // namespace qx
