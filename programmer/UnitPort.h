#pragma once
// Where a builder's finished frame goes: the unit's serial port in the program, a recorder
// in tests. The write result is not used by the builders; a frame that never leaves is
// caught by the unit's time-out.
#include <span>

#include "base/Types.h"

namespace qx {

class UnitPort {
 public:
  virtual ~UnitPort();
  virtual bool WriteData(std::span<const u8> bytes) = 0;
};

}  // namespace qx
