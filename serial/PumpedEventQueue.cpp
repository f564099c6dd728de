#include "serial/PumpedEventQueue.h"

#include <utility>

namespace qx {

void PumpedEventQueue::post(std::function<void()> fn) {
  {
    const std::lock_guard guard(lock_);
    queue_.push_back(std::move(fn));
  }
  arrived_.notify_one();
}

std::size_t PumpedEventQueue::Pump() {
  std::deque<std::function<void()>> batch;
  {
    const std::lock_guard guard(lock_);
    batch.swap(queue_);
  }
  // Run without the lock: a handler may post, close its port or join threads that post.
  for (auto& fn : batch) fn();
  return batch.size();
}

bool PumpedEventQueue::PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    Pump();
    if (done()) return true;
    std::unique_lock guard(lock_);
    if (!arrived_.wait_until(guard, deadline, [this] { return !queue_.empty(); })) {
      guard.unlock();
      Pump();
      return done();
    }
  }
}

std::size_t PumpedEventQueue::Pending() const {
  const std::lock_guard guard(lock_);
  return queue_.size();
}

}  // namespace qx
