#include "images/ChipModel.h"

#include <algorithm>

namespace qx {

ChipModel::ChipModel() {
  MainFlashImage.fill(0xFF);
  EepImage.fill(0xFF);
  InfoAreaImage.fill(0x00);
  OptionImage.fill(0x00);
}

void FillBytes(std::span<u8> buffer, std::size_t count, u8 value) {
  std::fill_n(buffer.begin(), std::min(count, buffer.size()), value);
}

namespace {
template <typename T>
std::span<T> Clamp(std::span<T> buffer, u32 first, u32 last) {
  if (first > last || first >= buffer.size()) return {};
  const std::size_t end = std::min<std::size_t>(static_cast<std::size_t>(last) + 1, buffer.size());
  return buffer.subspan(first, end - first);
}
}  // namespace

std::span<u8> ClampRange(std::span<u8> buffer, u32 first, u32 last) { return Clamp(buffer, first, last); }
std::span<const u8> ClampRange(std::span<const u8> buffer, u32 first, u32 last) {
  return Clamp(buffer, first, last);
}

}  // namespace qx
