// What the program knows of the Indie chips: the fields of a maker module
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
using setup::kNoOptions;

constexpr std::string_view kModels[] = {"IND83204xx", "IND83205xx", "IND83209xx", "IND83212xx", "IND86201xx"};

FamilyRules Rules() {
  FamilyRules r;
  r.values = {Put(F::FamilyCode, 0x01), Put(F::PowerFlags, 0x80), Put(F::MainFlashStart, 0),
              Put(F::MainPageSize, 512), Put(F::EepPageSize, 512), Put(F::EepSize, 0)};
  r.tables.push_back({
      {{BeginsWith("IND832")},
       {PutListPosition(F::Subtype), Put(F::MainFlashSize, 0x10000), Put(F::InterfaceFlags, 0x80),
        Put(F::ResetFlags, 0x40)}},
      {{},
       {Put(F::Subtype, 16), Put(F::MainFlashSize, 0x27F00), Put(F::InterfaceFlags, 0x82),
        Put(F::ResetFlags, 0)}},
  });
  r.option = OptionDefault::Cleared;
  return r;
}

constexpr DriverFileRow kDriverFiles[] = {
    {"IND832", "FDrvIndieA"}, {"IND862", "FDrvIND862xX"},
};

}  // namespace

WindowChanges SetupUiIndie(const ChipModel& model) { return WithOptions(model, kNoOptions); }

extern const MakerModule IndieMaker;
constinit const MakerModule IndieMaker = {
    .maker = Maker::Indie,
    .name = TextId::MakerNameIndie,
    .models = kModels,
    .rules = Rules,
    .windowSetup = SetupUiIndie,
    .differs = kNoMakerDifferences,
    .requests = kPlainFamilyRequests,
    .driverFiles = kDriverFiles,
};

}  // namespace qx
