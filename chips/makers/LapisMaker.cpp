// What the program knows of the LAPIS chips: the fields of a maker module
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

constexpr std::string_view kModels[] = {"ML630Q464", "ML630Q466", "ML630Q448"};

FamilyRules Rules() {
  FamilyRules r;
  // The data-flash sector size is not the family's to choose; 0 keeps every command of a
  // LAPIS chip independent of the chip chosen before it.
  r.values = {Put(F::FamilyCode, 0x10), Put(F::PowerFlags, 0x00), Put(F::MainFlashStart, 0x10000000),
              Put(F::MainPageSize, 1024), Put(F::EepPageSize, 0), Put(F::EepStart, 0x18000000)};
  r.tables.push_back({
      {{Equals("ML630Q464")},
       {Put(F::MainFlashSize, 0x8000), Put(F::EepSize, 0x800), PutListPosition(F::Subtype)}},
      {{Equals("ML630Q466")},
       {Put(F::MainFlashSize, 0x10000), Put(F::EepSize, 0x800), PutListPosition(F::Subtype)}},
      {{Equals("ML630Q448")}, {Put(F::MainFlashSize, 0x80000), Put(F::EepSize, 0x2000), Put(F::Subtype, 16)}},
      {{}, {Put(F::MainFlashSize, 0x80000), Put(F::EepSize, 0x800), PutListPosition(F::Subtype)}},
  });
  r.option = OptionDefault::Cleared;
  return r;
}

constexpr DriverFileRow kDriverFiles[] = {
    {"ML630Q46", "FDrvML6xQ"}, {"ML630Q448", "FDrvMxQ448"},
};

}  // namespace

WindowChanges SetupUiLapis(const ChipModel& model) { return WithOptions(model, kNoOptionsNoChipInfo); }

extern const MakerModule LapisMaker;
constinit const MakerModule LapisMaker = {
    .maker = Maker::Lapis,
    .name = TextId::MakerNameLapis,
    .models = kModels,
    .rules = Rules,
    .windowSetup = SetupUiLapis,
    .differs = kNoMakerDifferences,
    .requests = kPlainFamilyRequests,
    .driverFiles = kDriverFiles,
};

}  // namespace qx
