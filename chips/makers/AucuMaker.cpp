// What the program knows of the AUCU chips: the fields of a maker module
// (chips/MakerModule.h).
#include <span>
#include <string_view>

#include "chips/FamilySetup.h"
#include "chips/FamilySetupParts.h"
#include "chips/MakerModule.h"
#include "chips/OptionListings.h"
#include "chips/ReadOptionListings.h"
#include "texts/TextId.h"

namespace qx {
namespace {

using F = ChipField;
using setup::WithOptions;
using setup::OptionControls;

constexpr std::string_view kModels[] = {"AU301LDF51xx", "AU302NDF51xx", "AU302PDF51xx"};

FamilyRules Rules() {
  FamilyRules r;
  r.values = {Put(F::FamilyCode, 0x18),        Put(F::Subtype, 0),           Put(F::OptionCode, 0xFF),
              Put(F::InterfaceFlags, 0x08),    Put(F::PowerFlags, 0x81),     Put(F::EraseFlags, 0x80),
              Put(F::UseFlashDriver, 0),       Put(F::MainFlashStart, 0x03000000), Put(F::MainFlashSize, 0x8000),
              Put(F::MainPageSize, 512),       Put(F::EepPageSize, 512),     Put(F::EepStart, 0x03026000),
              Put(F::EepSize, 0x2000),         Put(F::OptionStart, 0x03802000), Put(F::OptionEnd, 0x03803FFF)};
  r.option = OptionDefault::Filled;
  return r;
}

constexpr OptionControls kAucuOptions{true, true, true, true, true, true, true, setup::kLeave};

}  // namespace

WindowChanges SetupUiAucu(const ChipModel& model) { return WithOptions(model, kAucuOptions); }

extern const MakerModule AucuMaker;
constinit const MakerModule AucuMaker = {
    .maker = Maker::Aucu,
    .name = TextId::MakerNameAucu,
    .models = kModels,
    .rules = Rules,
    .windowSetup = SetupUiAucu,
    .differs = {.interfaceGroup = false,
                .customerInfoPage = false,
                .readProtectBox = false,
                .objectCrc32 = true,
                .optionListingBeforeStart = false},
    .requests = {.commonInChipCommands = true, .commonInProgramBlocks = false, .longOptionWrite = false},
    .optionDialog = {OptionDialog::AucuCfg},
    .currentOptionListing = ShowCurrentOptionAucu,
    .readOptionListing =
        [](MessageLog& log, const ChipModel&, u8 unit, std::span<const u8> payload) {
          ShowReadOptionAucu(log, unit, payload);
        },
};

}  // namespace qx
