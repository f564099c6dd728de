// What the program knows of the TOSHIBA chips: the fields of a maker module
// (chips/MakerModule.h).
#include <string_view>

#include "chips/FamilySetup.h"
#include "chips/FamilySetupParts.h"
#include "chips/FamilyTableParts.h"
#include "chips/MakerModule.h"
#include "texts/TextId.h"

namespace qx {
namespace {

using F = ChipField;
using rules::SizeByCharacter;
using rules::Concat;
using rules::SizeByPrefix;
using setup::WithOptions;
using setup::kNoOptionsNoChipInfo;

constexpr std::string_view kModels[] = {
    "TMPM370FYDFG",  "TMPM370FYFG",   "TMPM372FWUG",  "TMPM373FWDUG", "TMPM374FWUG",  "TMPM380FWFG",
    "TMPM380FYFG",   "TMPM380FWDFG",  "TMPM380FYDFG", "TMPM4KNFYADFG", "TMPM4KNFWADFG", "TMPM4KNFYAFG",
    "TMPM4KNFWAFG",  "TMPM4KMFYAFG",  "TMPM4KMFWAFG", "TMPM4KLFYAUG", "TMPM4KLFWAUG", "TMPM4KLFYAFG",
    "TMPM4KLFWAFG",  "TMPM4KHFYAUG",  "TMPM4KHFWAUG",
};

FamilyRules Rules() {
  FamilyRules r;
  r.values = {Put(F::FamilyCode, 0x40), Put(F::Subtype, 0),        Put(F::PowerFlags, 0x01),
              Put(F::MainFlashStart, 0), Put(F::MainPageSize, 1024), Put(F::EepPageSize, 256),
              Put(F::EepStart, 0x30000000), Put(F::EepSize, 0)};
  const std::vector<FieldValue> m4k = {Put(F::Subtype, 0x20), Put(F::EraseFlags, 0x10), Put(F::MainPageSize, 4096),
                                       Put(F::EepSize, 0x8000)};
  // A TMPM4K name without a known size letter gets the family's smaller size.
  const DecisionTable byPrefix = SizeByPrefix({{"TMPM370", 0x40000},
                                               {"TMPM372", 0x20000},
                                               {"TMPM373", 0x20000},
                                               {"TMPM374", 0x20000},
                                               {"TMPM380FW", 0x20000},
                                               {"TMPM380FY", 0x40000}},
                                              0x20000);
  r.tables.push_back(Concat({
      DecisionTable(byPrefix.begin(), byPrefix.end() - 1),
      SizeByCharacter(9, {{'Y', 0x40000}, {'W', 0x20000}}, 0x20000, {BeginsWith("TMPM4K")}, m4k),
      DecisionTable(byPrefix.end() - 1, byPrefix.end()),
  }));
  r.option = OptionDefault::Cleared;
  return r;
}

constexpr DriverFileRow kDriverFiles[] = {
    {"TMPM37", "DRVTMPM370X"}, {"TMPM38", "DRVTMPM370X"}, {"TMPM4K", "DRVTMPMTXZP"},
};

}  // namespace

WindowChanges SetupUiToshiba(const ChipModel& model) { return WithOptions(model, kNoOptionsNoChipInfo); }

extern const MakerModule ToshibaMaker;
constinit const MakerModule ToshibaMaker = {
    .maker = Maker::Toshiba,
    .name = TextId::MakerNameToshiba,
    .models = kModels,
    .rules = Rules,
    .windowSetup = SetupUiToshiba,
    .differs = kNoMakerDifferences,
    .requests = kPlainFamilyRequests,
    .driverFiles = kDriverFiles,
};

}  // namespace qx
