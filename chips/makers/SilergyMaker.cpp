// What the program knows of the Silergy chips: the fields of a maker module
// (chips/MakerModule.h).
#include <span>
#include <string_view>

#include "chips/ControlChangeMaking.h"
#include "chips/FamilySetup.h"
#include "chips/FamilySetupParts.h"
#include "chips/FamilyTableParts.h"
#include "chips/MainWindowControls.h"
#include "chips/MakerModule.h"
#include "chips/ReadOptionListings.h"
#include "texts/TextId.h"

namespace qx {
namespace {

using F = ChipField;
using rules::SizeByCharacter;
using setup::WithOptions;
using setup::EditText;
using setup::OptionControls;
using change::Named;
using change::Visible;

constexpr std::string_view kModels[] = {"SA32B16xx", "SA32B14xx", "SA32B12xx"};

FamilyRules Rules() {
  FamilyRules r;
  r.values = {Put(F::FamilyCode, 0x14),   PutListPosition(F::Subtype), Put(F::OptionCode, 1),
              Put(F::PowerFlags, 0x81),   Put(F::MainFlashStart, 0),   Put(F::MainPageSize, 4096),
              Put(F::EepPageSize, 4096),  Put(F::EepStart, 0x20020000), Put(F::EepSize, 0x20000)};
  r.tables.push_back(SizeByCharacter(7, {{'6', 0x80000}, {'4', 0x40000}, {'2', 0x20000}}, 0x80000));
  r.option = OptionDefault::Cleared;
  return r;
}

constexpr OptionControls kSilergyOptions{
    false, false, false, true, true, true, true, setup::kHide, TextId::SetupChipConfiguration, TextId::SetupProgramInfoPage};

// End of the application part and index of the customer information block: the block
// fills the last 192 bytes of the main flash of each of these chips' sizes.
struct CustomerInfoLayout {
  u32 sizeAtMost;
  u32 blockAt;
};
constexpr CustomerInfoLayout kCustomerInfo[] = {{153599, 0x1FF40}, {0x40FFF, 0x3FF40}, {0xFFFFFFFF, 0x7FF40}};

constexpr DriverFileRow kDriverFiles[] = {
    {"SA32B1", "DRVSILRGY2X"},
};

}  // namespace

WindowChanges SetupUiSilergy(const ChipModel& model) {
  WindowChanges w = WithOptions(model, kSilergyOptions);
  ControlChange rdp = Visible(ctl::ChkBoxRDP, true);
  rdp.Checked = false;
  w.push_back(rdp);
  ControlChange page = Named(ctl::TabSheetSLG);
  page.Selected = true;
  w.push_back(page);
  w.push_back(EditText(ctl::EditBTAS, 0x0000));
  w.push_back(EditText(ctl::EditBTAE, 0x9FFF));
  w.push_back(EditText(ctl::EditAPAS, 0xA000));
  for (const auto& layout : kCustomerInfo) {
    if (model.Params.MainFlashSize <= layout.sizeAtMost) {
      w.push_back(EditText(ctl::EditSumy, layout.blockAt));
      w.push_back(EditText(ctl::EditAPAE, layout.blockAt - 1));
      break;
    }
  }
  return w;
}

extern const MakerModule SilergyMaker;
constinit const MakerModule SilergyMaker = {
    .maker = Maker::Silergy,
    .name = TextId::MakerNameSilergy,
    .models = kModels,
    .rules = Rules,
    .windowSetup = SetupUiSilergy,
    .differs = {.interfaceGroup = false,
                .customerInfoPage = true,
                .readProtectBox = true,
                .objectCrc32 = false,
                .optionListingBeforeStart = false},
    .requests = kPlainFamilyRequests,
    .optionDialog = {OptionDialog::SlgyCfg},
    .readOptionListing =
        [](MessageLog& log, const ChipModel&, u8 unit, std::span<const u8> payload) {
          ShowReadOptionSilergy(log, unit, payload);
        },
    .driverFiles = kDriverFiles,
};

}  // namespace qx
