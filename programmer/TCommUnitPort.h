#pragma once
// A programmer unit's serial component seen from the protocol: requests are written
// through TComm while its port is open. The station binds its events.
#include <span>

#include "programmer/UnitPort.h"
#include "serial/TComm.h"

namespace qx {

class TCommUnitPort : public UnitPort {
 public:
  explicit TCommUnitPort(TComm& comm) : comm_(comm) {}
  bool WriteData(std::span<const u8> bytes) override { return comm_.IsOpen() && comm_.WriteData(bytes); }
  TComm& Comm() { return comm_; }

 private:
  TComm& comm_;
};

}  // namespace qx
