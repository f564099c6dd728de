#pragma once
// Everything the program knows of one chip-maker group, in one place: the models the chip
// dialog offers, how a model is selected, how the window adapts to it, which option dialog
// and listings it has and which flash-driver files its chips load. Each group defines one
// in chips/makers/<name>Maker.cpp; MakerList.def registers it.
#include <cstddef>
#include <span>
#include <string_view>

#include "base/MessageLog.h"
#include "chips/DriverFileRow.h"
#include "chips/FamilyRequests.h"
#include "chips/FamilyRules.h"
#include "chips/MakerSays.h"
#include "chips/Makers.h"
#include "chips/OptionDialog.h"
#include "chips/WindowChanges.h"
#include "images/ChipModel.h"
#include "texts/TextId.h"

namespace qx {

// The option dialog of a chip; from subtype `splitSubtype` on, `fromSplit` instead.
struct OptionDialogBinding {
  OptionDialog dialog = OptionDialog::None;
  unsigned splitSubtype = 0x100;  // above every subtype: no split
  OptionDialog fromSplit = OptionDialog::None;
};

constexpr OptionDialog DialogForSubtype(const OptionDialogBinding& b, u8 subtype) {
  return subtype < b.splitSubtype ? b.dialog : b.fromSplit;
}

using OptionListing = void (*)(MessageLog& log, const ChipModel& model);
// What a unit read back from its chip: the reply's payload as it arrived.
using ReadOptionListing = void (*)(MessageLog& log, const ChipModel& model, u8 unit, std::span<const u8> payload);

// Where a maker's window and runs differ from the others'. The core reads these and asks
// no "which maker is it"; no member has a default (MakerSays).
struct MakerDifferences {
  // The interface radio group shows, and its choice is bit 0 of the interface flags.
  MakerSays interfaceGroup;
  // The customer information page shows, and the programming commands build its block first.
  MakerSays customerInfoPage;
  // The read-protection box stands for the protection bits and the option-byte programming.
  MakerSays readProtectBox;
  // A loaded object file's CRC-32 is computed and logged.
  MakerSays objectCrc32;
  // The programming commands list the option data as they will go to the units.
  MakerSays optionListingBeforeStart;
};

// A maker whose window and runs differ in none of these states so by naming this.
inline constexpr MakerDifferences kNoMakerDifferences{.interfaceGroup = false,
                                                      .customerInfoPage = false,
                                                      .readProtectBox = false,
                                                      .objectCrc32 = false,
                                                      .optionListingBeforeStart = false};

struct MakerModule {
  Maker maker;  // its own line of MakerList.def
  TextId name;  // as the chip dialog lists it
  // The order is part of the data: a model's position is handed to the selection rules,
  // and several families take it as the chip subtype.
  std::span<const std::string_view> models;
  FamilyRules (*rules)();
  WindowChanges (*windowSetup)(const ChipModel& model);
  MakerDifferences differs;
  FamilyRequests requests;  // of the family its chips take
  OptionDialogBinding optionDialog{};
  OptionListing currentOptionListing = nullptr;  // "Show Chip Option Data"; none: nullptr
  ReadOptionListing readOptionListing = nullptr;  // the read-option reply; none: nullptr
  // Ordered: the first row whose prefix starts the chip name decides.
  std::span<const DriverFileRow> driverFiles{};
};

}  // namespace qx
