#pragma once
// Byte helpers of the project file. Every byte written or read through them enters the
// running sum, which the file stores after its last section.
#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/Types.h"

namespace qx {

class RandomSource;

class ProjectByteWriter {
 public:
  explicit ProjectByteWriter(RandomSource& random) : random_(random) {}

  void WriteProjectByte(u8 b);
  void WriteProjectFill(std::size_t n, u8 value);
  // n bytes 0..254.
  void WriteProjectRandom(std::size_t n);
  u8 WriteProjectRandomByte();
  void WriteProjectWord(u16 v);
  void WriteProjectLong(u32 v);
  // Each character XOR key into an n-byte field padded with zeros; n = 0 writes the text's
  // own length. A longer text is cut to n bytes.
  void WriteProjectName(std::string_view text, std::size_t n, u8 key);
  // Bytes that stay out of the running sum (the stored sum itself and what follows it).
  void WriteUnsummed(std::span<const u8> bytes);

  u32 ProjectSum() const { return sum_; }
  std::size_t Size() const { return out_.size(); }
  std::vector<u8>& Bytes() { return out_; }

 private:
  RandomSource& random_;
  std::vector<u8> out_;
  u32 sum_ = 0;
};

// Reads from a span; a read past the end yields zero bytes and marks the stream short, so
// a truncated file never reads as good.
class ProjectByteReader {
 public:
  explicit ProjectByteReader(std::span<const u8> bytes) : in_(bytes) {}

  u8 ReadProjectByte();
  u16 ReadProjectWord();
  u32 ReadProjectLong();
  // n bytes; a zero byte stays zero, any other byte is XORed with key. The result holds all
  // n decoded bytes (names are cut at the first zero by the caller).
  std::string ReadProjectName(std::size_t n, u8 key);
  void SkipProjectBytes(std::size_t n);
  // A 32-bit value that stays out of the running sum.
  u32 ReadUnsummedLong();

  u32 ProjectSum() const { return sum_; }
  bool Short() const { return short_; }
  std::size_t Position() const { return pos_; }
  std::size_t Remaining() const { return in_.size() - pos_; }
  std::span<const u8> Rest() const { return in_.subspan(pos_); }

 private:
  u8 Next();

  std::span<const u8> in_;
  std::size_t pos_ = 0;
  u32 sum_ = 0;
  bool short_ = false;
};

// A name field as text: the characters before the first zero byte.
std::string NameFieldText(std::string_view field);

}  // namespace qx
