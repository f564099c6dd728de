#include "tests/programmer/wire_support.h"

#include "base/ByteOrder.h"
#include "images/Checksums.h"

namespace qx::wiretest {

Bytes MakePacket(u8 command, std::span<const u8> payload) {
  Bytes p(payload.size() + PacketOverhead);
  p[0] = command;
  PutLe16(p, 6, static_cast<u16>(payload.size()));
  std::copy(payload.begin(), payload.end(), p.begin() + PacketHeaderSize);
  PutLe16(p, p.size() - 2, CalcCheck16(std::span<const u8>(p).first(p.size() - 2)));
  return p;
}


}  // namespace qx::wiretest
