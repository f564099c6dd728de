#include "project/ProjectByteStream.h"

#include <algorithm>
#include <array>

#include "base/ByteOrder.h"

#include "programmer/RandomSource.h"

namespace qx {

ProjectByteWriter::ProjectByteWriter(RandomSource& random) : ProjectByteWriter(random, memory_) {}

ProjectByteWriter::ProjectByteWriter(RandomSource& random, ByteSink& out)
    : random_(random), out_(out), buffer_(ReplacingFile::PieceSize) {}

void ProjectByteWriter::Flush() {
  out_.Append(std::span<const u8>(buffer_).first(used_));
  flushed_ += used_;
  used_ = 0;
}

std::vector<u8>& ProjectByteWriter::Bytes() {
  Flush();
  return memory_.Bytes;
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

void ProjectByteWriter::WriteUnsummed(std::span<const u8> bytes) {
  Flush();
  out_.Append(bytes);
  flushed_ += bytes.size();
}

ProjectByteReader::ProjectByteReader(const std::string& path, std::size_t limit)
    : file_(std::make_unique<FilePieceReader>(path, limit)), size_(file_->Size()) {}

u8 ProjectByteReader::NextPiece() {
  if (file_) {
    before_ += window_.size();
    window_ = file_->Next();
    pos_ = 0;
    // A file cut since it was opened ends where its bytes end.
    if (window_.empty()) size_ = before_;
    if (!window_.empty()) return window_[pos_++];
  }
  short_ = true;
  return 0;
}

std::span<const u8> ProjectByteReader::Rest() {
  if (!file_) return window_.subspan(pos_);
  rest_.assign(window_.begin() + static_cast<std::ptrdiff_t>(pos_), window_.end());
  for (std::span<const u8> piece = file_->Next(); !piece.empty(); piece = file_->Next())
    rest_.insert(rest_.end(), piece.begin(), piece.end());
  return rest_;
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
