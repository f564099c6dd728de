#pragma once
// Motorola S-record object files: read into the chip images by address window, and an
// address range of the main-flash image written out as S1, S2 or S3 records.
#include <span>
#include <string>
#include <string_view>

#include "images/ByteSink.h"
#include "images/ChipModel.h"
#include "images/LineParseResult.h"
#include "images/ObjectReadResult.h"
#include "base/Operator.h"
#include "images/RecordRouting.h"

namespace qx {

struct SRecordReaderState {
  ObjectRange Range;
  u32 RecordAddress = 0;  // address of the last data record
  bool EndRecord = false;  // a whole S7, S8 or S9 record was read
  bool CountAtEnd = false;  // an S5 or S6 that agrees, with no data record after it
  u32 DataRecords = 0;     // S1, S2 and S3 lines so far
  // The first S5 or S6 whose count disagrees with DataRecords as it stood then.
  bool CountMismatch = false;
  u32 DeclaredCount = 0;
  u32 CountedRecords = 0;
};

// One record line (without its line end). Out-of-chip records are reported to op; a
// damaged line stores nothing.
LineParseResult ParseSRecordLine(ChipModel& model, std::string_view line, SRecordReaderState& state, MessageBoxes& op);

// Reads every line of the file (termination records do not stop it). objectStart and
// objectEnd receive the lowest and highest address of all data records, sum the byte sum of
// their data. A bad line asks OK/Abort (Abort stops the read). The result tells whether the
// file must be refused, what was skipped and whether its end was there; the images hold
// what was stored either way. Raises EInOutError when the
// file is not a regular file, cannot be opened or cannot be read.
ObjectReadResult LoadSRecordFile(ChipModel& model, const std::string& fileName, u32& objectStart, u32& objectEnd, u32& sum,
                     MessageBoxes& op);

// The file text for data whose first byte lies at startAddress, record by record into out:
// 32-byte records of the smallest type that holds the last address, then the termination
// line. CR LF line ends.
void WriteSRecords(ByteSink& out, std::span<const u8> data, u32 startAddress);
// The same text as one string.
std::string FormatSRecords(std::span<const u8> data, u32 startAddress);

// Writes the main-flash bytes of the addresses start..end (clamped to the image).
// Raises EInOutError when the file cannot be written.
void SaveSRecordFile(const ChipModel& model, const std::string& fileName, u32 startAddress, u32 endAddress);

}  // namespace qx
