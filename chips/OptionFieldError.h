#pragma once
// Number fields of the option dialogs. Every field is converted before a byte is written:
// a field whose text is not an integer is reported, gets the focus, and nothing changes.
#include <cstddef>
#include <optional>
#include <span>
#include <string>

#include "base/Types.h"

namespace qx {

struct OptionFieldError {
  std::size_t Field;    // position of the field in its dialog's list of number fields
  std::string Message;  // "'%s' is not a valid integer value"
};

// Converts texts[i] into values[i] (the integer's 32-bit pattern), in order; stops at the
// first text that is not an integer. values holds at least as many entries as texts.
std::optional<OptionFieldError> ConvertOptionFields(std::span<const std::string> texts, std::span<u32> values);

}  // namespace qx
