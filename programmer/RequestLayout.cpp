#include "programmer/RequestLayout.h"

#include <algorithm>
#include <array>

#include "chips/FamilyRequests.h"
#include "programmer/DriverSegments.h"
#include "programmer/UnitStep.h"

namespace qx {
namespace {

// Packet offsets of the segments.
constexpr u16 ChipCmdStepSegAt = 88;
constexpr u16 ChipCmdCommonSegAt = 1112;
constexpr u16 ProgramStepSegAt = 4184;
constexpr u16 ProgramCommonSegAt = 4440;
constexpr u16 WriteOptionStepSegAt = 1112;

struct StepRow {
  u8 Step;
  DriverRequest Request;
  u16 EntryAt;  // 0: the step's request carries no step segment
};

constexpr std::array<StepRow, 14> StepRows = {{
    {StepDownloadChipData, DriverRequest::Download, 0},
    {StepDownloadDriver, DriverRequest::Download, 0},
    {StepBlankCheck, DriverRequest::ChipCommand, SegBlankCheckAt},
    {StepErase, DriverRequest::ChipCommand, SegEraseAt},
    {StepReadChecksum, DriverRequest::ChipCommand, SegReadChecksumAt},
    {StepReadOption, DriverRequest::ChipCommand, 0},
    {StepVerifyMain, DriverRequest::ChipCommand, 0},
    {StepVerifyEep, DriverRequest::ChipCommand, 0},
    {StepReadMain, DriverRequest::ChipCommand, 0},
    {StepReadEep, DriverRequest::ChipCommand, 0},
    {StepReadChipInfo, DriverRequest::ChipCommand, 0},
    {StepProgramMain, DriverRequest::ProgramBlock, SegProgramAt},
    {StepProgramEep, DriverRequest::ProgramBlock, SegProgramAt},
    {StepWriteOption, DriverRequest::WriteOption, SegWriteOptionAt},
}};

const StepRow* RowOf(u8 stepState) {
  for (const StepRow& row : StepRows) {
    if (row.Step == stepState) return &row;
  }
  return nullptr;
}

}  // namespace

DriverRequest StepRequest(u8 stepState) {
  const StepRow* row = RowOf(stepState);
  return row ? row->Request : DriverRequest::None;
}

u16 StepSegmentEntry(u8 stepState) {
  const StepRow* row = RowOf(stepState);
  return row ? row->EntryAt : 0;
}

SegmentPlacement DriverSegmentPlacement(DriverRequest request, u8 familyCode) {
  const FamilyRequests family = RequestsOfFamily(familyCode);
  switch (request) {
    case DriverRequest::ChipCommand:
      return {ChipCmdStepSegAt, family.commonInChipCommands ? ChipCmdCommonSegAt : u16{0}};
    case DriverRequest::ProgramBlock:
      return {ProgramStepSegAt, family.commonInProgramBlocks ? ProgramCommonSegAt : u16{0}};
    case DriverRequest::WriteOption: return {WriteOptionStepSegAt, 0};
    case DriverRequest::None:
    case DriverRequest::Download: break;
  }
  return {};
}

bool StepCarriesDriver(u8 stepState, u8 familyCode) {
  const DriverRequest request = StepRequest(stepState);
  if (request == DriverRequest::Download) return true;
  return StepSegmentEntry(stepState) != 0 || DriverSegmentPlacement(request, familyCode).CommonAt != 0;
}

u16 FurthestSegmentDestination(u16 entryAt, u8 familyCode) {
  u16 furthest = 0;
  for (const StepRow& row : StepRows) {
    if (row.EntryAt == entryAt) furthest = std::max(furthest, DriverSegmentPlacement(row.Request, familyCode).StepAt);
  }
  if (entryAt == SegCommonAt) {
    for (const DriverRequest request : {DriverRequest::ChipCommand, DriverRequest::ProgramBlock}) {
      furthest = std::max(furthest, DriverSegmentPlacement(request, familyCode).CommonAt);
    }
  }
  return furthest;
}

u16 StepSegmentRoom(u16 entryAt, u8 familyCode) {
  u16 room = 0xFFFF;
  for (const StepRow& row : StepRows) {
    if (row.EntryAt != entryAt) continue;
    const SegmentPlacement at = DriverSegmentPlacement(row.Request, familyCode);
    if (at.CommonAt != 0) room = std::min(room, static_cast<u16>(at.CommonAt - at.StepAt));
  }
  return room;
}

bool FamilyWritesLongOption(u8 familyCode) { return bool(RequestsOfFamily(familyCode).longOptionWrite); }

}  // namespace qx
