#pragma once
// Building blocks of the makers' window set-ups.
#include <optional>
#include <string_view>

#include "chips/WindowChanges.h"
#include "images/ChipModel.h"
#include "texts/TextId.h"

namespace qx::setup {

// Which option controls a family shows. The chip-information menu item is left as it is
// where the family says nothing about it.
struct OptionControls {
  bool optionButton;                 // BtnOptionCfg
  bool programOption;                // CheckBoxOpt shown
  bool programOptionTicked;          // and its check state; hidden means unticked
  bool writeButton;                  // SpdBtnWrtOPB
  bool readMenu;                     // ReadOptionByte1
  bool writeMenu;                    // WriteOptionByte1
  bool showMenu;                     // ShowChipOptionData1
  std::optional<bool> chipInfoMenu;  // ReadMG32xxChipID1
  std::optional<TextId> optionButtonCaption = std::nullopt;
  std::optional<TextId> programOptionCaption = std::nullopt;
};

inline constexpr std::optional<bool> kLeave = std::nullopt;
inline constexpr std::optional<bool> kHide = false;

inline constexpr OptionControls kNoOptions{false, false, false, false, false, false, false, kLeave};
inline constexpr OptionControls kNoOptionsNoChipInfo{false, false, false, false, false, false, false, kHide};

// Every set-up begins with the voltage group and hides the device address, which then
// shows the chip's.
WindowChanges Begin(const ChipModel& model, bool voltageFromChip = true);

void AddOptionControls(WindowChanges& w, const OptionControls& o);

// Begin, then the option controls.
WindowChanges WithOptions(const ChipModel& model, const OptionControls& o);

// An edit showing a number as the chip dialogs write it.
ControlChange EditText(std::string_view name, u32 value);

}  // namespace qx::setup
