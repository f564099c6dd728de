#pragma once
// The line loop the Intel HEX and S-record loaders share.
#include <string>
#include <string_view>

#include "images/LineParseResult.h"
#include "base/Operator.h"
#include "images/RecordRouting.h"
#include "images/TextLineReader.h"

namespace qx {

// Feeds every line of fileName that skip() does not pass over to parse(line); a line error
// asks the operator, and Abort ends the load with false. The object range and byte sum
// follow the state's ObjectRange after every line.
template <typename State, typename Parse, typename Skip>
bool LoadObjectLines(const std::string& fileName, State& state, Parse parse, Skip skip, u32& objectStart,
                     u32& objectEnd, u32& sum, Operator& op) {
  TextLineReader reader(fileName);
  sum = 0;
  int lineNumber = 0;
  std::string_view line;
  while (reader.Next(line)) {
    ++lineNumber;
    if (skip(line)) continue;
    const LineParseResult result = parse(line);
    sum = state.Range.Sum;
    if (result != LineParseResult::Accepted && AskLineError(op, lineNumber, static_cast<u8>(result))) {
      return false;
    }
    objectStart = state.Range.Minimum;
    objectEnd = state.Range.Maximum;
  }
  return true;
}

}  // namespace qx
