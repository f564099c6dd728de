#pragma once
// The tests' way into a station's unit states, to set up what a run would have left
// (a busy unit, bytes on their way, a count). Reading goes through the station's queries.
#include "app/Station.h"

namespace qx {

struct StationProbe {
  // The chip model as a command or a dialog leaves it, set up directly.
  static ChipModel& Model(Station& s) { return *s.model_; }
  static UnitSessions& Sessions(Station& s) { return *s.sessions_; }
  static ProtocolState& Wire(Station& s) { return *s.wire_; }
  static TComm& Comm(Station& s, u8 k) { return *s.comms_[k]; }
};

}  // namespace qx
