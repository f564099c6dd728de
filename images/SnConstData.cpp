#include "images/SnConstData.h"

#include <vector>

namespace qx {

std::optional<std::size_t> ParseHexToken(std::string_view text, std::size_t pos, u8& value) {
  value = 0;
  while (pos < text.size() && text[pos] == ' ') ++pos;
  if (pos >= text.size()) return std::nullopt;
  for (; pos < text.size() && text[pos] != ' '; ++pos) {
    const char c = text[pos];
    int digit = 0;
    if (c >= '0' && c <= '9') {
      digit = c - '0';
    } else if (c >= 'A' && c <= 'F') {
      digit = c - 55;
    } else if (c >= 'a' && c <= 'f') {
      digit = c - 87;
    }
    value = static_cast<u8>(value * 16 + digit);
  }
  // A last token without a trailing space counts as well.
  return pos;
}

SnWriteResult WriteSnConstData(ChipModel& model, SnArea area, u32 address, std::string_view data,
                               SnDataFormat format) {
  const ChipParams& p = model.Params;
  const AddressWindow window = area == SnArea::MainFlash ? MainWindow(p) : EepWindow(p);
  SnWriteResult r;
  r.Address = address;
  if (!window.Contains(address)) return r;

  std::vector<u8> bytes;
  if (format == SnDataFormat::Ascii) {
    bytes.assign(data.begin(), data.end());
  } else {
    u8 b = 0;
    std::size_t pos = 0;
    while (auto next = ParseHexToken(data, pos, b)) {
      bytes.push_back(b);
      pos = *next;
    }
  }

  std::span<u8> image;
  u64 index;
  if (area == SnArea::MainFlash) {
    image = model.MainFlashImage;
    index = u64{address - p.MainFlashStart} + p.MainImageOffset;
  } else {
    image = model.EepImage;
    index = address - p.EepStart;
  }
  for (std::size_t i = 0; i < bytes.size() && index + i < image.size(); ++i) image[index + i] = bytes[i];
  r.Written = true;
  r.Count = static_cast<u32>(bytes.size());
  return r;
}

}  // namespace qx
