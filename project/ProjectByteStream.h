#pragma once
// Byte helpers of the project file. Every byte written or read through them enters the
// running sum, which the file stores after its last section. A file is written and read
// in pieces of ReplacingFile::PieceSize through one buffer, never built or held whole.
#include <cstddef>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/Types.h"
#include "images/ByteSink.h"
#include "images/FileReplace.h"

namespace qx {

class RandomSource;

class ProjectByteWriter {
 public:
  // Into memory: Bytes() holds what was written.
  explicit ProjectByteWriter(RandomSource& random);
  // Into out, a piece whenever the buffer fills; Flush hands on the rest.
  ProjectByteWriter(RandomSource& random, ByteSink& out);
  ProjectByteWriter(const ProjectByteWriter&) = delete;
  ProjectByteWriter& operator=(const ProjectByteWriter&) = delete;

  void WriteProjectByte(u8 b) {
    if (used_ == buffer_.size()) Flush();
    buffer_[used_++] = b;
    sum_ += b;
  }
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
  // Hands everything written so far on to the sink.
  void Flush();

  u32 ProjectSum() const { return sum_; }
  std::size_t Size() const { return flushed_ + used_; }
  // The memory writer's bytes.
  std::vector<u8>& Bytes();

 private:
  RandomSource& random_;
  ByteVectorSink memory_;
  ByteSink& out_;
  std::vector<u8> buffer_;
  std::size_t used_ = 0;
  std::size_t flushed_ = 0;
  u32 sum_ = 0;
};

// Reads from a span or from a file in pieces; a read past the end yields zero bytes and
// marks the stream short, so a truncated file never reads as good.
class ProjectByteReader {
 public:
  explicit ProjectByteReader(std::span<const u8> bytes) : window_(bytes), size_(bytes.size()) {}
  // At most limit bytes of the file. Throws EInOutError when it cannot be opened or read.
  ProjectByteReader(const std::string& path, std::size_t limit);

  u8 ReadProjectByte() {
    const u8 b = Next();
    sum_ += b;
    return b;
  }
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
  std::size_t Position() const { return before_ + pos_; }
  std::size_t Remaining() const { return size_ - Position(); }
  // Every byte not read yet, neither read nor summed; nothing is read after it.
  std::span<const u8> Rest();

 private:
  u8 Next() { return pos_ < window_.size() ? window_[pos_++] : NextPiece(); }
  u8 NextPiece();

  std::unique_ptr<FilePieceReader> file_;
  std::span<const u8> window_;  // the bytes at hand: the whole span, or the file's piece
  std::size_t pos_ = 0;         // in the window
  std::size_t before_ = 0;      // bytes of the pieces before the window
  std::size_t size_ = 0;
  std::vector<u8> rest_;
  u32 sum_ = 0;
  bool short_ = false;
};

// A name field as text: the characters before the first zero byte.
std::string NameFieldText(std::string_view field);

}  // namespace qx
