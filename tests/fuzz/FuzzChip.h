#pragma once
// One chip model for the line-parser fuzz targets: windows at the edges of their images so
// that records run past them, and boxes that always answer OK.
#include <memory>

#include "images/ChipModel.h"
#include "base/Operator.h"

namespace qx::fuzz {

class OkBoxes final : public MessageBoxes {
 public:
  MsgAnswer Ask(MsgKind, std::string_view, MsgButtons) override { return MsgAnswer::Ok; }
  void AskBinaryOffset() override {}
};

inline ChipModel& FuzzChip() {
  static const std::unique_ptr<ChipModel> chip = [] {
    auto m = std::make_unique<ChipModel>();
    m->Params.MainFlashStart = 0x00000000;
    m->Params.MainFlashEnd = 0x0FFFFFFF;  // far wider than the image
    m->Params.MainImageOffset = 0x1000;
    m->Params.EepStart = 0x10000000;
    m->Params.EepEnd = 0x1FFFF7FF;
    m->Params.OptionStart = 0x1FFFF800;
    m->Params.OptionEnd = 0x2FFFFFFF;
    m->Params.InfoStart = 0x30000000;
    m->Params.InfoEnd = 0xFFFFFFFE;
    return m;
  }();
  return *chip;
}

}  // namespace qx::fuzz
