#pragma once
// Helpers for the chip tests: a fresh model on the heap (the images are large) and the
// option images as the family defaults describe them, built independently of the code.
#include <array>
#include <memory>

#include "images/ChipModel.h"

namespace qx::test {

inline std::unique_ptr<ChipModel> FreshModel() { return std::make_unique<ChipModel>(); }

enum class OptionKind { AC78xUnprotected, AllFF, AllZero, Lcmp, Untouched };

// The byte a family default leaves in the option image; `untouched` is what was there.
inline std::array<u8, OptionImageSize> ExpectedOptionImage(OptionKind kind, u8 untouched) {
  std::array<u8, OptionImageSize> o{};
  switch (kind) {
    case OptionKind::AC78xUnprotected:
      o.fill(0xFF);
      o[0] = 0xAC;
      o[2] = 0x53;
      break;
    case OptionKind::AllFF: o.fill(0xFF); break;
    case OptionKind::AllZero: o.fill(0x00); break;
    case OptionKind::Untouched: o.fill(untouched); break;
    case OptionKind::Lcmp: {
      o.fill(0xFF);
      const u8 head[40] = {0xFB, 0x04, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00,
                           0xFF, 0x00, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF,
                           0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF};
      for (std::size_t i = 0; i < 40; ++i) o[i] = o[256 + i] = head[i];
      break;
    }
  }
  return o;
}

}  // namespace qx::test
