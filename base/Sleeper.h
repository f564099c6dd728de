#pragma once
// The designed waits on the GUI thread (device search, off-line start, re-search). Tests
// replace the sleeper so that they run at full speed.
#include <functional>

namespace qx {

using Sleeper = std::function<void(int milliseconds)>;

// Blocks the calling thread for the given time.
void SleepFor(int milliseconds);

}  // namespace qx
