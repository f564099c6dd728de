#pragma once
// Rates without a B-constant go through termios2; kept apart because its kernel header
// cannot meet <termios.h> in one file.
#include <optional>

#include "base/Types.h"

namespace qx {

bool SetCustomBaud(int fd, u32 rate);
// The output rate in force as a number, also for rates that have a B-constant.
std::optional<u32> ReadOutputBaud(int fd);

}  // namespace qx
