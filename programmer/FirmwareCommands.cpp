#include "programmer/FirmwareCommands.h"

#include <algorithm>

#include "base/ByteOrder.h"
#include "programmer/CommandCodes.h"

namespace qx {

namespace {
constexpr std::size_t MaskAt = 8 + FirmwareBlockBytes;  // 2056
constexpr std::size_t MaskGroups = 520;
}  // namespace

std::size_t FirmwareBlockBase(u16 block) { return (static_cast<std::size_t>(block) * FirmwareBlockBytes) % FirmwareImageSize; }

u16 SendFirmwareBlockCmd(const CommandTarget& t, u16 block) {
  auto packet = std::span<u8>(t.State.Units[t.Unit % UnitMax].PacketBuf);
  const auto& image = t.State.Firmware.Image;
  packet[0] = CmdFirmwareBlock;
  packet[1] = static_cast<u8>((block * 4u) & 0xFF);
  const u16 nonce = static_cast<u16>(t.Random.Next(FirmwareNonceRange));
  PutLe16(packet, 2, nonce);
  packet[4] = RandomByte(t.Random);
  packet[5] = RandomByte(t.Random);
  PutLe16(packet, 6, FirmwareBlockPayload);

  const u8 nl = static_cast<u8>(nonce & 0xFF);
  const u8 nh = static_cast<u8>(nonce >> 8);
  const std::size_t base = FirmwareBlockBase(block);
  for (std::size_t i = 0; i < FirmwareBlockBytes / 4; ++i) {
    const std::size_t at = 8 + 4 * i;
    packet[at] = static_cast<u8>(image[base + 4 * i] ^ nl);
    packet[at + 1] = static_cast<u8>(image[base + 4 * i + 1] ^ nh);
    packet[at + 2] = static_cast<u8>(image[base + 4 * i + 2] ^ nl);
    packet[at + 3] = 0;
  }
  for (std::size_t g = 0; g < MaskGroups; ++g) {
    const std::size_t at = MaskAt + 4 * g;
    packet[at] = RandomByte(t.Random);
    packet[at + 1] = RandomByte(t.Random);
    packet[at + 2] = RandomByte(t.Random);
    packet[at + 3] = 0;
  }
  for (std::size_t i = 0; i < FirmwareBlockBytes; ++i) packet[8 + i] ^= packet[MaskAt + i];
  return FinishAndSend(t, FirmwareBlockPayload);
}

u16 SendFirmwareEndCmd(const CommandTarget& t) {
  auto packet = std::span<u8>(t.State.Units[t.Unit % UnitMax].PacketBuf);
  constexpr std::array<u8, 10> kEnd = {CmdFirmwareEnd, 0x00, 'R', 'S', 0x00, 0x00, 0x02, 0x00, 0x00, 0x00};
  std::copy(kEnd.begin(), kEnd.end(), packet.begin());
  return FinishAndSend(t, 2);
}

}  // namespace qx
