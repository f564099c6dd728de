#include "app/ReadAddress.h"

#include <algorithm>

#include "images/NumberText.h"
#include "texts/Texts.h"

namespace qx {

std::string ReadStartText(const ChipModel& model) { return Tx(TextId::HexAddress8, model.ReadStart); }

u16 ReadLengthOf(std::optional<int> value) {
  return static_cast<u16>(std::clamp(value.value_or(ReadLengthMin), ReadLengthMin, ReadLengthMax));
}

void StoreReadAddress(ChipModel& model, std::string_view addressText, std::optional<int> length) {
  const u32 start = StrToU32(addressText);
  model.ReadStart = start;
  model.ReadLength = ReadLengthOf(length);
  model.ReadStart &= 0xFFFFFFF0u;
}

}  // namespace qx
