#include "chips/FamilySetupParts.h"

#include "chips/ControlChangeMaking.h"
#include "chips/MainWindowControls.h"
#include "texts/Texts.h"

namespace qx::setup {

using change::Named;
using change::Visible;

WindowChanges Begin(const ChipModel& model, bool voltageFromChip) {
  ControlChange volt = Named(ctl::RadioGpVolt);
  volt.ItemIndex = voltageFromChip ? (model.Control.PowerFlags & 1) : 0;
  volt.Enabled = true;
  // The settings collection reads the hidden field into DeviceAddress: it shows the chip's.
  ControlChange address = Visible(ctl::EditDevAdr, false);
  address.Text = Tx(TextId::ChipHexByte, model.DeviceAddress);
  return {volt, Visible(ctl::LabelDEVA, false), address};
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

}  // namespace qx::setup
