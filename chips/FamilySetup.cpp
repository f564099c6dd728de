#include "chips/FamilySetup.h"

#include <optional>

#include "chips/ControlChangeMaking.h"
#include "chips/MainWindowControls.h"
#include "chips/Makers.h"
#include "texts/Texts.h"

namespace qx {

using change::Named;
using change::Visible;

namespace {

// Which option controls a family shows. The chip-information menu item is left as it is
// where the family says nothing about it.
struct OptionControls {
  bool optionButton;                 // BtnOptionCfg
  bool programOption;                // CheckBoxOpt shown
  bool programOptionTicked;          // and its check state; hidden means unticked
  bool writeButton;                  // SpdBtnWrtOPB
  bool readMenu;                     // ReadOptionByte1
  bool writeMenu;                    // WriteOptionByte1
  bool showMenu;                     // ShowChipOptionData1
  std::optional<bool> chipInfoMenu;  // ReadMG32xxChipID1
  std::optional<TextId> optionButtonCaption = std::nullopt;
  std::optional<TextId> programOptionCaption = std::nullopt;
};

constexpr std::optional<bool> kLeave = std::nullopt;
constexpr std::optional<bool> kHide = false;

constexpr OptionControls kAC78xOptions{true, true, false, true, true, true, true, kLeave};
constexpr OptionControls kAucuOptions{true, true, true, true, true, true, true, kLeave};
constexpr OptionControls kLcmpOptions{true, true, true, true, true, true, true, kHide};
constexpr OptionControls kNoOptions{false, false, false, false, false, false, false, kLeave};
constexpr OptionControls kNoOptionsNoChipInfo{false, false, false, false, false, false, false, kHide};
constexpr OptionControls kSonixOptions{false, false, false, false, false, false, true, kHide};
constexpr OptionControls kSilergyOptions{
    false, false, false, true, true, true, true, kHide, TextId::SetupChipConfiguration, TextId::SetupProgramInfoPage};

// Every set-up begins with the voltage group and hides the device address.
WindowChanges Begin(const ChipModel& model, bool voltageFromChip = true) {
  ControlChange volt = Named(ctl::RadioGpVolt);
  volt.ItemIndex = voltageFromChip ? (model.Control.PowerFlags & 1) : 0;
  volt.Enabled = true;
  return {volt, Visible(ctl::LabelDEVA, false), Visible(ctl::EditDevAdr, false)};
}

void AddOptionControls(WindowChanges& w, const OptionControls& o) {
  ControlChange button = Visible(ctl::BtnOptionCfg, o.optionButton);
  button.Caption = o.optionButtonCaption;
  w.push_back(button);
  ControlChange box = Visible(ctl::CheckBoxOpt, o.programOption);
  box.Checked = o.programOptionTicked;
  box.Caption = o.programOptionCaption;
  w.push_back(box);
  w.push_back(Visible(ctl::SpdBtnWrtOPB, o.writeButton));
  w.push_back(Visible(ctl::ReadOptionByte1, o.readMenu));
  w.push_back(Visible(ctl::WriteOptionByte1, o.writeMenu));
  w.push_back(Visible(ctl::ShowChipOptionData1, o.showMenu));
  if (o.chipInfoMenu) w.push_back(Visible(ctl::ReadMG32xxChipID1, *o.chipInfoMenu));
}

WindowChanges WithOptions(const ChipModel& model, const OptionControls& o) {
  WindowChanges w = Begin(model);
  AddOptionControls(w, o);
  return w;
}

ControlChange EditText(std::string_view name, u32 value) {
  ControlChange c = Named(name);
  c.Text = Tx(TextId::ChipHexNumber, value);
  return c;
}

// End of the application part and index of the customer information block: the block
// fills the last 192 bytes of the main flash of each of these chips' sizes.
struct CustomerInfoLayout {
  u32 sizeAtMost;
  u32 blockAt;
};
constexpr CustomerInfoLayout kCustomerInfo[] = {{153599, 0x1FF40}, {0x40FFF, 0x3FF40}, {0xFFFFFFFF, 0x7FF40}};

}  // namespace

WindowChanges SetupUiAC78x(const ChipModel& model) { return WithOptions(model, kAC78xOptions); }
WindowChanges SetupUiIndie(const ChipModel& model) { return WithOptions(model, kNoOptions); }
WindowChanges SetupUiLapis(const ChipModel& model) { return WithOptions(model, kNoOptionsNoChipInfo); }
WindowChanges SetupUiAucu(const ChipModel& model) { return WithOptions(model, kAucuOptions); }
WindowChanges SetupUiLcmp(const ChipModel& model) { return WithOptions(model, kLcmpOptions); }
WindowChanges SetupUiCmSemi(const ChipModel& model) { return WithOptions(model, kNoOptionsNoChipInfo); }
WindowChanges SetupUiSonix(const ChipModel& model) { return WithOptions(model, kSonixOptions); }
WindowChanges SetupUiSpintrol(const ChipModel& model) { return WithOptions(model, kNoOptionsNoChipInfo); }
WindowChanges SetupUiToshiba(const ChipModel& model) { return WithOptions(model, kNoOptionsNoChipInfo); }

WindowChanges SetupUiMeiren(const ChipModel& model) {
  WindowChanges w = WithOptions(model, kNoOptions);
  ControlChange pif = Named(ctl::RadioGroupPIF);
  pif.Enabled = model.Params.Subtype == 0;
  pif.ItemIndex = model.Control.InterfaceFlags & 1;
  w.push_back(pif);
  return w;
}

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

WindowChanges SetupUiOfChip(const ChipModel& model) {
  switch (MakerOf(model.Params.ManufacturerIndex)) {
    case Maker::AutoChip: return SetupUiAC78x(model);
    case Maker::Indie: return SetupUiIndie(model);
    case Maker::Lapis: return SetupUiLapis(model);
    case Maker::Aucu: return SetupUiAucu(model);
    case Maker::Meiren: return SetupUiMeiren(model);
    case Maker::Lcm: return SetupUiLcmp(model);
    case Maker::CmSemi: return SetupUiCmSemi(model);
    case Maker::Sonix: return SetupUiSonix(model);
    case Maker::Spintrol: return SetupUiSpintrol(model);
    case Maker::Lingsi: return SetupUiLingsi(model);
    case Maker::Toshiba: return SetupUiToshiba(model);
    case Maker::Silergy:
    case Maker::Tea: break;
  }
  return SetupUiSilergy(model);
}

}  // namespace qx
