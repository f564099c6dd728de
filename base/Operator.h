#pragma once
// The one way the core reaches the operator. The main window implements it; tests use a
// recorder and assert on its events. No core function opens a dialog or touches a widget.
// Every call arrives on the GUI thread. All but Ask have an empty default, so a view that
// shows less (a test, a benchmark) overrides only what it needs.
#include <span>
#include <string>
#include <string_view>

#include "base/Types.h"

namespace qx {

enum class MsgKind : u8 { Information, Warning, Error, Confirmation };
enum class MsgButtons : u8 { Ok, OkAbort, YesAbort, YesNo, OkCancel };
enum class MsgAnswer : u8 { Ok, Abort, Yes, No, Cancel };

// A unit's gauge: what the window's progress bar shows. The state stands for the colour
// (Running and Ok blue, Failed red). Progress always lies within 0..Max.
enum class GaugeState : u8 { Running, Ok, Failed };

struct UnitGauge {
  i32 Progress = 0;
  i32 Max = 100;
  GaugeState State = GaugeState::Running;
};

// The code of a step that failed before any status came from the unit or the program
// (for example a request that was refused before it was sent).
inline constexpr u8 StepFailedWithoutCode = 0xFF;

class Operator {
 public:
  virtual ~Operator() = default;

  // A modal message; returns the button pressed. Events of the ports and timers go on
  // being served while it is open.
  virtual MsgAnswer Ask(MsgKind kind, std::string_view text, MsgButtons buttons) = 0;

  // The message log: a line was appended, the log was cleared.
  virtual void LogLineAdded(const std::string& line) { (void)line; }
  virtual void LogCleared() {}

  virtual void SetInfoCaption(std::string_view text) { (void)text; }

  // The port list was rebuilt or lost an entry: the combo's entries and its text.
  virtual void PortListChanged(std::span<const std::string> entries, std::string_view text) {
    (void)entries, (void)text;
  }
  // The device search asks for one gauge per unit in use.
  virtual void ArrangeProgressGauges(u8 unitCount) { (void)unitCount; }

  // Per-unit events of unit 0..9. A step began, with its gauge range; the gauge moved (a
  // block, the 10 ms creep, a progress report of the unit's own programming); a step
  // ended. code: the unit's status or the program's own (ResultCode; the time-out ends
  // with 64), StepFailedWithoutCode when there is none; ok: the step succeeded. step is
  // the step that ended; StepIdle (240) when none was running (a bad frame from an idle
  // unit still turns its gauge red). A chain that goes on to its next step begins that
  // step without ending the previous one, so a chain ends exactly once.
  virtual void UnitStepBegan(u8 unit, u8 step, const UnitGauge& gauge) { (void)unit, (void)step, (void)gauge; }
  virtual void UnitProgress(u8 unit, const UnitGauge& gauge) { (void)unit, (void)gauge; }
  virtual void UnitStepEnded(u8 unit, u8 step, u8 code, bool ok, const UnitGauge& gauge) {
    (void)unit, (void)step, (void)code, (void)ok, (void)gauge;
  }

  // View refreshes with the ranges they need. ShowMainHex rebuilds the main-flash grid
  // with (last - first + 1) bytes of rows from the image's first main-flash byte;
  // UpdateMainHexRows rewrites the rows holding the chip addresses firstAddress ..
  // lastAddress.
  virtual void ShowMainHex(u32 first, u32 last) { (void)first, (void)last; }
  virtual void UpdateMainHexRows(u32 firstAddress, u32 lastAddress) { (void)firstAddress, (void)lastAddress; }
  virtual void ShowEepData() {}
  // The main and data-flash grids back to their header row (the chip reaction's). It comes
  // in order with the other refreshes, so a refresh after it is not undone.
  virtual void ResetHexViews() {}
  virtual void ShowOptionData() {}
  // ImageChecksums changed (the core computed them); the view shows them.
  virtual void ChecksumsChanged() {}
  // The main image now holds what a unit read back: no loaded file names its bytes.
  virtual void MainImageReadBack() {}
  // The load-offset dialog of a binary object file: it shows the chip model's BinOffset and
  // may change it. Without a dialog the preset stands.
  virtual void AskBinaryOffset() {}
  // A chip of unit k's automatic chain is complete: the serial number moves on (when the
  // window's serial-number boxes say so).
  virtual void AdvanceSerialNumber(u8 unit) { (void)unit; }
  // The batch run has ended well: the program ends as when the operator closes it (the
  // window closes itself; a windowless caller sees the request).
  virtual void CloseProgram() {}
};

}  // namespace qx
