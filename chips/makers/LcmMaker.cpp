// What the program knows of the LCM (Hangzhou) chips: the fields of a maker module
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
    "LCP037AKxxx",   "LCP037ATxxx",   "LCP037AHxxx",   "LCP037BxKxx",   "LCP037BTxxx",   "LCP037BHxxx",
    "LCP037CxKxx",   "LCP037CTxxx",   "LCP037CHxxx",   "LCM32F037K6xx", "LCM32F037H6xx", "LCM32F037C6xx",
    "LCM32F037R6xx", "LCM32F037K8xx", "LCM32F037H8xx", "LCM32F037C8xx", "LCM32F037R8xx",
};

FamilyRules Rules() {
  FamilyRules r;
  r.values = {Put(F::FamilyCode, 0x18),  Put(F::Subtype, 0),        Put(F::OptionCode, 0x0A),
              Put(F::PowerFlags, 0x81),  Put(F::ExtControl1, 1),    Put(F::MainFlashStart, 0x08000000),
              Put(F::MainPageSize, 512), Put(F::EepPageSize, 512),  Put(F::EepSize, 0),
              Put(F::OptionStart, 0x1FFFF600), Put(F::OptionEnd, 0x1FFFF7FF)};
  r.tables.push_back(Concat({
      DecisionTable{{{BeginsWith("LCP037")}, {Put(F::MainFlashSize, 0x8000)}}},
      SizeByCharacter(11, {{'4', 0x4000}, {'6', 0x8000}, {'8', 0x10000}}, 0x20000),
  }));
  r.option = OptionDefault::Lcmp;
  return r;
}

constexpr OptionControls kLcmpOptions{true, true, true, true, true, true, true, setup::kHide};

constexpr DriverFileRow kDriverFiles[] = {
    {"LCP037", "FDrvLCP0XAX"}, {"LCM32F0", "FDrvLCP0XAX"},
};

}  // namespace

WindowChanges SetupUiLcmp(const ChipModel& model) { return WithOptions(model, kLcmpOptions); }

extern const MakerModule LcmMaker;
constinit const MakerModule LcmMaker = {
    .maker = Maker::Lcm,
    .name = TextId::MakerNameLcm,
    .models = kModels,
    .rules = Rules,
    .windowSetup = SetupUiLcmp,
    .differs = kNoMakerDifferences,
    .requests = {.commonInChipCommands = true, .commonInProgramBlocks = false, .longOptionWrite = false},
    .optionDialog = {OptionDialog::LcmpOpt},
    .currentOptionListing = ShowCurrentOptionLcmp,
    .readOptionListing =
        [](MessageLog& log, const ChipModel&, u8 unit, std::span<const u8> payload) {
          ShowReadOptionLcmp(log, unit, payload);
        },
    .driverFiles = kDriverFiles,
};

}  // namespace qx
