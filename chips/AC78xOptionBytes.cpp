#include "chips/AC78xOptionBytes.h"

#include <algorithm>

#include "base/ByteOrder.h"
#include "texts/Texts.h"

namespace qx {
namespace {

constexpr u8 kRopLevel0 = 0xAC;
constexpr u8 kRopLevel1 = 0x00;
constexpr u8 kWdtOn = 0x33;
constexpr u16 kErased = 0xFFFF;

}  // namespace

u16 AC78xRopWord(int entry) { return entry == 0 ? u16{0xFF00 | kRopLevel0} : u16{0xFF00 | kRopLevel1}; }

u16 AC78xWdtWord(int entry) { return entry == 0 ? kErased : u16{0xFF00 | kWdtOn}; }

AC78xOptionControls AC78xControlsFromImage(const ChipModel& model) {
  const std::span<const u8> o = model.OptionImage;
  AC78xOptionControls c;
  c.RopEntry = GetLe16(o, 0) == AC78xRopWord(0) ? 0 : 1;
  c.WdtEntry = GetLe16(o, 4) == kErased ? 0 : 1;
  for (std::size_t i = 0; i < AC78xWordCount; ++i) c.Words[i] = Tx(TextId::ChipHexNumber, GetLe16(o, AC78xWordAt[i]));
  return c;
}

std::optional<OptionFieldError> WriteAC78xOptions(const AC78xOptionControls& controls, ChipModel& model) {
  std::array<u32, AC78xWordCount> words{};
  if (auto error = ConvertOptionFields(controls.Words, words)) return error;

  const std::span<u8> o = model.OptionImage;
  std::fill_n(o.begin(), AC78xOptionBytes, u8{0xFF});
  if (controls.RopEntry == 0) {
    o[0] = kRopLevel0;
  } else {
    o[0] = kRopLevel1;
    model.OptionsChanged = 1;
  }
  o[2] = static_cast<u8>(~o[0]);
  if (controls.WdtEntry == 1) {
    model.OptionsChanged = 1;
    o[4] = kWdtOn;
    o[6] = static_cast<u8>(~kWdtOn);
  }
  for (std::size_t i = 0; i < AC78xWordCount; ++i) {
    const auto v = static_cast<u16>(words[i]);
    if (v == kErased) continue;
    model.OptionsChanged = 1;
    PutLe16(o, AC78xWordAt[i], v);
    PutLe16(o, AC78xWordAt[i] + 2, static_cast<u16>(~v));
  }
  return std::nullopt;
}

}  // namespace qx
