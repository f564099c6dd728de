#pragma once
// Writing a file so that a failed write never destroys the file it replaces, and reading
// one in pieces; both go through one buffer of a fixed size, however large the file.
#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/Types.h"
#include "images/ByteSink.h"
#include "images/RegularFile.h"

namespace qx {

// A new file for path, written beside it and put in its place only once it is whole: a save
// that fails part-way keeps the file it was to replace. Bytes gather in one buffer that is
// written out each time it fills, so no writer builds its whole file in memory first.
// Every failure throws EInOutError naming the path and the system's reason.
class ReplacingFile final : public ByteSink {
 public:
  static constexpr std::size_t PieceSize = 64 * 1024;

  // Creates the temporary file beside path (beside its target when path is a symbolic
  // link, so that the link stays); it takes the mode of the file it replaces.
  explicit ReplacingFile(const std::string& path);
  // Without Commit the temporary is removed and path is left as it was.
  ~ReplacingFile() override;
  ReplacingFile(const ReplacingFile&) = delete;
  ReplacingFile& operator=(const ReplacingFile&) = delete;

  using ByteSink::Append;
  void Append(std::span<const u8> bytes) override;
  // Writes the rest, syncs the file to the disk, renames it over path and syncs the folder.
  void Commit();

 private:
  void WriteOut(std::span<const u8> bytes);
  [[noreturn]] void Fail(int error);

  std::string path_;
  std::string target_;
  std::string temp_;
  int fd_ = -1;
  std::vector<u8> buffer_;
  std::size_t used_ = 0;
};

// Writes bytes to a temporary file beside path, flushes it to disk and renames it over
// path. Throws EInOutError naming the path and the system's reason; on failure the old file
// stays and the temporary is removed.
void WriteFileReplacing(const std::string& path, std::span<const u8> bytes);

// text followed by the system's reason for error (an errno value): "text (reason)".
std::string WithSystemReason(std::string_view text, int error);

// Writes all of bytes to fd, going on after short writes and EINTR; false on an error.
bool WriteAll(int fd, std::span<const u8> bytes);

// A regular file read piece by piece into one reused buffer: at most limit bytes, and no
// more than it held when it was opened.
class FilePieceReader {
 public:
  // Throws EInOutError when path is no regular file or cannot be opened.
  FilePieceReader(const std::string& path, std::size_t limit);

  // The bytes that will be read, unless the file is cut meanwhile.
  std::size_t Size() const { return size_; }
  // The next piece, valid until the next call; empty at the end. Throws EInOutError on a
  // read error.
  std::span<const u8> Next();

 private:
  std::string path_;
  StdioFile file_;
  std::size_t size_ = 0;
  std::size_t read_ = 0;
  std::vector<u8> buffer_;
};

// At most maxBytes of the file. Throws EInOutError when it cannot be opened or read.
std::vector<u8> ReadFileBytes(const std::string& path, std::size_t maxBytes);

}  // namespace qx
