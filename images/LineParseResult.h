#pragma once
// Result of parsing one object-file line; the number is shown to the operator.
#include "base/Types.h"

namespace qx {

enum class LineParseResult : u8 {
  Accepted = 0,
  NoStartCode = 1,     // no ':' (Intel HEX) or 'S' (S-record) at the start
  BadRecordType = 2,   // S-record type that is not a digit
  NonZeroOffset = 3,   // Intel HEX type 02/04 with an offset field
  ChecksumError = 4,
  UnknownType = 5,     // a whole Intel HEX record of type 06 or above
  ShortLine = 6,       // shorter than its count requires, or an S-record count below k + 1
  OutOfChip = 7,
  BadDigit = 8,        // a character of the record that is not a hexadecimal digit
  UnusedSRecordType = 9,  // a whole S4 record; shown as 2, the number operators know for it
};

// The number the line box shows.
constexpr u8 ShownCode(LineParseResult r) {
  return r == LineParseResult::UnusedSRecordType ? static_cast<u8>(LineParseResult::BadRecordType) : static_cast<u8>(r);
}

// A sound record the job cannot use (outside the chip, of a type the reader does not use):
// the operator may skip it. Every other failure is a damaged line, and the file is refused.
constexpr bool SkippableRecord(LineParseResult r) {
  return r == LineParseResult::OutOfChip || r == LineParseResult::UnknownType ||
         r == LineParseResult::UnusedSRecordType;
}

}  // namespace qx
