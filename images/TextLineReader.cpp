#include "images/TextLineReader.h"

#include <algorithm>
#include <cstring>

#include "base/Errors.h"
#include "images/RegularFile.h"
#include "texts/Texts.h"

namespace qx {

namespace {
// Room for the longest line kept whole and one read after it: a cut line's head and the
// read that looks for its end always fit.
constexpr std::size_t MostCapacity = TextLineReader::MaxLineLength + TextLineReader::ReadSize;
}  // namespace

TextLineReader::TextLineReader(const std::string& fileName)
    : fileName_(fileName),
      file_(OpenRegularFileOrThrow(fileName)),
      buf_(std::make_unique_for_overwrite<char[]>(ReadSize)),
      capacity_(ReadSize) {}

// Twice the room, as far as the longest line kept needs; the unread data stays in front.
void TextLineReader::Grow() {
  const std::size_t wider = std::min(2 * capacity_, MostCapacity);
  auto next = std::make_unique_for_overwrite<char[]>(wider);
  std::memcpy(next.get(), buf_.get(), end_);
  buf_ = std::move(next);
  capacity_ = wider;
}

// Moves the unread rest to the front and reads more; false when nothing more came.
bool TextLineReader::Fill() {
  if (eof_) return false;
  lfKnown_ = false;  // positions move
  if (begin_ > 0) {
    std::memmove(buf_.get(), buf_.get() + begin_, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
  }
  // A line that fills the buffer: only more room lets the next read find its end.
  if (end_ == capacity_) Grow();
  const std::size_t got = std::fread(buf_.get() + end_, 1, capacity_ - end_, file_.get());
  if (got == 0) {
    if (std::ferror(file_.get())) throw EInOutError(Tx(TextId::FileReadError, fileName_));
    eof_ = true;
    return false;
  }
  end_ += got;
  return true;
}

// The first CR or LF in [from, end_), or end_. Found by the library's word-wide search: a
// byte-by-byte look is most of a load's time. The next LF is remembered: a file whose lines
// end with CR alone would otherwise search the rest of the buffer for an LF at every line.
std::size_t TextLineReader::FindLineEnd(std::size_t from) {
  if (!lfKnown_ || from > lfAt_ || (lfAt_ == lfSearchedTo_ && lfSearchedTo_ < end_)) {
    const auto* lf = static_cast<const char*>(std::memchr(buf_.get() + from, '\n', end_ - from));
    lfAt_ = lf != nullptr ? static_cast<std::size_t>(lf - buf_.get()) : end_;
    lfSearchedTo_ = end_;
    lfKnown_ = true;
  }
  const std::size_t upTo = std::min(lfAt_, end_);
  const auto* cr = static_cast<const char*>(std::memchr(buf_.get() + from, '\r', upTo - from));
  return cr != nullptr ? static_cast<std::size_t>(cr - buf_.get()) : upTo;
}

bool TextLineReader::Next(std::string_view& line) {
  const auto take = [&](std::size_t stop) {
    line = std::string_view(buf_.get() + begin_, std::min(stop - begin_, MaxLineLength));
  };
  std::size_t scanned = begin_;
  for (;;) {
    // The LF of a CR LF whose CR ended the previous line, perhaps only now read.
    if (afterCr_ && begin_ < end_) {
      afterCr_ = false;
      if (buf_[begin_] == '\n') scanned = ++begin_;
    }
    const std::size_t at = afterCr_ ? end_ : FindLineEnd(scanned);
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
