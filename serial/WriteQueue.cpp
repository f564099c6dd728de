#include "serial/WriteQueue.h"

#include <unistd.h>

#include <cstdint>

namespace qx {

bool WriteQueue::Push(std::vector<u8> block) {
  {
    const std::lock_guard guard(lock_);
    if (closed_) return false;
    blocks_.push_back(std::move(block));
  }
  const std::uint64_t one = 1;
  (void)::write(wake_.get(), &one, sizeof one);
  return true;
}

std::optional<std::vector<u8>> WriteQueue::Pop() {
  const std::lock_guard guard(lock_);
  writerHolds_ = !blocks_.empty();
  if (blocks_.empty()) return std::nullopt;
  std::vector<u8> block = std::move(blocks_.front());
  blocks_.pop_front();
  return block;
}

bool WriteQueue::Idle() {
  const std::lock_guard guard(lock_);
  return !closed_ && blocks_.empty() && !writerHolds_;
}

void WriteQueue::Close() {
  std::deque<std::vector<u8>> dropped;
  const std::lock_guard guard(lock_);
  closed_ = true;
  dropped.swap(blocks_);
}

void WriteQueue::ClearWake() {
  std::uint64_t count = 0;
  (void)::read(wake_.get(), &count, sizeof count);
}

}  // namespace qx
