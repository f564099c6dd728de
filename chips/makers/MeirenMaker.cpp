// What the program knows of the Shanghai Meiren chips: the fields of a maker module
// (chips/MakerModule.h).
#include <string_view>

#include "chips/ControlChangeMaking.h"
#include "chips/FamilySetup.h"
#include "chips/FamilySetupParts.h"
#include "chips/FamilyTableParts.h"
#include "chips/MainWindowControls.h"
#include "chips/MakerModule.h"
#include "texts/TextId.h"

namespace qx {
namespace {

using F = ChipField;
using rules::SizeByCharacter;
using setup::WithOptions;
using setup::kNoOptions;
using change::Named;

constexpr std::string_view kModels[] = {
    "MR88F005BI", "MR88F005CI", "MR88F005DI", "MR88F105BI", "MR88F105CI", "MR88F105DI", "MR88F205BI",
    "MR88F205CI", "MR88F205DI", "MR88F305BI", "MR88F305CI", "MR88F305DI", "MR88F505BI", "MR88F505CI",
    "MR88F505DI", "MR88F605BI", "MR88F605CI", "MR88F605DI", "MR88F705BI", "MR88F705CI", "MR88F705DI",
    "MR88F805BI", "MR88F805CI", "MR88F805DI", "MR88FD05BI", "MR88FD05CI", "MR88FD05DI", "MR88FE05BI",
    "MR88FE05CI", "MR88FE05DI", "MR88FF05BI", "MR88FF05CI", "MR88FF05DI", "MR88FG05BI", "MR88FG05CI",
    "MR88FG05DI", "MR88FH05BI", "MR88FH05CI", "MR88FH05DI", "MR88F002Bx", "MR88F002Cx", "MR88F102Cx",
    "MR88F202Cx", "MR88F302Cx", "MR88F502Cx", "MR88F602Cx", "MR88F702Cx", "MR88F802Cx", "MR88FA02Cx",
    "MR88FB02Cx", "MR88FC02Cx", "MR88FD02Cx", "MR88FE02Cx",
};

FamilyRules Rules() {
  FamilyRules r;
  r.values = {Put(F::FamilyCode, 0x04), Put(F::PowerFlags, 0x81),       Put(F::MainFlashStart, 0),
              Put(F::MainPageSize, 512), Put(F::EepPageSize, 512),       Put(F::EepStart, 0x1FFFE000),
              Put(F::EepSize, 0x1A00)};
  r.tables.push_back({
      {{CharacterIs(8, '5')}, {Put(F::Subtype, 0), Put(F::InterfaceFlags, 0x80)}},
      {{}, {Put(F::Subtype, 4), Put(F::InterfaceFlags, 0x81)}},
  });
  r.tables.push_back(SizeByCharacter(9, {{'B', 0x10000}, {'C', 0x20000}, {'D', 0x40000}}, 0x40000));
  r.option = OptionDefault::Cleared;
  return r;
}

constexpr DriverFileRow kDriverFiles[] = {
    {"MR88F", "FDrvMR88Fx5"},
};

}  // namespace

WindowChanges SetupUiMeiren(const ChipModel& model) {
  WindowChanges w = WithOptions(model, kNoOptions);
  ControlChange pif = Named(ctl::RadioGroupPIF);
  pif.Enabled = model.Params.Subtype == 0;
  pif.ItemIndex = model.Control.InterfaceFlags & 1;
  w.push_back(pif);
  return w;
}

extern const MakerModule MeirenMaker;
constinit const MakerModule MeirenMaker = {
    .maker = Maker::Meiren,
    .name = TextId::MakerNameMeiren,
    .models = kModels,
    .rules = Rules,
    .windowSetup = SetupUiMeiren,
    .differs = {.interfaceGroup = true,
                .customerInfoPage = false,
                .readProtectBox = false,
                .objectCrc32 = false,
                .optionListingBeforeStart = false},
    .requests = {.commonInChipCommands = true, .commonInProgramBlocks = true, .longOptionWrite = false},
    .driverFiles = kDriverFiles,
};

}  // namespace qx
