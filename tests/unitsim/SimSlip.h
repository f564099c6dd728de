#pragma once
// The simulated unit's own framing, written from RFC 1055 (END 0xC0, ESC 0xDB, ESC_END 0xDC,
// ESC_ESC 0xDD) plus the five 0xFF bytes after each frame; it shares no code with the
// program's framing so that each can check the other.
#include <cstdint>
#include <span>
#include <vector>

namespace qx::sim {

using Bytes = std::vector<std::uint8_t>;

Bytes SlipEncode(std::span<const std::uint8_t> packet);

struct SlipFrame {
  Bytes Packet;
  bool BadEscape = false;  // an ESC followed by anything but ESC_END or ESC_ESC
};

// Bytes outside a frame (filler, garbage) are skipped; a frame runs from one END to the
// next, and an empty one just opens the frame again.
class SlipDecoder {
 public:
  // Feeds bytes; returns the frames completed by them.
  std::vector<SlipFrame> Feed(std::span<const std::uint8_t> bytes);
  bool InFrame() const { return inFrame_; }

 private:
  bool inFrame_ = false;
  bool escaped_ = false;
  SlipFrame current_;
};

}  // namespace qx::sim
