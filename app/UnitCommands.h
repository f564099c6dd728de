#pragma once
// The main window's commands on the programmer units: the eight writing commands, started on
// every linked idle unit, and the six reads, on unit 0. The table says what each command runs
// before its units start; RunUnitCommand carries it out in the designed order. The window
// hands in what only it can do (its controls, its pages, the read-address dialog).
#include <functional>
#include <string>

#include "app/CustomerInfoBlock.h"
#include "app/ImageViews.h"
#include "app/ProgramSettings.h"
#include "app/Station.h"

namespace qx {

// One a window command on the units, in the order of their lines in
// app/WindowCommandList.def; Count is no command.
enum class UnitCommand : u8 {
#define QX_UNIT_COMMAND(Name, Unit) Unit,
#include "app/WindowCommandList.def"
  Count
};

enum class UnitStart : u8 {
  AllUnits,      // StartWritingCommand with Starter and Chain
  Unit0,         // the unit-0 guard, then Starter on unit 0
  ReadAddress,   // the unit-0 guard, the read-address dialog, the address read
  ReadChipInfo,  // the unit-0 guard, the chip-information read
};

// Starter and Chain have no default: a row that leaves either out does not build, so no
// start runs on a chain flag an earlier command left behind.
struct UnitCommandRule {
  UnitStart Start = UnitStart::AllUnits;
  UnitStarter Starter;
  AutoChainRule Chain;
  bool ChipPageToFront = true;      // the chip settings page comes to the front first
  bool ActivatePanelBtns = false;   // and the command panel becomes the active control
  bool CustomerBlock = false;       // the Silergy customer information block, first
  bool SerialNumbers = false;       // the on-line serial numbers, before the guards
  bool NeedsImage = false;          // the image guard after the chip guard
  bool EmptyLogLine = false;        // an empty log line after the guards
  bool CollectSettings = true;      // CollectProgramSettings before the units start
  bool OptionListing = false;       // the AutoChip option listing after the collection
  bool ReplacesImage = false;       // a read-back into the main image
};

const UnitCommandRule& RuleOf(UnitCommand command);

// What only the window can do for a command.
struct UnitCommandView {
  // The chip settings page to the front; activatePanel: the command panel becomes the
  // window's active control as well.
  std::function<void(bool activatePanel)> ChipPageToFront;
  // The setting controls as they stand now.
  std::function<ProgramControls()> Controls;
  std::function<CustomerInfoControls()> CustomerControls;
  // What the customer information block leaves to the window.
  std::function<void(const WindowActions&)> Apply;
  // Shows the read-address dialog modally; its result does not matter.
  std::function<void()> AskReadAddress;
  // The S/N edit shows text.
  std::function<void(const std::string& text)> ShowSerialNumber;
};

// Runs the command: page, customer block, serial numbers, guards, log line, settings,
// option listing, then the units. A text that is not an integer raises EConvertError and ends
// the command where it stands.
// (Station::RunUnitCommand, defined with the rules in app/UnitCommands.cpp.)

}  // namespace qx
