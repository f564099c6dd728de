#pragma once
// Write requests from the owner to the writer thread; the eventfd wakes the writer.
#include <deque>
#include <mutex>
#include <optional>
#include <vector>

#include "base/Types.h"
#include "serial/UniqueFd.h"

namespace qx {

class WriteQueue {
 public:
  explicit WriteQueue(UniqueFd wake) : wake_(std::move(wake)) {}

  // False once the writer has ended: nothing would ever send it.
  bool Push(std::vector<u8> block);
  // The writer's side: the next block, which it then holds until its next Pop.
  std::optional<std::vector<u8>> Pop();
  // True when nothing is queued and the writer holds no block: a write made now by the
  // one thread that pushes cannot overtake any.
  bool Idle();
  // The writer ends: what is queued is discarded and later pushes fail.
  void Close();

  int WakeFd() const { return wake_.get(); }
  void ClearWake();

 private:
  std::mutex lock_;
  std::deque<std::vector<u8>> blocks_;
  bool closed_ = false;
  bool writerHolds_ = false;
  UniqueFd wake_;
};

}  // namespace qx
