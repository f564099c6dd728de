#pragma once
// The on-line serial numbers of the Auto and Prog commands over several units. The number on
// screen when the command starts goes to unit 0 and unit k gets SnValue + k x SnGain, each in
// that unit's own program and verify blocks (the image stays as loaded). The number on screen
// then moves past every unit the command started, so no number is given twice, in a run or
// across runs; a chip that fails keeps its number unused.
#include <optional>
#include <string>

#include "app/ProgramSettings.h"
#include "app/SerialNumbers.h"
#include "app/Station.h"
#include "programmer/SerialPatch.h"

namespace qx {

// "Enable S/N" and "Enable Online SN" both checked.
bool OnlineSerialNumbers(const ProgramControls& controls);

struct SerialRun {
  SnSettings Sn;  // the fields as on screen when the command started
  bool BigEndian = true;
};

// After the chip guard: SnGain, SnValue and SnAddress read from the page (a text that
// is not an integer or beyond its field raises EConvertError) and stored, the address
// checked and DownloadSize widened to cover the number (PrepareSerialNumberRange). nullopt
// when the address is refused: the command stops.
std::optional<SerialRun> PrepareSerialRun(const ProgramControls& controls, ChipModel& model, MessageLog& log,
                                          Operator& op);

// Unit k's number in its patch, with the unit's sums over the programmed range.
void NumberUnit(const SerialRun& run, const ChipModel& model, u8 k, UnitSerialPatch& patch);

// After the units started: SnValue past the last unit started (unchanged when none was), and
// the edit's text of it.
std::string AdvancePastUnits(const SerialRun& run, UnitSet started, bool decimal, SnSettings& sn);

// The main grid shows unit 0's number over the image: its rows are shown again.
void ShowSerialNumberRows(const ChipParams& params, const UnitSerialPatch& patch, Operator& op);

// Every idle unit's own number dropped, as the image they were placed over changed; the grid
// shows the image again where it showed unit 0's. A busy unit's run keeps its number.
void ForgetSerialNumbers(Station& station);

// A chip of a unit's automatic chain is complete. A unit that was numbered when its command
// started was counted then (numbered); for any other the number moves on as the two boxes
// say (AdvanceSerialNumber). The edit's new text, when it changed.
std::optional<std::string> SerialNumberAfterChip(SnSettings& sn, const SerialNumberControls& controls, bool numbered);

}  // namespace qx
