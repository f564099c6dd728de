#pragma once
// The line loop the Intel HEX and S-record loaders share.
#include <array>
#include <cstring>
#include <string>
#include <string_view>

#include "images/LineParseResult.h"
#include "images/ObjectReadResult.h"
#include "base/Operator.h"
#include "images/RecordRouting.h"
#include "images/TextLineReader.h"

namespace qx {

// A UTF-8 byte-order mark, which some editors put before the first line.
inline constexpr std::string_view Utf8ByteOrderMark = "\xEF\xBB\xBF";

// Feeds every line of fileName that skip() does not pass over to parse(line). A line that
// fails asks the operator (Abort ends the read); a damaged line counts against the file
// whatever the answer, a sound record the job cannot use is skipped after OK. The first
// line not skipped must pass isRecord(), or nothing is read at all (one refusal instead of
// a box per line of a file that is no object file). The object range and byte sum follow
// the state's ObjectRange, from the start, so a file that stores nothing never reports the
// range of another.
template <typename State, typename Parse, typename Skip, typename IsRecord>
ObjectReadResult LoadObjectLines(const std::string& fileName, State& state, Parse parse, Skip skip, IsRecord isRecord,
                                 u32& objectStart, u32& objectEnd, u32& sum, MessageBoxes& op) {
  TextLineReader reader(fileName);
  ObjectReadResult read;
  sum = state.Range.Sum;
  objectStart = state.Range.Minimum;
  objectEnd = state.Range.Maximum;
  int lineNumber = 0;
  bool first = true;
  std::string_view line;
  while (reader.Next(line)) {
    ++lineNumber;
    if (lineNumber == 1 && line.starts_with(Utf8ByteOrderMark)) line.remove_prefix(Utf8ByteOrderMark.size());
    if (skip(line)) continue;
    if (first) {
      first = false;
      if (!isRecord(line)) {
        read.NotRecords = true;
        return read;
      }
    }
    const LineParseResult result = parse(line);
    sum = state.Range.Sum;
    if (result != LineParseResult::Accepted) {
      ++read.BadLines;
      const bool damaged = !SkippableRecord(result);
      if (damaged) ++read.DamagedLines;
      if (AskLineError(op, lineNumber, ShownCode(result))) {
        read.AbortedAt = lineNumber;
        read.StoredRecords = state.Range.StoredRecords;
        return read;
      }
      if (!damaged) ++read.SkippedRecords;
    }
    objectStart = state.Range.Minimum;
    objectEnd = state.Range.Maximum;
  }
  read.StoredRecords = state.Range.StoredRecords;
  return read;
}

namespace detail {
constexpr std::array<u8, 256> MakeNotHexTable() {
  std::array<u8, 256> t{};
  for (int c = 0; c < 256; ++c) {
    const bool hex = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
    t[static_cast<std::size_t>(c)] = hex ? 0 : 1;
  }
  return t;
}
inline constexpr std::array<u8, 256> NotHexTable = MakeNotHexTable();

// Bytes of x whose value (below 0x80) lies in [lo, hi] get their top bit, the others none.
constexpr u64 BytesInRange(u64 x, u8 lo, u8 hi) {
  constexpr u64 ones = 0x0101010101010101ull;
  constexpr u64 tops = 0x8080808080808080ull;
  const u64 atLeastLo = x + ones * static_cast<u64>(0x80 - lo);
  const u64 aboveHi = x + ones * static_cast<u64>(0x7F - hi);
  return atLeastLo & ~aboveHi & tops;
}
}  // namespace detail

// True when line[from, to) holds hexadecimal digits only; the caller has checked the length.
// Eight characters a step and no branch per character: this runs over every record byte of
// every file.
inline bool HexDigitsOnly(std::string_view line, std::size_t from, std::size_t to) {
  constexpr u64 tops = 0x8080808080808080ull;
  constexpr u64 lowerCase = 0x2020202020202020ull;
  u64 bad = 0;
  std::size_t i = from;
  for (; i + 8 <= to; i += 8) {
    u64 x;
    std::memcpy(&x, line.data() + i, 8);
    const u64 ascii = x & ~tops;  // the top bit counts as bad below; the ranges see 7 bits
    const u64 hex = detail::BytesInRange(ascii, '0', '9') | detail::BytesInRange(ascii | lowerCase, 'a', 'f');
    bad |= (x & tops) | (~hex & tops);
  }
  unsigned tail = 0;
  for (; i < to; ++i) tail |= detail::NotHexTable[static_cast<unsigned char>(line[i])];
  return bad == 0 && tail == 0;
}

}  // namespace qx
