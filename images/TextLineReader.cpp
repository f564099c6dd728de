#include "images/TextLineReader.h"

#include <cstring>

#include "base/Errors.h"
#include "texts/Texts.h"

namespace qx {

namespace {
constexpr std::size_t BufferSize = 1024 * 1024;
static_assert(TextLineReader::MaxLineLength < BufferSize);
}  // namespace

TextLineReader::TextLineReader(const std::string& fileName)
    : fileName_(fileName), file_(std::fopen(fileName.c_str(), "rb")), buf_(BufferSize) {
  if (!file_) throw EInOutError(Tx(TextId::FileOpenError, fileName));
}

// Moves the unread rest to the front and reads more; false when nothing more came.
bool TextLineReader::Fill() {
  if (eof_) return false;
  if (begin_ > 0) {
    std::memmove(buf_.data(), buf_.data() + begin_, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
  }
  const std::size_t got = std::fread(buf_.data() + end_, 1, buf_.size() - end_, file_.get());
  if (got == 0) {
    if (std::ferror(file_.get())) throw EInOutError(Tx(TextId::FileReadError, fileName_));
    eof_ = true;
    return false;
  }
  end_ += got;
  return true;
}

bool TextLineReader::Next(std::string_view& line) {
  const auto take = [&](std::size_t stop) {
    std::size_t len = stop - begin_;
    if (len > 0 && buf_[stop - 1] == '\r') --len;
    line = std::string_view(buf_.data() + begin_, std::min(len, MaxLineLength));
  };
  std::size_t scanned = begin_;
  for (;;) {
    const char* lf = static_cast<const char*>(std::memchr(buf_.data() + scanned, '\n', end_ - scanned));
    if (lf) {
      const auto at = static_cast<std::size_t>(lf - buf_.data());
      take(at);
      begin_ = at + 1;
      return true;
    }
    // No LF yet: an over-long line keeps only its head.
    if (end_ - begin_ > MaxLineLength) end_ = begin_ + MaxLineLength;
    const std::size_t scannedLen = end_ - begin_;
    if (!Fill()) {
      if (end_ == begin_) return false;
      take(end_);
      begin_ = end_;
      return true;
    }
    scanned = begin_ + scannedLen;
  }
}

}  // namespace qx
