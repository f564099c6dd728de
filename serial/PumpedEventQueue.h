#pragma once
// An EventPoster whose posts run when the owner pumps it: for tests and for a core that
// has no GUI loop.
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>

#include "serial/EventPoster.h"

namespace qx {

class PumpedEventQueue final : public EventPoster {
 public:
  void post(std::function<void()> fn) override;

  // Runs what has been posted so far, in order; returns how many ran. Posts made while
  // these run wait for the next pump.
  std::size_t Pump();
  // Pumps as posts arrive until done() holds or the timeout passes; returns done().
  bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);
  std::size_t Pending() const;

 private:
  mutable std::mutex lock_;
  std::condition_variable arrived_;
  std::deque<std::function<void()>> queue_;
};

}  // namespace qx
