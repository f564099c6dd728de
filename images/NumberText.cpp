#include "images/NumberText.h"

#include "base/Errors.h"
#include "texts/Texts.h"

namespace qx {

namespace {

// The text's value when it fits an integer of `bits` bits: decimal within the signed range,
// hexadecimal using every bit.
std::optional<std::int64_t> Parse(std::string_view text, unsigned bits) {
  const std::uint64_t hexMax = bits == 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << bits) - 1;
  const std::uint64_t decMax = hexMax >> 1;  // largest positive value; one more when negative
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
    negative = text[i] == '-';
    ++i;
  }
  unsigned base = 10;
  if (i < text.size() && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
    base = 16;
    ++i;
  } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  if (i >= text.size()) return std::nullopt;
  const std::uint64_t limit = base == 16 ? hexMax : decMax + (negative ? 1 : 0);
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
    if (v > (limit - d) / base) return std::nullopt;
    v = v * base + d;
  }
  // Two's complement at the field's width; a hexadecimal pattern keeps its bits.
  const std::uint64_t bitsValue = negative ? 0 - v : v;
  const std::uint64_t masked = bits == 64 ? bitsValue : (bitsValue & hexMax);
  const std::uint64_t signBit = std::uint64_t{1} << (bits - 1);
  return (masked & signBit) ? static_cast<std::int64_t>(masked | ~hexMax) : static_cast<std::int64_t>(masked);
}

}  // namespace

std::optional<i32> TryStrToInt(std::string_view text) {
  if (auto v = Parse(text, 32)) return static_cast<i32>(*v);
  return std::nullopt;
}

i32 StrToInt(std::string_view text) {
  if (auto v = TryStrToInt(text)) return *v;
  throw EConvertError(Tx(TextId::NotValidInteger, text));
}

u32 StrToU32(std::string_view text) { return static_cast<u32>(StrToInt(text)); }

std::optional<std::int64_t> TryStrToInt64(std::string_view text) { return Parse(text, 64); }

std::int64_t StrToInt64(std::string_view text) {
  if (auto v = TryStrToInt64(text)) return *v;
  throw EConvertError(Tx(TextId::NotValidInteger, text));
}

}  // namespace qx
