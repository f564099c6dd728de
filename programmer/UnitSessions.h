#pragma once
// The ten unit sessions and the run-wide counters of the unit operations, with what the
// step chains reach: the chip model, the wire buffers, the ports, the log and the operator.
// The station creates one and passes it by reference; a test builds a fresh one. It is
// large: allocate it (std::make_unique).
#include <array>

#include "images/ChipModel.h"
#include "base/MessageLog.h"
#include "base/Operator.h"
#include "programmer/ProtocolState.h"
#include "programmer/RandomSource.h"
#include "programmer/ReceiveRoutingState.h"
#include "programmer/UnitPort.h"
#include "programmer/UnitSession.h"

namespace qx {

// A port that drops what it is given: units without a port of their own.
class NoUnitPort : public UnitPort {
 public:
  bool WriteData(std::span<const u8>) override { return false; }
};

struct UnitSessions {
  UnitSessions(ChipModel& model, ProtocolState& wire, RandomSource& random, MessageLog& log, Operator& op)
      : Model(model), Wire(wire), Random(random), Log(log), Op(op) {
    Port.fill(&NoPort);
  }
  UnitSessions(const UnitSessions&) = delete;
  UnitSessions& operator=(const UnitSessions&) = delete;

  ChipModel& Model;
  ProtocolState& Wire;
  RandomSource& Random;
  MessageLog& Log;
  Operator& Op;

  std::array<UnitSession, UnitMax> Unit{};
  std::array<UnitPort*, UnitMax> Port{};
  std::array<ReceiveHold, UnitMax> Hold{};
  u8 UnitCount = 0;
  u8 LinkedCount = 0;
  u8 DownloadOkCount = 0;
  u8 RelinkPending = 0;
  u8 CmdLineOff = 0;

  NoUnitPort NoPort;
};

}  // namespace qx
