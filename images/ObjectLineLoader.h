#pragma once
// The line loop the Intel HEX and S-record loaders share.
#include <string>
#include <string_view>

#include "images/LineParseResult.h"
#include "images/ObjectReadResult.h"
#include "base/Operator.h"
#include "images/RecordRouting.h"
#include "images/TextLineReader.h"

namespace qx {

// Feeds every line of fileName that skip() does not pass over to parse(line); a line error
// asks the operator, and Abort ends the read. The first line not skipped must pass
// isRecord(), or nothing is read at all (one refusal instead of a box per line of a file
// that is no object file). The object range and byte sum follow the state's ObjectRange,
// from the start, so a file that stores nothing never reports the range of another.
template <typename State, typename Parse, typename Skip, typename IsRecord>
ObjectReadResult LoadObjectLines(const std::string& fileName, State& state, Parse parse, Skip skip, IsRecord isRecord,
                                 u32& objectStart, u32& objectEnd, u32& sum, Operator& op) {
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
      if (AskLineError(op, lineNumber, static_cast<u8>(result))) {
        read.AbortedAt = lineNumber;
        return read;
      }
    }
    objectStart = state.Range.Minimum;
    objectEnd = state.Range.Maximum;
  }
  return read;
}

// Record text is hexadecimal digits only.
inline bool IsHexDigit(char c) {
  const auto u = static_cast<unsigned char>(c);
  return (u >= '0' && u <= '9') || ((u | 0x20) >= 'a' && (u | 0x20) <= 'f');
}
// True when line[from, to) holds hexadecimal digits only; the caller has checked the length.
inline bool HexDigitsOnly(std::string_view line, std::size_t from, std::size_t to) {
  for (std::size_t i = from; i < to; ++i) {
    if (!IsHexDigit(line[i])) return false;
  }
  return true;
}

}  // namespace qx
