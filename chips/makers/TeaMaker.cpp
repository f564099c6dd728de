// What the program knows of the TEA (Zhuhai) chips: the fields of a maker module
// (chips/MakerModule.h).
#include <string_view>

#include "chips/FamilySetup.h"
#include "chips/MakerModule.h"
#include "texts/TextId.h"

namespace qx {
namespace {

using F = ChipField;

constexpr std::string_view kModels[] = {"TEA32G5800TOD256", "TEA32G5800TLD256", "TEA32G5800TLF256", "TEA32G5800TLF256",
                                     "TEA32G5800TLI256"};

FamilyRules Rules() {
  FamilyRules r;
  r.values = {Put(F::FamilyCode, 0x12),   PutListPosition(F::Subtype), Put(F::OptionCode, 2),
              Put(F::PowerFlags, 0x81),   Put(F::ProtectBits, 0xAA),   Put(F::MainFlashStart, 0x08000000),
              Put(F::MainFlashSize, 0x40000), Put(F::MainPageSize, 4096), Put(F::EepPageSize, 512),
              Put(F::EepSize, 0)};
  r.option = OptionDefault::Cleared;
  return r;
}

constexpr DriverFileRow kDriverFiles[] = {
    {"TEA32G", "DRVTEA32G58X"},
};

}  // namespace

// TEA chips take the Silergy window set-up and have no option dialog.
extern const MakerModule TeaMaker;
constinit const MakerModule TeaMaker = {
    .maker = Maker::Tea,
    .name = TextId::MakerNameTea,
    .models = kModels,
    .rules = Rules,
    .windowSetup = SetupUiSilergy,
    .differs = kNoMakerDifferences,
    .requests = kPlainFamilyRequests,
    .driverFiles = kDriverFiles,
};

}  // namespace qx
