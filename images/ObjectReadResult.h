#pragma once
// What a read of an Intel HEX or S-record file found besides the bytes it stored: whether
// the file is whole, so that the caller keeps it only then.
#include "base/Types.h"

namespace qx {

struct ObjectReadResult {
  int BadLines = 0;         // lines reported to the operator
  int AbortedAt = 0;        // the line the operator chose Abort on; 0 when every line was read
  bool NotRecords = false;  // the first line to read is no record of the format: nothing read
  bool EndRecord = false;   // Intel HEX type 01; S-record S7, S8 or S9
  // S-record S5 count against the data records read before it (the first disagreement).
  bool CountMismatch = false;
  u32 DeclaredCount = 0;
  u32 CountedRecords = 0;

  bool Complete() const { return !NotRecords && AbortedAt == 0 && BadLines == 0 && EndRecord && !CountMismatch; }
};

}  // namespace qx
