#pragma once
// The programmer units' serial components seen from the protocol: requests are written
// through TComm, and its receive and hang-up events are routed to the unit's session.
#include <array>
#include <memory>
#include <span>

#include "programmer/PortList.h"
#include "programmer/UnitPort.h"
#include "programmer/UnitSessions.h"
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

// Binds unit k to its component: its requests go out through it, its receive events go to
// the receive routing, its hang-up to the hang-up handler over list. Line errors are left
// alone: a garbled frame fails its own step, which is all a line error can spoil.
class UnitCommRouter {
 public:
  UnitCommRouter(UnitSessions& s, PortList& list) : s_(s), list_(list) {}
  UnitCommRouter(const UnitCommRouter&) = delete;
  UnitCommRouter& operator=(const UnitCommRouter&) = delete;
  ~UnitCommRouter();

  void Bind(u8 k, TComm& comm);

 private:
  UnitSessions& s_;
  PortList& list_;
  std::array<std::unique_ptr<TCommUnitPort>, UnitMax> ports_;
};

}  // namespace qx
