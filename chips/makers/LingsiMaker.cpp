// What the program knows of the Lingsi chips: the fields of a maker module
// (chips/MakerModule.h).
#include <string_view>

#include "chips/ControlChangeMaking.h"
#include "chips/FamilySetup.h"
#include "chips/FamilySetupParts.h"
#include "chips/MainWindowControls.h"
#include "chips/MakerModule.h"
#include "texts/TextId.h"

namespace qx {
namespace {

using F = ChipField;
using setup::Begin;
using setup::AddOptionControls;
using setup::kNoOptions;
using change::Visible;

constexpr std::string_view kModels[] = {
    "LE5010AI", "LE5010AIE", "LE5010AJ", "LE5010BI", "LE5010BIE", "LE5010BJ", "LE5010TI",
    "LE5010SI", "LE5110AI",  "LE5110AJ", "LE5110BI", "LE5110BJ",  "LE5110TI", "LE5110SI",
};

FamilyRules Rules() {
  FamilyRules r;
  r.values = {Put(F::FamilyCode, 0x01),    Put(F::Subtype, 0xFE),      Put(F::PowerFlags, 0x81),
              Put(F::ProgramFlags, 0x15),  Put(F::MainFlashStart, 0x18000000), Put(F::MainFlashSize, 0x80000),
              Put(F::MainPageSize, 512),   Put(F::EepPageSize, 512),   Put(F::EepSize, 0)};
  r.option = OptionDefault::Unchanged;
  return r;
}

constexpr DriverFileRow kDriverFiles[] = {
    {"LE501", "FDrvIndieA"}, {"LE511", "FDrvIndieA"},
};

}  // namespace

WindowChanges SetupUiLingsi(const ChipModel& model) {
  WindowChanges w = Begin(model, false);
  AddOptionControls(w, kNoOptions);
  // The window disables the menu's actions with it: their shortcuts would still work.
  w.push_back(change::Enabled(ctl::Execute2, false));
  for (const auto name : {ctl::SpdBtnErase, ctl::SpdBtnProg, ctl::AutoSpdBtn, ctl::SpdBtnWrtOPB, ctl::SpdBtnDownLoad}) {
    w.push_back(Visible(name, false));
  }
  return w;
}

extern const MakerModule LingsiMaker;
constinit const MakerModule LingsiMaker = {
    .maker = Maker::Lingsi,
    .name = TextId::MakerNameLingsi,
    .models = kModels,
    .rules = Rules,
    .windowSetup = SetupUiLingsi,
    .differs = kNoMakerDifferences,
    .requests = kPlainFamilyRequests,
    .driverFiles = kDriverFiles,
};

}  // namespace qx
