#include "images/ObjectFileText.h"

#include "images/FileReplace.h"

namespace qx {

std::span<const u8> MainFlashRange(const ChipModel& model, u32 startAddress, u32 endAddress, u32& firstAddress) {
  firstAddress = startAddress;
  if (endAddress < startAddress) return {};
  const auto base = static_cast<std::int64_t>(model.Params.MainImageOffset) - model.Params.MainFlashStart;
  std::int64_t first = base + startAddress;
  std::int64_t last = base + endAddress;
  const auto size = static_cast<std::int64_t>(model.MainFlashImage.size());
  if (last < 0 || first >= size) return {};
  if (first < 0) first = 0;
  if (last >= size) last = size - 1;
  firstAddress = static_cast<u32>(first - base);
  return std::span<const u8>(model.MainFlashImage)
      .subspan(static_cast<std::size_t>(first), static_cast<std::size_t>(last - first + 1));
}

void WriteTextFile(const std::string& fileName, std::string_view text) {
  // A save that fails part-way keeps the file it was to replace.
  WriteFileReplacing(fileName, std::span(reinterpret_cast<const u8*>(text.data()), text.size()));
}

}  // namespace qx
