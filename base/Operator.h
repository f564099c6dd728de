#pragma once
// The one way the core reaches the operator, split by concern into small interfaces that
// are all pure: whoever implements a part implements every call of it, or the build fails.
// The main window implements them all (Operator); batch mode, tests and benchmarks make an
// Operator of the parts they implement and the parts of others (ComposedOperator), so a
// concern a caller ignores is ignored by an explicit part. No core function opens a dialog
// or touches a widget. Every call arrives on the GUI thread.
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

// Modal questions.
class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  // A modal message; returns the button pressed. Events of the ports and timers go on
  // being served while it is open.
  virtual MsgAnswer Ask(MsgKind kind, std::string_view text, MsgButtons buttons) = 0;
  // The load-offset dialog of a binary object file: it shows the chip model's BinOffset and
  // may change it. Without a dialog the preset stands.
  virtual void AskBinaryOffset() = 0;
};

// The message log and the caption above it.
class LogView {
 public:
  virtual ~LogView() = default;
  // A line was appended, the log was cleared.
  virtual void LogLineAdded(const std::string& line) = 0;
  virtual void LogCleared() = 0;
  virtual void SetInfoCaption(std::string_view text) = 0;
};

// Per-unit events of unit 0..9. A step began, with its gauge range; the gauge moved (a
// block, the 10 ms creep, a progress report of the unit's own programming); a step ended.
// code: the unit's status or the program's own (ResultCode; the time-out ends with 64),
// StepFailedWithoutCode when there is none; ok: the step succeeded. step is the step that
// ended; StepIdle (240) when none was running (a bad frame from an idle unit still turns its
// gauge red). A chain that goes on to its next step begins that step without ending the
// previous one, so a chain ends exactly once.
class UnitEvents {
 public:
  virtual ~UnitEvents() = default;
  virtual void UnitStepBegan(u8 unit, u8 step, const UnitGauge& gauge) = 0;
  virtual void UnitProgress(u8 unit, const UnitGauge& gauge) = 0;
  virtual void UnitStepEnded(u8 unit, u8 step, u8 code, bool ok, const UnitGauge& gauge) = 0;
  // A chip of unit k's automatic chain is complete: the serial number moves on (when the
  // window's serial-number boxes say so).
  virtual void AdvanceSerialNumber(u8 unit) = 0;
};

// The image grids and what is shown beside them, refreshed with the ranges they need.
class GridViews {
 public:
  virtual ~GridViews() = default;
  // Rebuilds the main-flash grid with (last - first + 1) bytes of rows from the image's
  // first main-flash byte.
  virtual void ShowMainHex(u32 first, u32 last) = 0;
  // Rewrites the rows holding the chip addresses firstAddress .. lastAddress.
  virtual void UpdateMainHexRows(u32 firstAddress, u32 lastAddress) = 0;
  virtual void ShowEepData() = 0;
  // The main and data-flash grids back to their header row (the chip reaction's). It comes
  // in order with the other refreshes, so a refresh after it is not undone.
  virtual void ResetHexViews() = 0;
  virtual void ShowOptionData() = 0;
  // ImageChecksums changed (the core computed them); the view shows them.
  virtual void ChecksumsChanged() = 0;
  // The main image now holds what a unit read back: no loaded file names its bytes.
  virtual void MainImageReadBack() = 0;
};

// The window's frame: the port list, the gauges, the program's end.
class FrameView {
 public:
  virtual ~FrameView() = default;
  // The port list was rebuilt or lost an entry: the combo's entries and its text.
  virtual void PortListChanged(std::span<const std::string> entries, std::string_view text) = 0;
  // The device search asks for one gauge per unit in use.
  virtual void ArrangeProgressGauges(u8 unitCount) = 0;
  // The batch run has ended well: the program ends as when the operator closes it (the
  // window closes itself; a windowless caller sees the request).
  virtual void CloseProgram() = 0;
};

// Everything the core shows, whole.
class Operator : public MessageBoxes, public LogView, public UnitEvents, public GridViews, public FrameView {};

}  // namespace qx
