#pragma once
// The one way the core reaches the operator. The main window implements it; tests use a
// recorder. No core function opens a dialog or touches a widget.
#include <string_view>

#include "images/Types.h"

namespace qx {

enum class MsgKind : u8 { Information, Warning, Error, Confirmation };
enum class MsgButtons : u8 { Ok, OkAbort, YesAbort, YesNo, OkCancel };
enum class MsgAnswer : u8 { Ok, Abort, Yes, No, Cancel };

// View refreshes the core asks for after it changed what the views show.
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
  virtual void SetInfoCaption(std::string_view text) { (void)text; }
  // Unit k's gauge (progress, maximum, colour) changed.
  virtual void UnitGaugeChanged(int unit) { (void)unit; }
  virtual void Refresh(View view) { (void)view; }
};

}  // namespace qx
