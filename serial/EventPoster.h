#pragma once
// How a serial component's worker threads reach its owner: post() is called from any
// thread and must run fn later on the owner's thread, in the order of the posts.
#include <functional>

namespace qx {

class EventPoster {
 public:
  virtual ~EventPoster() = default;
  virtual void post(std::function<void()> fn) = 0;
};

}  // namespace qx
