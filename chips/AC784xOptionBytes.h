#pragma once
// Option bytes of the AC7840x chips (subtype 16 and above) as the option dialog's controls
// show them: the read-protection byte and the P-Flash and D-Flash write protection, stored
// without complements.
#include <array>
#include <optional>
#include <string>

#include "chips/OptionFieldError.h"
#include "images/ChipModel.h"

namespace qx {

inline constexpr std::size_t AC784xRopAt = 16;
inline constexpr std::size_t AC784xPwrp1At = 128;
inline constexpr std::size_t AC784xPwrp2At = 130;
inline constexpr std::size_t AC784xDwrpAt = 132;

struct AC784xOptionControls {
  bool ReadProtect = false;           // ChkBoxROP4X
  std::array<std::string, 3> Fields;  // EditPWRP1, EditPWRP2, EditDWRP
};

AC784xOptionControls AC784xControlsFromImage(const ChipModel& model);

// OK: converts every field first (an error leaves image and flag untouched); then writes
// the six bytes (low 16 bits of the P-Flash words, low 8 of the D-Flash byte) and sets
// OptionsChanged exactly when one of them differs from 0xFF.
std::optional<OptionFieldError> WriteAC784xOptions(const AC784xOptionControls& controls, ChipModel& model);

}  // namespace qx
