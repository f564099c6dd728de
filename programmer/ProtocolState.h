#pragma once
// Everything of the wire protocol that lives for the whole run: the ten units' packet and
// frame slots, the loaded flash driver and the loaded programmer firmware. The app creates
// one (it is large: allocate it, e.g. std::make_unique) and hands it on by reference.
#include <array>

#include "programmer/FirmwareFile.h"
#include "programmer/FlashDriver.h"
#include "programmer/WireBuffers.h"

namespace qx {

struct ProtocolState {
  std::array<UnitBuffers, UnitMax> Units{};
  FlashDriver Driver;
  FirmwareFile Firmware;
};

}  // namespace qx
