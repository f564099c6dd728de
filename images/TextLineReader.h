#pragma once
// Reads a text file line by line without loading it whole. Lines end with LF, CR LF or CR
// alone, in any mix. A line longer than MaxLineLength is returned cut at its first
// MaxLineLength characters; object-file records are far shorter. The buffer starts at one
// read's size and grows only as far as the longest line needs, so a short file costs little.
#include <memory>
#include <string>
#include <string_view>

#include "images/RegularFile.h"

namespace qx {

class TextLineReader {
 public:
  static constexpr std::size_t MaxLineLength = 64 * 1024;
  static constexpr std::size_t ReadSize = 16 * 1024;

  // Raises EInOutError when the file is not a regular file or cannot be opened.
  explicit TextLineReader(const std::string& fileName);

  // The next line, valid until the next call; false at the end of the file. Raises
  // EInOutError on a read error.
  bool Next(std::string_view& line);

  // Bytes the buffer holds room for now.
  std::size_t Capacity() const { return capacity_; }

 private:
  bool Fill();
  void Grow();
  std::size_t FindLineEnd(std::size_t from);

  std::string fileName_;
  StdioFile file_;
  std::unique_ptr<char[]> buf_;
  std::size_t capacity_ = 0;
  std::size_t begin_ = 0;  // start of unread data
  std::size_t end_ = 0;    // end of data in buf_
  bool eof_ = false;
  bool afterCr_ = false;  // the last line ended with CR: an LF right after it belongs to it
  // The first LF at or after the last search's start, or lfSearchedTo_ when none was found.
  bool lfKnown_ = false;
  std::size_t lfAt_ = 0;
  std::size_t lfSearchedTo_ = 0;
};

}  // namespace qx
