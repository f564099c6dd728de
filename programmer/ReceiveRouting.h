#pragma once
// Per-port receive routing: the bytes of each receive event are cut into frames, and each
// frame goes to the reply dispatch of a linked unit or to the identification of a unit not
// yet linked. And the hang-up of a port that failed.
#include <functional>
#include <span>
#include <string_view>

#include "programmer/PortList.h"
#include "programmer/UnitSessions.h"

namespace qx {

// One receive event of unit k's port. Re-entrant: while a handler of unit k runs (a modal
// question keeps serving events), bytes for unit k are held and routed after it returns;
// other units are routed at once.
void HandleReceiveData(UnitSessions& s, u8 k, std::span<const u8> chunk);

// Unit k's port failed: close it, unlink the unit, drop its entry from the port list (by
// the port's name when given, else by the unit's position). A running step ends by its
// time-out.
void HandleHangup(UnitSessions& s, u8 k, PortList& list, std::string_view portName,
                  const std::function<void()>& closePort);

}  // namespace qx
