#pragma once
#include <string>
#include <string_view>

#include "texts/Format.h"
#include "texts/Language.h"
#include "texts/TextId.h"

namespace qx {

// The text of the build's language, UTF-8.
std::string_view Text(TextId id);
std::string_view TextIn(Language lang, TextId id);
std::string_view TextIdName(TextId id);

// Text(id) formatted with args (see Format.h for the directives).
template <typename... Args>
std::string Tx(TextId id, const Args&... args) {
  return Format(Text(id), {FmtArg(args)...});
}

}  // namespace qx
