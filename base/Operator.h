#pragma once
// The one way the core reaches the operator. The main window implements it; tests use a
// recorder and assert on its events. No core function opens a dialog or touches a widget.
#include <span>
#include <string>
#include <string_view>

#include "base/Types.h"

namespace qx {

enum class MsgKind : u8 { Information, Warning, Error, Confirmation };
enum class MsgButtons : u8 { Ok, OkAbort, YesAbort, YesNo, OkCancel };
enum class MsgAnswer : u8 { Ok, Abort, Yes, No, Cancel };

// A unit's gauge: what the window's progress bar shows. The state stands for the colour.
enum class GaugeState : u8 { Running, Ok, Failed };

struct UnitGauge {
  i32 Progress = 0;
  i32 Max = 100;
  GaugeState State = GaugeState::Running;
};

// View refreshes the core asks for after it changed what the views show.
// (Being folded into the typed calls below.)
enum class View : u8 {
  MainHex,
  EepHex,
  OptionHex,
  Checksums,
  SerialNumber,
  UnitCounters,
};

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

  // Per-unit events. A step began with its gauge range; its gauge moved; it ended with a
  // result code (ok: 0 or 6, or a chain that finished; failed: anything else).
  virtual void UnitStepBegan(u8 unit, u8 step, const UnitGauge& gauge) {
    (void)unit, (void)step, (void)gauge;
  }
  virtual void UnitProgress(u8 unit, const UnitGauge& gauge) { (void)unit, (void)gauge; }
  virtual void UnitStepEnded(u8 unit, u8 step, u8 code, bool ok) { (void)unit, (void)step, (void)code, (void)ok; }
  // The unit's OK and NG counters changed.
  virtual void UnitCountersChanged(u8 unit) { (void)unit; }

  // View refreshes with the ranges they need. Main-image indices are inclusive.
  virtual void ShowMainHex(u32 firstIndex, u32 lastIndex) { (void)firstIndex, (void)lastIndex; }
  virtual void UpdateMainHexRows(u32 firstAddress, u32 lastAddress) { (void)firstAddress, (void)lastAddress; }
  virtual void ShowEepData() {}
  virtual void ShowOptionData() {}
  // ImageChecksums changed (the core computed them); the view shows them.
  virtual void ChecksumsChanged() {}
  // A chip of unit k's automatic chain is complete: the serial number moves on.
  virtual void AdvanceSerialNumber(u8 unit) { (void)unit; }

  // Old channels, folded into the calls above by the station work.
  virtual void UnitGaugeChanged(int unit) { (void)unit; }
  virtual void Refresh(View view) { (void)view; }
};

}  // namespace qx
