#pragma once
// Which requests carry flash-driver segments, and where, by the unit's step and the chip
// family (the family's own requests: chips/FamilyRequests.h); and whether the family's option
// write is long. The builders, the driver check and the refusal of a step without a driver
// all read these.
#include "base/Types.h"

namespace qx {

// The requests that carry driver bytes.
enum class DriverRequest : u8 {
  None,
  Download,      // a step of the download chain, which sends the driver block
  ChipCommand,   // SendChipCommand (0x93, 0x9B, 0x9D)
  ProgramBlock,  // SendProgramMainBlockCmd, SendProgramEepBlockCmd
  WriteOption,   // SendWriteOptionCmd
};

// Packet offsets of a request's segments; CommonAt 0: no common segment. Where a common
// segment follows, the step segment's room ends where it begins.
struct SegmentPlacement {
  u16 StepAt = 0;
  u16 CommonAt = 0;
};

// The request the step sends.
DriverRequest StepRequest(u8 stepState);
// The segment-table entry of the step; 0 for a step that carries none.
u16 StepSegmentEntry(u8 stepState);
// StepAt 0 for a request without segments.
SegmentPlacement DriverSegmentPlacement(DriverRequest request, u8 familyCode);

// Whether the request of a step carries bytes of the driver for a chip of familyCode: a step
// with a segment entry, a request with the family's common segment, and the download.
bool StepCarriesDriver(u8 stepState, u8 familyCode);

// The furthest packet offset any request of familyCode copies the segment of entryAt to; 0
// when none does.
u16 FurthestSegmentDestination(u16 entryAt, u8 familyCode);

// The most bytes the segment of entryAt may hold as a step segment with a common segment
// behind it, in any request of familyCode; 0xFFFF when no common segment follows it.
u16 StepSegmentRoom(u16 entryAt, u8 familyCode);

// Without a driver, the option write of this family carries 4096 option bytes, not 1024.
bool FamilyWritesLongOption(u8 familyCode);

}  // namespace qx
