// Arbitrary chunk sequences through the receive path: append, extract, decode, verify.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "programmer/Frame.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace qx;
  static auto unit = std::make_unique<UnitBuffers>();
  static auto packet = std::make_unique<std::array<u8, PacketSlotSize>>();
  unit->RxCount = 0;
  std::size_t at = 0;
  while (at < size) {
    // The first byte of each chunk gives its length (times 64, to reach the buffer's limit).
    const std::size_t want = static_cast<std::size_t>(data[at++]) * 64 + 1;
    const std::size_t n = std::min(want, size - at);
    AppendRxChunk(*unit, std::span<const u8>(data + at, n));
    at += n;
    u16 pos = 0;
    for (;;) {
      const u16 start = pos;
      u16 length = 0;
      if (!ExtractRxFrame(*unit, pos, length)) {
        CompactRxBuffer(*unit, start);
        break;
      }
      const DecodeResult d = DecodeFrame(std::span<const u8>(unit->RxFrameBuf).first(length), *packet);
      if (d.Status == ResOk) (void)VerifyReply(std::span<const u8>(*packet).first(d.Length));
    }
  }
  return 0;
}
