#include "programmer/ReceiveRouting.h"

#include <algorithm>
#include <cstring>

#include "programmer/Frame.h"
#include "programmer/Identification.h"
#include "programmer/ReplyDispatch.h"
#include "texts/Texts.h"

namespace qx {
namespace {

void RouteBufferedFrames(UnitSessions& s, u8 k) {
  auto& buf = s.Wire.Units[k];
  u16 pos = 0;
  u16 start = 0;
  u16 length = 0;
  for (;;) {
    start = pos;
    if (!ExtractRxFrame(buf, pos, length)) break;
    // Read anew for every frame: the frames behind an identification reply already go to
    // the reply dispatch.
    if (s.Unit[k].Linked) {
      DispatchReplyFrame(s, k, length);
    } else {
      HandleLinkFrame(s, k, length);
    }
  }
  // The unfinished frame, and whatever came before it, waits for the next chunk.
  CompactRxBuffer(buf, start);
}

}  // namespace

void HandleReceiveData(UnitSessions& s, u8 k, std::span<const u8> chunk) {
  s.Unit[k].TimeoutTicks = 1000;
  auto& hold = s.Hold[k];
  if (hold.Routing) {
    const std::size_t room = hold.Held.size() - hold.HeldCount;
    const std::size_t n = std::min(room, chunk.size());
    if (n > 0) std::memcpy(hold.Held.data() + hold.HeldCount, chunk.data(), n);
    hold.HeldCount = static_cast<u16>(hold.HeldCount + n);
    return;
  }
  hold.Routing = 1;
  AppendRxChunk(s.Wire.Units[k], chunk);
  for (;;) {
    RouteBufferedFrames(s, k);
    if (hold.HeldCount == 0) break;
    const std::size_t n = hold.HeldCount;
    hold.HeldCount = 0;
    AppendRxChunk(s.Wire.Units[k], std::span<const u8>(hold.Held).first(n));
  }
  hold.Routing = 0;
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
