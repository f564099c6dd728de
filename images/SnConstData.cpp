#include "images/SnConstData.h"

#include <vector>

namespace qx {
namespace {

// The code point of the UTF-8 sequence at text[pos] and its length; nullopt for a
// malformed sequence (its first byte then counts as one character).
std::optional<u32> DecodeUtf8(std::string_view text, std::size_t pos, std::size_t& length) {
  const auto lead = static_cast<u8>(text[pos]);
  length = 1;
  if (lead < 0x80) return lead;
  std::size_t n = 0;
  u32 cp = 0;
  if ((lead & 0xE0) == 0xC0) {
    n = 2;
    cp = lead & 0x1Fu;
  } else if ((lead & 0xF0) == 0xE0) {
    n = 3;
    cp = lead & 0x0Fu;
  } else if ((lead & 0xF8) == 0xF0) {
    n = 4;
    cp = lead & 0x07u;
  } else {
    return std::nullopt;
  }
  if (pos + n > text.size()) return std::nullopt;
  for (std::size_t i = 1; i < n; ++i) {
    const auto c = static_cast<u8>(text[pos + i]);
    if ((c & 0xC0) != 0x80) return std::nullopt;
    cp = (cp << 6) | (c & 0x3Fu);
  }
  static constexpr u32 kSmallest[5] = {0, 0, 0x80, 0x800, 0x10000};
  if (cp < kSmallest[n] || cp > 0x10FFFF) return std::nullopt;
  length = n;
  return cp;
}

}  // namespace

SnTextBytes SnAsciiBytes(std::string_view utf8) {
  SnTextBytes out;
  out.Bytes.reserve(utf8.size());
  for (std::size_t pos = 0; pos < utf8.size();) {
    std::size_t length = 1;
    const std::optional<u32> cp = DecodeUtf8(utf8, pos, length);
    if (!cp || *cp > 0xFF) {
      out.Bytes.clear();
      out.BadChar = std::string(utf8.substr(pos, length));
      return out;
    }
    out.Bytes.push_back(static_cast<u8>(*cp));
    pos += length;
  }
  return out;
}

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
    SnTextBytes text = SnAsciiBytes(data);
    if (!text.BadChar.empty()) {
      r.BadChar = std::move(text.BadChar);
      return r;
    }
    bytes = std::move(text.Bytes);
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
