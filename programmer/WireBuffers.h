#pragma once
// The per-unit packet and frame slots of the wire protocol. Sizes hold the worst case: a
// 4096-byte data reply whose every byte needs escaping still fits the raw receive buffer and
// the frame slot together with its delimiters and filler.
#include <array>
#include <cstddef>

#include "base/Types.h"
#include "programmer/SerialPatch.h"

namespace qx {

inline constexpr std::size_t UnitMax = 10;

// A request is built here, and the unit's reply decoded over it.
inline constexpr std::size_t PacketSlotSize = 6144;
// Every byte escaped, two delimiters, five filler bytes.
inline constexpr std::size_t TxFrameSize = 2 * PacketSlotSize + 8;
inline constexpr std::size_t RxBufferSize = 16384;
inline constexpr std::size_t RxFrameSize = RxBufferSize;

// Header bytes before the payload and the check word after it.
inline constexpr std::size_t PacketHeaderSize = 8;
inline constexpr std::size_t PacketOverhead = 10;

struct UnitBuffers {
  std::array<u8, PacketSlotSize> PacketBuf{};
  std::array<u8, TxFrameSize> TxFrameBuf{};
  std::array<u8, RxFrameSize> RxFrameBuf{};
  std::array<u8, RxBufferSize> RxRawBuf{};
  // Valid bytes in RxRawBuf; never above RxBufferSize.
  u16 RxCount = 0;
  // The first bytes of RxRawBuf that were received before the unit's latest request went
  // out: no frame that begins among them answers it.
  u16 StaleCount = 0;
  // The unit's own serial number, when an on-line run gave it one.
  UnitSerialPatch Serial{};
};

static_assert(RxBufferSize <= 0xFFFF, "RxCount is 16 bits");

}  // namespace qx
