#include "chips/AucuConfigBytes.h"

namespace qx {
namespace {

bool Cleared(u8 byte, unsigned bit) { return (byte & (1u << bit)) == 0; }

u8 WithCleared(u8 byte, unsigned bit, bool clear) {
  return clear ? static_cast<u8>(byte & ~(1u << bit)) : static_cast<u8>(byte | (1u << bit));
}

}  // namespace

AucuConfigControls AucuControlsFromImage(const ChipModel& model) {
  const auto& o = model.OptionImage;
  AucuConfigControls c;
  c.LifeCycle = Cleared(o[0], 0);
  c.NoUart0 = Cleared(o[16], 0);
  c.NoUart1 = Cleared(o[16], 1);
  c.NoUart2 = Cleared(o[16], 2);
  c.NoJtag = Cleared(o[20], 0);
  c.NoUart0Boot = Cleared(o[24], 0);
  c.LockRgn1 = Cleared(o[32], 0);
  return c;
}

void WriteAucuConfig(const AucuConfigControls& controls, ChipModel& model) {
  auto& o = model.OptionImage;
  o[0] = WithCleared(0xFF, 0, controls.LifeCycle);
  o[16] = WithCleared(WithCleared(WithCleared(0xFF, 0, controls.NoUart0), 1, controls.NoUart1), 2, controls.NoUart2);
  o[20] = 0xFF;
  o[24] = WithCleared(0xFF, 0, controls.NoUart0Boot);
  o[32] = 0xFF;
  model.OptionsChanged = 1;
}

}  // namespace qx
