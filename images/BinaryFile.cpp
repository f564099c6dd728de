#include "images/BinaryFile.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <memory>

#include "images/ChipModel.h"
#include "images/FileReplace.h"
#include "images/RegularFile.h"
#include "base/Errors.h"
#include "texts/Texts.h"

namespace qx {

namespace {

constexpr std::size_t ChunkSize = 4096;

// Copies up to limit bytes (clamped to destination) and sums them.
BinaryLoadResult Load(const std::string& fileName, std::span<u8> destination, std::size_t limit, u32* sum) {
  BinaryLoadResult r;
  OpenedFile opened = OpenRegularFile(fileName);
  const StdioFile f = std::move(opened.File);
  if (!f) return r;
  struct stat st {};
  if (::fstat(::fileno(f.get()), &st) != 0 || st.st_size <= 0) return r;
  const auto size = static_cast<unsigned long long>(st.st_size);
  r.FileSize = static_cast<u32>(std::min<unsigned long long>(size, 0xFFFFFFFFull));
  r.LastLoadAddress = r.FileSize - 1;

  const std::size_t want = std::min({static_cast<std::size_t>(std::min<unsigned long long>(size, SIZE_MAX)), limit,
                                     destination.size()});
  std::size_t pos = 0;
  bool readError = false;
  while (pos < want) {
    const std::size_t n = std::min(ChunkSize, want - pos);
    const std::size_t got = std::fread(destination.data() + pos, 1, n, f.get());
    if (sum) {
      for (std::size_t i = 0; i < got; ++i) *sum += destination[pos + i];
    }
    pos += got;
    if (got != n) {
      readError = true;
      break;
    }
  }
  r.Copied = static_cast<u32>(pos);
  r.Ok = !readError;
  return r;
}

}  // namespace

BinaryLoadResult LoadBinaryFile(const std::string& fileName, std::span<u8> destination, u32& count) {
  BinaryLoadResult r = Load(fileName, destination, count, nullptr);
  if (r.Ok && r.FileSize <= count) count = r.FileSize - 1;
  return r;
}

BinaryLoadResult LoadBinaryFileSum(const std::string& fileName, std::span<u8> destination, u32& lastIndex,
                                   u32& sum) {
  sum = 0;
  const std::size_t limit = static_cast<std::size_t>(lastIndex) + 1;
  BinaryLoadResult r = Load(fileName, destination, limit, &sum);
  if (!r.Ok) return r;
  if (r.FileSize <= limit) {
    lastIndex = r.FileSize - 1;
  }
  // A destination shorter than asked ends the copy early; report where it really ended.
  if (r.Copied > 0 && r.Copied - 1 < lastIndex) lastIndex = r.Copied - 1;
  return r;
}

void SaveBinaryFile(const std::string& fileName, std::span<const u8> buffer, u32 first, u32 last) {
  // A save that fails part-way keeps the file it was to replace.
  WriteFileReplacing(fileName, ClampRange(buffer, first, last));
}

}  // namespace qx
