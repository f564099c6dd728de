#pragma once
// Number fields: decimal text with an optional sign, or hexadecimal after "$", "x" or "0x".
// Anything else raises EConvertError "'%s' is not a valid integer value".
#include <cstdint>
#include <optional>
#include <string_view>

#include "base/Types.h"

namespace qx {

// Value of text as a 32-bit integer; hexadecimal may use all 32 bits ("$FFFFFFFF" is -1).
i32 StrToInt(std::string_view text);
// The same value as its 32-bit pattern, the form address fields use.
u32 StrToU32(std::string_view text);
// nullopt instead of the exception.
std::optional<i32> TryStrToInt(std::string_view text);

// The same rules for a 64-bit integer (fields whose low bits are kept from a wider value).
std::int64_t StrToInt64(std::string_view text);
std::optional<std::int64_t> TryStrToInt64(std::string_view text);

}  // namespace qx
