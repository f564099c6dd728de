#pragma once
// A fresh set of unit sessions over a fresh chip model and wire state, with recording
// ports, a fixed random source, a log with a fixed clock and a recording operator; and the
// unit side of the exchange: replies framed as a unit frames them.
#include <memory>
#include <string>
#include <vector>

#include "base/ByteOrder.h"
#include "images/Checksums.h"
#include "images/ChipModel.h"
#include "base/MessageLog.h"
#include "programmer/Frame.h"
#include "programmer/ProtocolState.h"
#include "programmer/RandomSource.h"
#include "programmer/ReceiveRouting.h"
#include "programmer/UnitSessions.h"
#include "tests/support/RecordingOperator.h"

namespace qx::test {

class ZeroRandom : public RandomSource {
 public:
  u32 Next(u32) override { return 0; }
};

// Keeps every frame written and the packet it carries.
class RecordingPort : public UnitPort {
 public:
  bool WriteData(std::span<const u8> bytes) override {
    frames.emplace_back(bytes.begin(), bytes.end());
    std::vector<u8> packet(PacketSlotSize);
    const auto d = DecodeFrame(bytes, packet);
    packet.resize(d.Status == 0 ? d.Length : 0);
    packets.push_back(std::move(packet));
    if (onWrite) onWrite();
    return true;
  }
  std::vector<std::vector<u8>> frames;
  std::vector<std::vector<u8>> packets;
  std::function<void()> onWrite;
};

inline std::vector<u8> Framed(std::vector<u8> packet) {
  std::vector<u8> frame(2 * packet.size() + 8);
  frame.resize(EncodeFrame(packet, frame));
  return frame;
}

// A reply packet with its check word: header, payload, check.
inline std::vector<u8> ReplyPacket(u8 command, std::span<const u8> payload) {
  std::vector<u8> p(8 + payload.size() + 2);
  p[0] = command;
  PutLe16(p, 6, static_cast<u16>(payload.size()));
  std::copy(payload.begin(), payload.end(), p.begin() + 8);
  PutLe16(p, 8 + payload.size(), CalcCheck16(std::span<const u8>(p).first(8 + payload.size())));
  return p;
}

inline std::vector<u8> StatusReply(u8 code) {
  const u8 b[2] = {code, 0};
  return Framed(ReplyPacket(0x06, b));
}

inline std::vector<u8> DataReply(std::span<const u8> payload) { return Framed(ReplyPacket(0x00, payload)); }

struct SessionWorld {
  std::unique_ptr<ChipModel> model = std::make_unique<ChipModel>();
  std::unique_ptr<ProtocolState> wire = std::make_unique<ProtocolState>();
  ZeroRandom random;
  RecordingOperator op;
  MessageLog log{[] { return std::string("12:34:56"); }, &op};
  std::unique_ptr<UnitSessions> s = std::make_unique<UnitSessions>(*model, *wire, random, log, op);
  std::array<RecordingPort, UnitMax> ports;

  SessionWorld() {
    for (std::size_t k = 0; k < UnitMax; ++k) {
      s->Port[k] = &ports[k];
      s->Unit[k].Linked = 1;
    }
    s->UnitCount = UnitMax;
  }

  UnitSession& U(u8 k) { return s->Unit[k]; }
  void Feed(u8 k, std::span<const u8> bytes) { HandleReceiveData(*s, k, bytes); }
  void Status(u8 k, u8 code) { Feed(k, StatusReply(code)); }

  const std::vector<std::string>& Lines() const { return log.Lines(); }
  std::string LastLine() const { return log.Lines().empty() ? std::string() : log.Lines().back(); }
  // The lines of unit k without their stamp and tag.
  std::vector<std::string> UnitTexts(int k) const {
    const std::string tag = " C" + std::to_string(k + 1) + " : ";
    std::vector<std::string> out;
    for (const auto& l : log.Lines()) {
      const auto at = l.find(tag);
      if (l.rfind("> ", 0) == 0 && at == 10) out.push_back(l.substr(at + tag.size()));
    }
    return out;
  }
  static std::string UnitLine(int k, const std::string& text) {
    return "> 12:34:56 C" + std::to_string(k + 1) + " : " + text;
  }
};

}  // namespace qx::test
