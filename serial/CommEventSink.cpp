#include "serial/CommEventSink.h"

#include <span>
#include <utility>

#include "serial/TComm.h"

namespace qx {

template <typename Fire>
void CommEventSink::Post(Fire fire) {
  poster_.post([alive = alive_, owner = &owner_, fire = std::move(fire)]() mutable {
    // Held for the handler's run: a ClosePort inside it drops every later event.
    if (const auto current = alive.lock()) fire(*owner);
  });
}

void CommEventSink::ReceiveData(std::vector<u8> block) {
  Post([block = std::move(block)](TComm& c) { c.DoReceiveData(block); });
}

void CommEventSink::ReceiveError(u32 flags) {
  Post([flags](TComm& c) { c.DoReceiveError(flags); });
}

void CommEventSink::ModemStateChange(u32 bits) {
  Post([bits](TComm& c) { c.DoModemStateChange(bits); });
}

void CommEventSink::RequestHangup() {
  if (hangupPosted_.exchange(true)) return;
  Post([](TComm& c) { c.DoRequestHangup(); });
}

void CommEventSink::SendDataEmpty() {
  Post([](TComm& c) { c.DoSendDataEmpty(); });
}

}  // namespace qx
