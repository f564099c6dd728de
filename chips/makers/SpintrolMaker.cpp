// What the program knows of the Spintrol chips: the fields of a maker module
// (chips/MakerModule.h).
#include <string_view>

#include "chips/FamilySetup.h"
#include "chips/FamilySetupParts.h"
#include "chips/MakerModule.h"
#include "texts/TextId.h"

namespace qx {
namespace {

using F = ChipField;
using setup::WithOptions;
using setup::kNoOptionsNoChipInfo;

constexpr std::string_view kModels[] = {
    "SPC1168xxx",   "SPC1169xxx",    "SPD1176API56",  "SPD1176ZAPW48", "SPD1176APW48",
    "SPD1179DPI56", "SPD1179XDPW48", "SPD1179YDPW48", "SPD1179ZDPW48", "SPD1179DPW48",
};

FamilyRules Rules() {
  FamilyRules r;
  r.values = {Put(F::FamilyCode, 0x20),   Put(F::Subtype, 0),          Put(F::PowerFlags, 0x01),
              Put(F::ResetFlags, 0x40),   Put(F::MainFlashStart, 0x10000000), Put(F::MainFlashSize, 0x20000),
              Put(F::MainPageSize, 4096), Put(F::EepPageSize, 4096),   Put(F::EepStart, 0x11002000),
              Put(F::EepSize, 0x3000)};
  r.option = OptionDefault::Filled;
  return r;
}

constexpr DriverFileRow kDriverFiles[] = {
    {"SPC1168", "SPD117FXDRV"}, {"SPC1169", "SPD117FXDRV"}, {"SPD1168", "SPD117FXDRV"},
    {"SPD1169", "SPD117FXDRV"}, {"SPD1176", "SPD117FXDRV"}, {"SPD1179", "SPD117FXDRV"},
};

}  // namespace

WindowChanges SetupUiSpintrol(const ChipModel& model) { return WithOptions(model, kNoOptionsNoChipInfo); }

extern const MakerModule SpintrolMaker;
constinit const MakerModule SpintrolMaker = {
    .maker = Maker::Spintrol,
    .name = TextId::MakerNameSpintrol,
    .models = kModels,
    .rules = Rules,
    .windowSetup = SetupUiSpintrol,
    .differs = kNoMakerDifferences,
    .requests = kPlainFamilyRequests,
    .optionDialog = {OptionDialog::Spd117xCfg},
    .driverFiles = kDriverFiles,
};

}  // namespace qx
