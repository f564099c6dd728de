// S/N constant data: the tokenizer always advances and ends, and a write at any address
// stays inside the images.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "tests/fuzz/FuzzChip.h"
#include "images/SnConstData.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 5) return 0;
  const qx::u32 address = static_cast<qx::u32>(data[0]) | (static_cast<qx::u32>(data[1]) << 8) |
                          (static_cast<qx::u32>(data[2]) << 16) | (static_cast<qx::u32>(data[3]) << 24);
  const auto area = (data[4] & 1) ? qx::SnArea::EepFlash : qx::SnArea::MainFlash;
  const auto format = (data[4] & 2) ? qx::SnDataFormat::Hex : qx::SnDataFormat::Ascii;
  const std::string_view text(reinterpret_cast<const char*>(data + 5), size - 5);

  std::size_t pos = 0, tokens = 0;
  qx::u8 b = 0;
  while (auto next = qx::ParseHexToken(text, pos, b)) {
    if (*next <= pos || *next > text.size()) std::abort();
    pos = *next;
    ++tokens;
  }
  if (tokens > text.size()) std::abort();
  qx::WriteSnConstData(qx::fuzz::FuzzChip(), area, address, text, format);
  return 0;
}
