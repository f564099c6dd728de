#pragma once
// Fixed serial-number data ("S/N constant"): a block of bytes, typed as text or as
// space-separated hex tokens, placed at an address of the main-flash or data-flash image.
#include <optional>
#include <string_view>

#include "images/ChipModel.h"

namespace qx {

enum class SnArea : u8 { MainFlash = 0, EepFlash = 1 };
enum class SnDataFormat : u8 { Ascii = 0, Hex = 1 };

// Reads the token that starts at or after pos (leading spaces skipped) into value; returns
// the position just after it (the ending space or the text end), or nullopt when no token is
// left. Only the last two digits of a token count; a non-hex character counts as 0.
std::optional<std::size_t> ParseHexToken(std::string_view text, std::size_t pos, u8& value);

struct SnWriteResult {
  bool Written = false;  // false: the address lies outside the area's window
  u32 Address = 0;
  u32 Count = 0;  // bytes of data (those past the image end are dropped)
};

// Stores data at address in the area's image when the address lies in its window.
SnWriteResult WriteSnConstData(ChipModel& model, SnArea area, u32 address, std::string_view data,
                               SnDataFormat format);

}  // namespace qx
