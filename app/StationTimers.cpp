// The two timers' work.
#include "app/Station.h"
#include "programmer/Tick.h"

namespace qx {

void Station::Timer1Timer() {
  TickUnits(*sessions_);
  BatchExitTest();
}

bool Station::Timer2Timer() {
  auto& s = *sessions_;
  if (autoConnectPending_) {
    autoConnectPending_ = 0;
    BitBtnFindDevClick();
  }
  // A unit being upgraded is counted only when it answers the search after the upgrades,
  // so the timer goes on (and no batch download starts) until that search has run.
  if (s.LinkedCount >= s.UnitCount && !s.RelinkPending && !AnyUpgrading()) {
    // One rule for every dialog and box: the batch start does not bring its job in under
    // one. It waits for the last to close, and then for what that close started on the
    // units (an address read after its dialog), which it would otherwise refuse for ever.
    const bool modalOpen = modals_ != nullptr && modals_->Open();
    batchHeld_ = cmdLineMode_ && !batchStarted_ && (modalOpen || (batchHeld_ && BusyUnits().any()));
    if (batchHeld_) return false;
    BatchStart();
    return true;
  }
  // The search closes every port: it waits for the upgrades and for any step that the
  // operator started on the units that are already linked.
  if (s.RelinkPending && !AnyUpgrading() && BusyUnits().none()) {
    s.RelinkPending = 0;
    sleep_(500);
    BitBtnFindDevClick();
  }
  return false;
}

}  // namespace qx
