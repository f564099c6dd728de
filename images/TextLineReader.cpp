#include "images/TextLineReader.h"

#include <cstring>

#include "base/Errors.h"
#include "images/RegularFile.h"
#include "texts/Texts.h"

namespace qx {

namespace {
constexpr std::size_t BufferSize = 1024 * 1024;
static_assert(TextLineReader::MaxLineLength < BufferSize);
}  // namespace

TextLineReader::TextLineReader(const std::string& fileName)
    : fileName_(fileName), file_(OpenRegularFileOrThrow(fileName).release()), buf_(BufferSize) {}

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

namespace {

// The first CR or LF in [from, to), or to. Found by the library's word-wide search: a
// byte-by-byte look is most of a load's time.
std::size_t FindLineEnd(const char* data, std::size_t from, std::size_t to) {
  const char* begin = data + from;
  const auto* lf = static_cast<const char*>(std::memchr(begin, '\n', to - from));
  const std::size_t upTo = lf != nullptr ? static_cast<std::size_t>(lf - begin) : to - from;
  const auto* cr = static_cast<const char*>(std::memchr(begin, '\r', upTo));
  if (cr != nullptr) return from + static_cast<std::size_t>(cr - begin);
  return from + upTo;
}

}  // namespace

bool TextLineReader::Next(std::string_view& line) {
  const auto take = [&](std::size_t stop) {
    line = std::string_view(buf_.data() + begin_, std::min(stop - begin_, MaxLineLength));
  };
  std::size_t scanned = begin_;
  for (;;) {
    // The LF of a CR LF whose CR ended the previous line, perhaps only now read.
    if (afterCr_ && begin_ < end_) {
      afterCr_ = false;
      if (buf_[begin_] == '\n') scanned = ++begin_;
    }
    const std::size_t at = afterCr_ ? end_ : FindLineEnd(buf_.data(), scanned, end_);
    if (at < end_) {
      take(at);
      afterCr_ = buf_[at] == '\r';
      begin_ = at + 1;
      return true;
    }
    // No line end yet: an over-long line keeps only its head.
    if (end_ - begin_ > MaxLineLength) end_ = begin_ + MaxLineLength;
    const std::size_t scannedLen = end_ - begin_;
    if (!Fill()) {
      afterCr_ = false;
      if (end_ == begin_) return false;
      take(end_);
      begin_ = end_;
      return true;
    }
    scanned = begin_ + scannedLen;
  }
}

}  // namespace qx
