#include "project/ProjectByteStream.h"

#include <algorithm>
#include <array>

#include "base/ByteOrder.h"

#include "programmer/RandomSource.h"

namespace qx {

void ProjectByteWriter::WriteProjectByte(u8 b) {
  out_.push_back(b);
  sum_ += b;
}

void ProjectByteWriter::WriteProjectFill(std::size_t n, u8 value) {
  for (std::size_t i = 0; i < n; ++i) WriteProjectByte(value);
}

void ProjectByteWriter::WriteProjectRandom(std::size_t n) {
  for (std::size_t i = 0; i < n; ++i) WriteProjectRandomByte();
}

u8 ProjectByteWriter::WriteProjectRandomByte() {
  const u8 b = RandomByte(random_);
  WriteProjectByte(b);
  return b;
}

void ProjectByteWriter::WriteProjectWord(u16 v) {
  std::array<u8, 2> b{};
  PutLe16(b, 0, v);
  for (u8 x : b) WriteProjectByte(x);
}

void ProjectByteWriter::WriteProjectLong(u32 v) {
  std::array<u8, 4> b{};
  PutLe32(b, 0, v);
  for (u8 x : b) WriteProjectByte(x);
}

void ProjectByteWriter::WriteProjectName(std::string_view text, std::size_t n, u8 key) {
  const std::size_t width = n == 0 ? text.size() : n;
  const std::size_t used = std::min(width, text.size());
  for (std::size_t i = 0; i < used; ++i) WriteProjectByte(static_cast<u8>(static_cast<u8>(text[i]) ^ key));
  WriteProjectFill(width - used, 0);
}

void ProjectByteWriter::WriteUnsummed(std::span<const u8> bytes) { out_.insert(out_.end(), bytes.begin(), bytes.end()); }

u8 ProjectByteReader::Next() {
  if (pos_ >= in_.size()) {
    short_ = true;
    return 0;
  }
  return in_[pos_++];
}

u8 ProjectByteReader::ReadProjectByte() {
  const u8 b = Next();
  sum_ += b;
  return b;
}

u16 ProjectByteReader::ReadProjectWord() {
  const u8 lo = ReadProjectByte();
  const u8 hi = ReadProjectByte();
  const std::array<u8, 2> b{lo, hi};
  return GetLe16(b, 0);
}

u32 ProjectByteReader::ReadProjectLong() {
  const u16 lo = ReadProjectWord();
  const u16 hi = ReadProjectWord();
  return static_cast<u32>(lo) | (static_cast<u32>(hi) << 16);
}

std::string ProjectByteReader::ReadProjectName(std::size_t n, u8 key) {
  std::string s(n, '\0');
  for (std::size_t i = 0; i < n; ++i) {
    const u8 b = ReadProjectByte();
    s[i] = static_cast<char>(b == 0 ? 0 : static_cast<u8>(b ^ key));
  }
  return s;
}

void ProjectByteReader::SkipProjectBytes(std::size_t n) {
  for (std::size_t i = 0; i < n; ++i) ReadProjectByte();
}

u32 ProjectByteReader::ReadUnsummedLong() {
  const u8 b0 = Next();
  const u8 b1 = Next();
  const u8 b2 = Next();
  const u8 b3 = Next();
  const std::array<u8, 4> b{b0, b1, b2, b3};
  return GetLe32(b, 0);
}

std::string NameFieldText(std::string_view field) { return std::string(field.substr(0, field.find('\0'))); }

}  // namespace qx
