#pragma once
// The owner's guard around each port event the station routes (received data, a hang-up):
// the window runs them in the wrapper of its handlers, so an error of the core is shown
// and the program goes on.
#include <functional>

#include "base/Types.h"

namespace qx {

class PortEventGuard {
 public:
  virtual ~PortEventGuard() = default;
  virtual void RunPortEvent(u8 unit, const std::function<void()>& event) = 0;
};

}  // namespace qx
