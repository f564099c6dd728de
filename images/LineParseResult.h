#pragma once
// Result of parsing one object-file line; the number is shown to the operator.
#include "base/Types.h"

namespace qx {

enum class LineParseResult : u8 {
  Accepted = 0,
  NoStartCode = 1,     // no ':' (Intel HEX) or 'S' (S-record) at the start
  BadRecordType = 2,   // S-record type 4, 6 or not a digit
  NonZeroOffset = 3,   // Intel HEX type 02/04 with an offset field
  ChecksumError = 4,
  UnknownType = 5,     // Intel HEX type 06 or above
  ShortLine = 6,       // shorter than its count requires, or an S-record count below k + 1
  OutOfChip = 7,
  BadDigit = 8,        // a character of the record that is not a hexadecimal digit
};

}  // namespace qx
