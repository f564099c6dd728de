#pragma once
// The state of one programmer unit and of its progress gauge.
#include "base/Operator.h"
#include "base/Types.h"
#include "programmer/UnitStep.h"
#include "programmer/WireBuffers.h"

namespace qx {

// Time-outs in ticks of the 10 ms timer, all set through SetUnitTimeout. A step sets its own
// when it opens; after that, every chunk the unit's port receives reloads TicksAfterChunk,
// whatever the step set, by design: a unit that is still sending is not timed out, and the
// wait for the rest of a reply is the same for every step.
inline constexpr u16 TicksAtReset = 200;
inline constexpr u16 TicksWhileLinking = 300;  // the search and the off-line start open ports
inline constexpr u16 TicksAfterCommand = 500;  // a step's first request, an identification
inline constexpr u16 TicksAfterChunk = 1000;   // the receive handler's reload, see above
inline constexpr u16 TicksForErase = 2000;

// The unit's gauge (UnitGauge) changes only through the gauge helpers, which keep the
// progress within 0..Max like the window's own bar does.

// The unit's received-byte count lives with its buffers (UnitBuffers::RxCount).
struct UnitSession {
  u16 TimeoutTicks = TicksAtReset;
  u8 StepState = StepIdle;
  u16 BlockCount = 0;
  u16 BlockIndex = 0;
  UnitGauge Gauge;
  u8 UpgradeBusy = 0;
  // The unit's firmware upgrade failed in this run: identification does not start it again
  // by itself (the upgrade command still can), so a broken unit cannot loop.
  u8 UpgradeFailed = 0;
  // The unit's firmware was upgraded in this run. One that still answers as old firmware or
  // as the boot loader did not take it: upgrading it again would only loop.
  u8 UpgradeDone = 0;
  u8 Linked = 0;
  // The unit's latest download ran to its end. Kept per unit so that a batch counts units,
  // not completions: a unit done twice cannot stand in for one that failed.
  u8 DownloadDone = 0;
  u8 AutoChain = 0;
  u8 Busy = 0;
  u8 GaugeRun = 0;
  i32 NgCount = 0;
  i32 OkCount = 0;
  // The payload bytes the reply in the unit's packet slot carried (its decoded length less
  // header and check word; the PayloadLength field may say otherwise). Data handlers read no
  // further.
  u16 ReplyPayloadBytes = 0;
};

}  // namespace qx
