#pragma once
// Helpers of the wire, packet, driver and firmware tests: a port that keeps every frame, a
// scripted random source, the receive path as the routing drives it, and temp files.
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "images/ChipModel.h"
#include "programmer/Commands.h"
#include "programmer/Frame.h"
#include "tests/support/TempDir.h"
#include "programmer/ProtocolState.h"
#include "programmer/RandomSource.h"
#include "programmer/UnitPort.h"

namespace qx::wiretest {

using Bytes = std::vector<u8>;

class FramePort : public UnitPort {
 public:
  bool WriteData(std::span<const u8> bytes) override {
    frames.emplace_back(bytes.begin(), bytes.end());
    return true;
  }
  // The packet of the last frame, decoded by the program's decoder.
  Bytes LastPacket() const {
    Bytes packet(PacketSlotSize);
    const DecodeResult d = DecodeFrame(frames.back(), packet);
    packet.resize(d.Status == ResOk ? d.Length : 0);
    return packet;
  }
  std::vector<Bytes> frames;
};

// Hands out 0, 1, 2, ... (each modulo the range asked for) and records the ranges.
class CountingRandom : public RandomSource {
 public:
  u32 Next(u32 range) override {
    ranges.push_back(range);
    return range == 0 ? 0 : next_++ % range;
  }
  std::vector<u32> ranges;

 private:
  u32 next_ = 0;
};

// The run-long objects of one test, fresh each time.
struct World {
  std::unique_ptr<ChipModel> Model = std::make_unique<ChipModel>();
  std::unique_ptr<ProtocolState> State = std::make_unique<ProtocolState>();
  CountingRandom Random;
  FramePort Port;

  CommandTarget Target(u8 unit = 0, u8 step = StepIdle, u8 unitCount = 1) {
    return CommandTarget{*Model, *State, Random, Port, unit, step, unitCount};
  }
};

// Feeds chunks through the receive buffer as the routing does and returns the frames.
inline std::vector<Bytes> ReceiveChunks(UnitBuffers& unit, const std::vector<Bytes>& chunks) {
  std::vector<Bytes> frames;
  for (const Bytes& chunk : chunks) {
    AppendRxChunk(unit, chunk);
    u16 pos = 0;
    for (;;) {
      const u16 start = pos;
      u16 length = 0;
      if (!ExtractRxFrame(unit, pos, length)) {
        CompactRxBuffer(unit, start);
        break;
      }
      frames.emplace_back(unit.RxFrameBuf.begin(), unit.RxFrameBuf.begin() + length);
    }
  }
  return frames;
}

inline Bytes Cat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

inline Bytes Encode(std::span<const u8> packet) {
  Bytes frame(2 * packet.size() + 8);
  frame.resize(EncodeFrame(packet, frame));
  return frame;
}

// A packet with header bytes, the payload and a good check word.
Bytes MakePacket(u8 command, std::span<const u8> payload);

using test::TempDir;

}  // namespace qx::wiretest
