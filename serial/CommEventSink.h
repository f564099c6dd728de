#pragma once
// The worker threads' only way to the owner. Events of one port wait in its inbox in the
// order they happened; the first one posts a single wake-up to the owner's thread, which
// then delivers every event waiting by then, each only while the open it belongs to is
// still current. A busy port thus costs one wake-up per batch of chunks, not one per chunk.
#include <atomic>
#include <deque>
#include <memory>
#include <mutex>
#include <vector>

#include "base/Types.h"
#include "serial/EventPoster.h"

namespace qx {

class TComm;

class CommEventSink {
 public:
  CommEventSink(EventPoster& poster, TComm& owner, std::weak_ptr<const int> alive);

  // block: one read's bytes, handed over without a copy.
  void ReceiveData(std::vector<u8> block);
  void ReceiveError(u32 flags);
  void ModemStateChange(u32 bits);
  // Posts only the first call: both threads may notice the same failure.
  void RequestHangup();
  void SendDataEmpty();
  // An empty buffer for the reader's next read: one the owner has finished with when
  // there is one, so a busy port does not allocate per chunk.
  std::vector<u8> SpareBuffer();

  enum class Kind : u8 { Data, Error, Modem, Hangup, SendEmpty };
  struct Event {
    Kind What = Kind::Data;
    u32 Value = 0;
    std::vector<u8> Bytes;
  };
  // Shared with the posted wake-up, which may run after the port has closed.
  struct Inbox {
    std::mutex Lock;
    std::deque<Event> Events;
    std::vector<std::vector<u8>> Spare;
    bool WakePosted = false;
  };

 private:
  void Queue(Event event);
  static void Deliver(Inbox& inbox, const std::weak_ptr<const int>& alive, TComm& owner);
  static void Fire(TComm& owner, const Event& event);

  EventPoster& poster_;
  TComm& owner_;
  const std::weak_ptr<const int> alive_;
  const std::shared_ptr<Inbox> inbox_ = std::make_shared<Inbox>();
  std::atomic<bool> hangupPosted_{false};
};

}  // namespace qx
