#pragma once
// The worker threads' only way to the owner: each call posts one event, which runs on the
// owner's thread and only while the open it belongs to is still current.
#include <atomic>
#include <memory>
#include <vector>

#include "base/Types.h"
#include "serial/EventPoster.h"

namespace qx {

class TComm;

class CommEventSink {
 public:
  CommEventSink(EventPoster& poster, TComm& owner, std::weak_ptr<const int> alive)
      : poster_(poster), owner_(owner), alive_(std::move(alive)) {}

  void ReceiveData(std::vector<u8> block);
  void ReceiveError(u32 flags);
  void ModemStateChange(u32 bits);
  // Posts only the first call: both threads may notice the same failure.
  void RequestHangup();
  void SendDataEmpty();

 private:
  template <typename Fire>
  void Post(Fire fire);

  EventPoster& poster_;
  TComm& owner_;
  const std::weak_ptr<const int> alive_;
  std::atomic<bool> hangupPosted_{false};
};

}  // namespace qx
