#pragma once
// The start address and length of the "Read Specific Address" command, as its dialog
// shows and stores them.
#include <optional>
#include <string>
#include <string_view>

#include "images/ChipModel.h"

namespace qx {

inline constexpr int ReadLengthMin = 16;
inline constexpr int ReadLengthMax = 1024;
inline constexpr int ReadLengthStep = 16;

// The address edit's text when the dialog opens: "0x%0.8x" of ReadStart.
std::string ReadStartText(const ChipModel& model);

// The length the dialog stores for the length field's value: limited to 16..1024, a text
// that is not a number (nullopt) counts as 16.
u16 ReadLengthOf(std::optional<int> value);

// OK: ReadStart := the address text's value with its low four bits cleared (leading blanks
// skipped), ReadLength := ReadLengthOf(length). A text that is not a number raises
// EConvertError before anything is stored.
void StoreReadAddress(ChipModel& model, std::string_view addressText, std::optional<int> length);

}  // namespace qx
