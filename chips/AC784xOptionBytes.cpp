#include "chips/AC784xOptionBytes.h"

#include <algorithm>

#include "base/ByteOrder.h"
#include "texts/Texts.h"

namespace qx {
namespace {

constexpr u8 kReadProtected = 0xFC;

}  // namespace

AC784xOptionControls AC784xControlsFromImage(const ChipModel& model) {
  const std::span<const u8> o = model.OptionImage;
  AC784xOptionControls c;
  c.ReadProtect = (o[AC784xRopAt] & 3) != 3;
  c.Fields[0] = Tx(TextId::ChipHexNumber, GetLe16(o, AC784xPwrp1At));
  c.Fields[1] = Tx(TextId::ChipHexNumber, GetLe16(o, AC784xPwrp2At));
  c.Fields[2] = Tx(TextId::ChipHexByte, o[AC784xDwrpAt]);
  return c;
}

std::optional<OptionFieldError> WriteAC784xOptions(const AC784xOptionControls& controls, ChipModel& model) {
  std::array<u32, 3> values{};
  if (auto error = ConvertOptionFields(controls.Fields, values)) return error;

  const std::span<u8> o = model.OptionImage;
  o[AC784xRopAt] = controls.ReadProtect ? kReadProtected : u8{0xFF};
  PutLe16(o, AC784xPwrp1At, static_cast<u16>(values[0]));
  PutLe16(o, AC784xPwrp2At, static_cast<u16>(values[1]));
  o[AC784xDwrpAt] = static_cast<u8>(values[2]);
  const auto written = o.subspan(AC784xPwrp1At, AC784xDwrpAt - AC784xPwrp1At + 1);
  const bool changed =
      o[AC784xRopAt] != 0xFF || std::any_of(written.begin(), written.end(), [](u8 b) { return b != 0xFF; });
  model.OptionsChanged = changed ? 1 : 0;
  return std::nullopt;
}

}  // namespace qx
