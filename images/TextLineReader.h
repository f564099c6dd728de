#pragma once
// Reads a text file line by line without loading it whole. Lines end with LF, CR LF or CR
// alone, in any mix. A line longer than the buffer is returned cut at its first
// MaxLineLength characters; object-file records are far shorter.
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace qx {

class TextLineReader {
 public:
  static constexpr std::size_t MaxLineLength = 64 * 1024;

  // Raises EInOutError when the file is not a regular file or cannot be opened.
  explicit TextLineReader(const std::string& fileName);

  // The next line, valid until the next call; false at the end of the file. Raises
  // EInOutError on a read error.
  bool Next(std::string_view& line);

 private:
  struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
  };
  bool Fill();

  std::string fileName_;
  std::unique_ptr<std::FILE, FileCloser> file_;
  std::vector<char> buf_;
  std::size_t begin_ = 0;  // start of unread data
  std::size_t end_ = 0;    // end of data in buf_
  bool eof_ = false;
  bool afterCr_ = false;  // the last line ended with CR: an LF right after it belongs to it
};

}  // namespace qx
