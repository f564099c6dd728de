#pragma once
// What a read of an Intel HEX or S-record file found besides the bytes it stored: whether
// the file must be refused, and what the operator is to decide or be told when it is taken.
#include "base/Types.h"

namespace qx {

struct ObjectReadResult {
  int BadLines = 0;        // lines reported to the operator with the line box
  int DamagedLines = 0;    // of them, lines that are no sound record
  int SkippedRecords = 0;  // of them, sound records the job cannot use, skipped after OK
  int AbortedAt = 0;       // the line the operator chose Abort on; 0 when every line was read
  bool NotRecords = false;  // the first line to read is no record of the format: nothing read
  bool EndRecord = false;   // Intel HEX type 01; S-record S7, S8 or S9, or a count that agrees last
  // S-record S5 or S6 count against the data records read before it (the first disagreement).
  bool CountMismatch = false;
  u32 DeclaredCount = 0;
  u32 CountedRecords = 0;
  u32 StoredRecords = 0;  // data records that put at least one byte into a window

  // A file that is refused whatever the operator answered.
  bool Refused() const {
    return NotRecords || AbortedAt != 0 || DamagedLines != 0 || CountMismatch || StoredRecords == 0;
  }
  // Read whole: nothing refused, nothing skipped, the end in place.
  bool Complete() const { return !Refused() && SkippedRecords == 0 && EndRecord; }
};

}  // namespace qx
