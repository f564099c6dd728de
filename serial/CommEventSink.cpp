#include "serial/CommEventSink.h"

#include <span>
#include <utility>

#include "serial/PortSession.h"
#include "serial/TComm.h"

namespace qx {
namespace {

// Enough for the reads that wait while the owner is busy; more would only hold memory.
constexpr std::size_t kSpareBuffers = 8;

}  // namespace

void CommEventSink::Fire(TComm& c, const Event& e) {
  switch (e.What) {
    case Kind::Data: return c.DoReceiveData(e.Bytes);
    case Kind::Error: return c.DoReceiveError(e.Value);
    case Kind::Modem: return c.DoModemStateChange(e.Value);
    case Kind::Hangup: return c.DoRequestHangup();
    case Kind::SendEmpty: return c.DoSendDataEmpty();
  }
}

void CommEventSink::Deliver(Inbox& inbox, const std::weak_ptr<const int>& alive, TComm& owner) {
  {
    const std::lock_guard guard(inbox.Lock);
    inbox.WakePosted = false;
  }
  // One event at a time from the front: a handler that opens a box runs a nested loop, and
  // the wake-up delivered there must go on with the events after its own, in order.
  std::vector<u8> done;
  for (;;) {
    Event e;
    {
      const std::lock_guard guard(inbox.Lock);
      if (!done.empty() && inbox.Spare.size() < kSpareBuffers) inbox.Spare.push_back(std::move(done));
      done.clear();
      if (inbox.Events.empty()) return;
      e = std::move(inbox.Events.front());
      inbox.Events.pop_front();
    }
    // Held for the handler's run: a ClosePort inside it drops every later event.
    const auto current = alive.lock();
    if (!current) return;
    Fire(owner, e);
    if (e.What == Kind::Data) done = std::move(e.Bytes);
  }
}

CommEventSink::CommEventSink(EventPoster& poster, TComm& owner, std::weak_ptr<const int> alive)
    : poster_(poster), owner_(owner), alive_(std::move(alive)) {}

void CommEventSink::Queue(Event event) {
  {
    const std::lock_guard guard(inbox_->Lock);
    inbox_->Events.push_back(std::move(event));
    if (inbox_->WakePosted) return;
    inbox_->WakePosted = true;
  }
  poster_.post([inbox = inbox_, alive = alive_, owner = &owner_] { Deliver(*inbox, alive, *owner); });
}

void CommEventSink::ReceiveData(std::vector<u8> block) { Queue({Kind::Data, 0, std::move(block)}); }

void CommEventSink::ReceiveError(u32 flags) { Queue({Kind::Error, flags, {}}); }

void CommEventSink::ModemStateChange(u32 bits) { Queue({Kind::Modem, bits, {}}); }

void CommEventSink::RequestHangup() {
  if (hangupPosted_.exchange(true)) return;
  Queue({Kind::Hangup, 0, {}});
}

void CommEventSink::SendDataEmpty() { Queue({Kind::SendEmpty, 0, {}}); }

std::vector<u8> CommEventSink::SpareBuffer() {
  std::vector<u8> buffer;
  {
    const std::lock_guard guard(inbox_->Lock);
    if (!inbox_->Spare.empty()) {
      buffer = std::move(inbox_->Spare.back());
      inbox_->Spare.pop_back();
    }
  }
  buffer.resize(kReadChunkSize);
  return buffer;
}

}  // namespace qx
