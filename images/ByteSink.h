#pragma once
// Where a file writer's bytes go: a file written in pieces (ReplacingFile), or memory.
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/Types.h"

namespace qx {

class ByteSink {
 public:
  virtual ~ByteSink() = default;
  // Raises EInOutError when the bytes cannot be taken.
  virtual void Append(std::span<const u8> bytes) = 0;
  void Append(std::string_view text) { Append(std::span(reinterpret_cast<const u8*>(text.data()), text.size())); }
};

class ByteVectorSink final : public ByteSink {
 public:
  using ByteSink::Append;
  void Append(std::span<const u8> bytes) override { Bytes.insert(Bytes.end(), bytes.begin(), bytes.end()); }
  std::vector<u8> Bytes;
};

class StringSink final : public ByteSink {
 public:
  using ByteSink::Append;
  void Append(std::span<const u8> bytes) override { Text.append(reinterpret_cast<const char*>(bytes.data()), bytes.size()); }
  std::string Text;
};

}  // namespace qx
