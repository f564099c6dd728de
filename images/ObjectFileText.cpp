#include "images/ObjectFileText.h"

#include <cstdio>
#include <memory>

#include "base/Errors.h"
#include "texts/Texts.h"

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
  struct Closer {
    void operator()(std::FILE* f) const { std::fclose(f); }
  };
  std::unique_ptr<std::FILE, Closer> f(std::fopen(fileName.c_str(), "wb"));
  if (!f) throw EInOutError(Tx(TextId::FileCreateError, fileName));
  if (!text.empty() && std::fwrite(text.data(), 1, text.size(), f.get()) != text.size()) {
    throw EInOutError(Tx(TextId::FileWriteError, fileName));
  }
  if (std::fclose(f.release()) != 0) throw EInOutError(Tx(TextId::FileWriteError, fileName));
}

}  // namespace qx
