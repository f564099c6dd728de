#pragma once
// The two requests of the firmware upgrade: one masked 2048-byte image block (0xB7) and
// the end of the upgrade (0xBD).
#include "base/Types.h"
#include "programmer/Commands.h"

namespace qx {

inline constexpr u16 FirmwareBlockPayload = 0x1020;
inline constexpr std::size_t FirmwareBlockBytes = 2048;
inline constexpr u32 FirmwareNonceRange = 0xFFF5;

// Image offset of block b: (b * 2048) mod 65536.
std::size_t FirmwareBlockBase(u16 block);

// Draws the nonce (0..0xFFF4), two random bytes and 520 x 3 mask bytes, in that order.
u16 SendFirmwareBlockCmd(const CommandTarget& t, u16 block);
u16 SendFirmwareEndCmd(const CommandTarget& t);

}  // namespace qx
