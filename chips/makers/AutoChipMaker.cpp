// What the program knows of the AutoChip chips: the fields of a maker module
// (chips/MakerModule.h).
#include <span>
#include <string_view>

#include "chips/FamilySetup.h"
#include "chips/FamilySetupParts.h"
#include "chips/FamilyTableParts.h"
#include "chips/MakerModule.h"
#include "chips/OptionListings.h"
#include "chips/ReadOptionListings.h"
#include "texts/TextId.h"

namespace qx {
namespace {

using F = ChipField;
using rules::SizeByCharacter;
using rules::Concat;
using setup::WithOptions;
using setup::OptionControls;

constexpr std::string_view kModels[] = {
    "AC78010xAxx", "AC78010xBxx", "AC78010xCxx", "AC78012xAxx", "AC78012xBxx", "AC78012xCxx",
    "AC78012xDxx", "AC78013xAxx", "AC78013xBxx", "AC78013xCxx", "AC78013xDxx", "AC78016xAxx",
    "AC78016xBxx", "AC78016xCxx", "AC78016xDxx", "AC7811JBxx",  "AC7811MBxx",  "AC7811OBxx",
    "AC7811QBxx",  "AC7811JJxx",  "AC7811MJxx",  "AC7811OJxx",  "AC7811QJxx",  "AC7813JBxx",
    "AC7813MBxx",  "AC7813OBxx",  "AC7813QBxx",  "AC7815JBxx",  "AC7815MBxx",  "AC7815OBxx",
    "AC7815QBxx",  "AC78406xFxx", "AC78406xGxx", "AC78407xFxx", "AC78407xGxx", "AC78408xFxx",
    "AC78408xGxx", "AC78409xFxx", "AC78409xGxx",
};

FamilyRules Rules() {
  FamilyRules r;
  r.values = {Put(F::FamilyCode, 0x00), Put(F::PowerFlags, 0x81)};
  r.tables.push_back(Concat({
      SizeByCharacter(9, {{'A', 0x4000}, {'B', 0x8000}, {'C', 0x10000}, {'D', 0x20000}}, 0x20000,
                      {BeginsWith("AC7801")}, {Put(F::Subtype, 0)}),
      SizeByCharacter(7, {{'J', 0x8000}, {'M', 0x10000}, {'O', 0x20000}, {'Q', 0x40000}}, 0x40000,
                      {BeginsWith("AC781")}, {Put(F::Subtype, 1)}),
      SizeByCharacter(9, {{'D', 0x20000}, {'E', 0x40000}, {'F', 0x80000}, {'G', 0x100000}}, 0x80000,
                      {BeginsWith("AC7840")}, {Put(F::Subtype, 16)}),
      DecisionTable{{{}, {Put(F::ChipSelected, 0)}}},
  }));
  // The layout follows the subtype in force after the name test.
  r.tables.push_back({
      {{SubtypeBelow(16)},
       {Put(F::OptionCode, 8), Put(F::MainFlashStart, 0x08000000), Put(F::MainPageSize, 2048),
        Put(F::EepPageSize, 1024), Put(F::EepSize, 0)}},
      {{},
       {Put(F::OptionCode, 0xFF), Put(F::MainFlashStart, 0x00000000), Put(F::MainPageSize, 2048),
        Put(F::EepPageSize, 2048), Put(F::EepStart, 0x01000000), Put(F::EepSize, 0x20000),
        Put(F::OptionStart, 0x00200000), Put(F::OptionEnd, 0x00200FFF)}},
  });
  r.option = OptionDefault::AC78x;
  return r;
}

constexpr OptionControls kAC78xOptions{true, true, false, true, true, true, true, setup::kLeave};

constexpr DriverFileRow kDriverFiles[] = {
    {"AC7840", "FDrvAC784X"}, {"AC78", "FDrvAC78X"},
};

}  // namespace

WindowChanges SetupUiAC78x(const ChipModel& model) { return WithOptions(model, kAC78xOptions); }

extern const MakerModule AutoChipMaker;
constinit const MakerModule AutoChipMaker = {
    .maker = Maker::AutoChip,
    .name = TextId::MakerNameAutoChip,
    .models = kModels,
    .rules = Rules,
    .windowSetup = SetupUiAC78x,
    .differs = {.interfaceGroup = false,
                .customerInfoPage = false,
                .readProtectBox = false,
                .objectCrc32 = false,
                .optionListingBeforeStart = true},
    .requests = {.commonInChipCommands = true, .commonInProgramBlocks = false, .longOptionWrite = false},
    // The AC7840x parts (subtype 16) have a dialog of their own.
    .optionDialog = {OptionDialog::AC78xOptB, 16, OptionDialog::AC784xOpb},
    .currentOptionListing = ShowCurrentOptionAC78x,
    .readOptionListing =
        [](MessageLog& log, const ChipModel& model, u8 unit, std::span<const u8> payload) {
          ShowReadOptionAC78x(log, model.Params, unit, payload);
        },
    .driverFiles = kDriverFiles,
};

}  // namespace qx
