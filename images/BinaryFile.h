#pragma once
// Raw binary files: copied byte for byte into a buffer, and a buffer range saved as a file.
#include <span>
#include <string>

#include "base/Types.h"

namespace qx {

struct BinaryLoadResult {
  // False when the file could not be opened or read, or is empty; what was copied before a
  // read error stays in the destination.
  bool Ok = false;
  u32 FileSize = 0;         // saturated at 0xFFFFFFFF
  u32 LastLoadAddress = 0;  // file size - 1 (0 for an empty or unopened file)
  u32 Copied = 0;
};

// Copies the first min(file size, count) bytes of the file to destination (never more than
// destination holds). When the file is not longer than count, count := file size - 1.
// Pass ClampRange(image, index, 0xFFFFFFFF) to start at an image index.
BinaryLoadResult LoadBinaryFile(const std::string& fileName, std::span<u8> destination, u32& count);

// Copies the first min(file size, lastIndex + 1) bytes (never more than destination holds).
// When the file holds at most lastIndex + 1 bytes, lastIndex := file size - 1; otherwise it
// becomes the index of the last byte copied. sum := byte sum of the bytes copied.
BinaryLoadResult LoadBinaryFileSum(const std::string& fileName, std::span<u8> destination, u32& lastIndex,
                                   u32& sum);

// Creates or overwrites the file with buffer[first..last], clamped to the buffer (an empty
// file when last < first). Raises EInOutError when the file cannot be written.
void SaveBinaryFile(const std::string& fileName, std::span<const u8> buffer, u32 first, u32 last);

}  // namespace qx
