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
