#include "programmer/ReceiveRouting.h"

#include <algorithm>
#include <cstring>

#include "programmer/Frame.h"
#include "programmer/Identification.h"
#include "programmer/ReplyDispatch.h"
#include "programmer/UnitStepFramework.h"
#include "texts/Texts.h"

namespace qx {
namespace {

void RouteBufferedFrames(UnitSessions& s, u8 k) {
  auto& buf = s.Wire.Units[k];
  u16 length = 0;
  for (;;) {
    u16 pos = 0;
    // The unfinished frame, and whatever came before it, waits for the next chunk.
    if (!ExtractRxFrame(buf, pos, length)) break;
    const bool stale = FrameIsStale(buf, pos, length);
    // The frame now lies in the frame slot: consume it before its handler runs, so a handler
    // that throws never sees the same reply again.
    CompactRxBuffer(buf, pos);
    // Read anew for every frame: the frames behind an identification reply already go to
    // the reply dispatch.
    if (s.Unit[k].Linked) {
      if (stale) {
        DispatchStaleFrame(s, k, length);
      } else {
        DispatchReplyFrame(s, k, length);
      }
    } else {
      HandleLinkFrame(s, k, length);
    }
  }
}

}  // namespace

void HandleReceiveData(UnitSessions& s, u8 k, std::span<const u8> chunk) {
  SetUnitTimeout(s, k, TicksAfterChunk);
  auto& hold = s.Hold[k];
  if (hold.Routing) {
    const std::size_t room = hold.Held.size() - hold.HeldCount;
    const std::size_t n = std::min(room, chunk.size());
    if (n > 0) std::memcpy(hold.Held.data() + hold.HeldCount, chunk.data(), n);
    hold.HeldCount = static_cast<u16>(hold.HeldCount + n);
    hold.Dropped += static_cast<u32>(chunk.size() - n);
    return;
  }
  // A handler that throws (the window's error box ends the command) must not leave the
  // unit muted: whatever was held waits in the buffer for the next chunk.
  struct RoutingGuard {
    UnitSessions& s;
    u8 k;
    ~RoutingGuard() {
      auto& h = s.Hold[k];
      if (h.HeldCount > 0) {
        AppendRxChunk(s.Wire.Units[k], std::span<const u8>(h.Held).first(h.HeldCount));
        h.HeldCount = 0;
      }
      h.Routing = 0;
    }
  } guard{s, k};
  hold.Routing = 1;
  AppendRxChunk(s.Wire.Units[k], chunk);
  for (;;) {
    RouteBufferedFrames(s, k);
    if (hold.HeldCount == 0) break;
    const std::size_t n = hold.HeldCount;
    hold.HeldCount = 0;
    AppendRxChunk(s.Wire.Units[k], std::span<const u8>(hold.Held).first(n));
  }
  // One line for all the bytes a full hold had to drop.
  if (hold.Dropped > 0) {
    const u32 dropped = hold.Dropped;
    hold.Dropped = 0;
    AddUnitInfoLine(s, k, Tx(TextId::UnitHeldBytesDropped, dropped));
  }
}

void HandleHangup(UnitSessions& s, u8 k, PortList& list, std::string_view portName,
                  const std::function<void()>& closePort) {
  if (closePort) closePort();
  s.Unit[k].Linked = 0;
  auto& e = list.Entries;
  if (!portName.empty()) {
    const auto it = std::find(e.begin(), e.end(), portName);
    if (it != e.end()) e.erase(it);
  } else if (k < e.size()) {
    e.erase(e.begin() + k);
  }
  if (e.empty()) list.Text = Text(TextId::PleaseConnectDevice);
}

}  // namespace qx
