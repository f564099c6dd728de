// What the program knows of the SONIX chips: the fields of a maker module
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
using rules::SizeByPrefix;
using setup::WithOptions;
using setup::OptionControls;

constexpr std::string_view kModels[] = {
    "SN32F774xx",  "SN32F7741xx", "SN32F773xx",  "SN32F755JG",   "SN32F756JG",
    "SN32F757FG",  "SN32F765JG",  "SN32F766JG",  "SN32F767FG",   "SN32F766BJG",
    "SN32F767BJG", "SN32F768BJG", "SN32F7651BJG", "SN32F7652BJG", "SN32F7661BJG",
};

FamilyRules Rules() {
  FamilyRules r;
  r.values = {Put(F::FamilyCode, 0x02), Put(F::Subtype, 0),      Put(F::PowerFlags, 0x00),
              Put(F::BlankIsZero, 1),   Put(F::MainFlashStart, 0), Put(F::MainPageSize, 64),
              Put(F::EepPageSize, 64),  Put(F::EepStart, 0x1FFF0000), Put(F::EepSize, 0)};
  r.tables.push_back(SizeByPrefix({{"SN32F774", 0x8000},
                                   {"SN32F773", 0x8000},
                                   {"SN32F70", 0x8000},
                                   {"SN32F80", 0x8000},
                                   {"SN32F24", 0x10000},
                                   {"SN32F26", 0x8000},
                                   {"SN32F75", 0x8000},
                                   {"SN32F76", 0x10000},
                                   {"SN32F78", 0x20000},
                                   {"SN32F79", 0x20000},
                                   {"SN32F28", 0x20000}},
                                  0x10000));
  r.option = OptionDefault::Cleared;
  r.keepsEmptyEepWindow = true;
  return r;
}

constexpr OptionControls kSonixOptions{false, false, false, false, false, false, true, setup::kHide};

constexpr DriverFileRow kDriverFiles[] = {
    {"SN32F75", "SNXF76XFDRV"}, {"SN32F76", "SNXF76XFDRV"}, {"SN32F77", "SNXF76XFDRV"},
};

}  // namespace

WindowChanges SetupUiSonix(const ChipModel& model) { return WithOptions(model, kSonixOptions); }

extern const MakerModule SonixMaker;
constinit const MakerModule SonixMaker = {
    .maker = Maker::Sonix,
    .name = TextId::MakerNameSonix,
    .models = kModels,
    .rules = Rules,
    .windowSetup = SetupUiSonix,
    .differs = kNoMakerDifferences,
    .requests = kPlainFamilyRequests,
    .driverFiles = kDriverFiles,
};

}  // namespace qx
