#pragma once
// Little-endian field access for the packets and files. Callers check the span's bounds
// where the bytes enter; these helpers only assert them in debug builds.
#include <cassert>
#include <cstddef>
#include <span>

#include "base/Types.h"

namespace qx {

inline u16 GetLe16(std::span<const u8> b, std::size_t at) {
  assert(at + 2 <= b.size());
  return static_cast<u16>(b[at] | (b[at + 1] << 8));
}

inline u32 GetLe32(std::span<const u8> b, std::size_t at) {
  assert(at + 4 <= b.size());
  return static_cast<u32>(b[at]) | (static_cast<u32>(b[at + 1]) << 8) | (static_cast<u32>(b[at + 2]) << 16) |
         (static_cast<u32>(b[at + 3]) << 24);
}

inline void PutLe16(std::span<u8> b, std::size_t at, u16 v) {
  assert(at + 2 <= b.size());
  b[at] = static_cast<u8>(v);
  b[at + 1] = static_cast<u8>(v >> 8);
}

inline void PutLe32(std::span<u8> b, std::size_t at, u32 v) {
  assert(at + 4 <= b.size());
  b[at] = static_cast<u8>(v);
  b[at + 1] = static_cast<u8>(v >> 8);
  b[at + 2] = static_cast<u8>(v >> 16);
  b[at + 3] = static_cast<u8>(v >> 24);
}

}  // namespace qx
