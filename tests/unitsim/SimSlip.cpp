#include "tests/unitsim/SimSlip.h"

namespace qx::sim {

namespace {
constexpr std::uint8_t End = 0xC0;
constexpr std::uint8_t Esc = 0xDB;
constexpr std::uint8_t EscEnd = 0xDC;
constexpr std::uint8_t EscEsc = 0xDD;
}  // namespace

Bytes SlipEncode(std::span<const std::uint8_t> packet) {
  Bytes out;
  out.reserve(packet.size() * 2 + 7);
  out.push_back(End);
  for (std::uint8_t b : packet) {
    switch (b) {
      case End:
        out.push_back(Esc);
        out.push_back(EscEnd);
        break;
      case Esc:
        out.push_back(Esc);
        out.push_back(EscEsc);
        break;
      default:
        out.push_back(b);
    }
  }
  out.push_back(End);
  out.insert(out.end(), 5, 0xFF);
  return out;
}

std::vector<SlipFrame> SlipDecoder::Feed(std::span<const std::uint8_t> bytes) {
  std::vector<SlipFrame> frames;
  for (std::uint8_t b : bytes) {
    if (!inFrame_) {
      if (b == End) {
        inFrame_ = true;
        escaped_ = false;
        current_ = {};
      }
      continue;
    }
    if (b == End) {
      if (current_.Packet.empty() && !current_.BadEscape) continue;
      frames.push_back(std::move(current_));
      current_ = {};
      inFrame_ = false;
      escaped_ = false;
      continue;
    }
    if (escaped_) {
      escaped_ = false;
      if (b == EscEnd) {
        current_.Packet.push_back(End);
      } else if (b == EscEsc) {
        current_.Packet.push_back(Esc);
      } else {
        current_.BadEscape = true;
      }
      continue;
    }
    if (b == Esc) {
      escaped_ = true;
      continue;
    }
    current_.Packet.push_back(b);
  }
  return frames;
}

}  // namespace qx::sim
