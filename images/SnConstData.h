#pragma once
// Fixed serial-number data ("S/N constant"): a block of bytes, typed as text or as
// space-separated hex tokens, placed at an address of the main-flash or data-flash image.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "images/ChipModel.h"

namespace qx {

enum class SnArea : u8 { MainFlash = 0, EepFlash = 1 };
enum class SnDataFormat : u8 { Ascii = 0, Hex = 1 };

// Reads the token that starts at or after pos (leading spaces skipped) into value; returns
// the position just after it (the ending space or the text end), or nullopt when no token is
// left. Only the last two digits of a token count; a non-hex character counts as 0.
std::optional<std::size_t> ParseHexToken(std::string_view text, std::size_t pos, u8& value);

// Text data goes one byte per character: the characters U+0000..U+00FF as their code. A
// character beyond them has no one-byte form; the first such one is BadChar (UTF-8) and
// Bytes is empty. A malformed UTF-8 byte counts as such a character.
struct SnTextBytes {
  std::vector<u8> Bytes;
  std::string BadChar;
};
SnTextBytes SnAsciiBytes(std::string_view utf8);

struct SnWriteResult {
  bool Written = false;  // false: the address lies outside the area's window, or BadChar
  u32 Address = 0;
  u32 Count = 0;  // bytes of data (those past the image end are dropped)
  std::string BadChar;  // text data: the first character without a one-byte form
};

// Stores data (UTF-8 text or hex tokens) at address in the area's image when the address
// lies in its window and, for text, every character has a one-byte form.
SnWriteResult WriteSnConstData(ChipModel& model, SnArea area, u32 address, std::string_view data,
                               SnDataFormat format);

}  // namespace qx
