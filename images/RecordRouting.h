#pragma once
// Where an object-file data record goes: the first window (option, main flash, data flash,
// info area) that holds its start address takes the whole record.
#include <span>
#include <string>

#include "images/ChipModel.h"
#include "base/Operator.h"

namespace qx {

enum class RecordWindow : u8 { Option, Main, Eep, Info, None };

struct RecordTarget {
  RecordWindow Window = RecordWindow::None;
  // The image from the record's index to the image end; empty when the index lies past it.
  std::span<u8> Dest;
};

RecordTarget FindRecordTarget(ChipModel& model, u32 address);

// Stores data at the target; bytes that would pass the image end are dropped.
void StoreRecord(const RecordTarget& target, std::span<const u8> data);

// Running state of one file's data records.
struct ObjectRange {
  u32 Minimum = 0xFFFFFFFF;
  u32 Maximum = 0;
  u32 Sum = 0;
  u32 StoredRecords = 0;  // records that put at least one byte into a window
};

// A sound data record of at least one byte into the window of its address, counted in
// range; LastLoadAddress follows a record of the main, data-flash or info window. Outside
// every window it is reported to op and nothing is stored (RecordWindow::None).
RecordWindow PlaceRecord(ChipModel& model, u32 address, std::span<const u8> data, ObjectRange& range, MessageBoxes& op);

// "Address ... is out of Chip!" to the operator.
void ReportOutOfChip(MessageBoxes& op, u32 address);
// The per-line OK/Abort box; true when the operator chose Abort.
bool AskLineError(MessageBoxes& op, int lineNumber, u8 code);

}  // namespace qx
