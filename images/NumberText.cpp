#include "images/NumberText.h"

#include "base/Errors.h"
#include "texts/Texts.h"

namespace qx {

std::optional<i32> TryStrToInt(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
    negative = text[i] == '-';
    ++i;
  }
  unsigned base = 10;
  if (i < text.size() && text[i] == '$') {
    base = 16;
    ++i;
  } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  if (i >= text.size()) return std::nullopt;
  std::uint64_t v = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    unsigned d;
    if (c >= '0' && c <= '9') {
      d = static_cast<unsigned>(c - '0');
    } else if (base == 16 && c >= 'a' && c <= 'f') {
      d = static_cast<unsigned>(c - 'a' + 10);
    } else if (base == 16 && c >= 'A' && c <= 'F') {
      d = static_cast<unsigned>(c - 'A' + 10);
    } else {
      return std::nullopt;
    }
    v = v * base + d;
    if (v > 0xFFFFFFFFull) return std::nullopt;
  }
  if (base == 10) {
    if (negative ? v > 0x80000000ull : v > 0x7FFFFFFFull) return std::nullopt;
    const auto s = static_cast<std::int64_t>(v);
    return static_cast<i32>(negative ? -s : s);
  }
  const auto bits = static_cast<u32>(v);
  return static_cast<i32>(negative ? 0u - bits : bits);
}

i32 StrToInt(std::string_view text) {
  if (auto v = TryStrToInt(text)) return *v;
  throw EConvertError(Tx(TextId::NotValidInteger, text));
}

u32 StrToU32(std::string_view text) { return static_cast<u32>(StrToInt(text)); }

}  // namespace qx
