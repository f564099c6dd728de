#include "chips/ControlChangeMaking.h"
#include "chips/FamilySetup.h"
#include "chips/MainWindowControls.h"
#include "chips/MakerRegistry.h"
#include "texts/Texts.h"

namespace qx {

using change::Named;

namespace {

ControlChange Shown(std::string_view name) { return change::Visible(name, true); }

// The controls every family starts from; the family set-up then changes them.
void AddCommonDefaults(WindowChanges& w) {
  ControlChange rdp = Named(ctl::ChkBoxRDP);
  rdp.Visible = false;
  rdp.Checked = false;
  w.push_back(rdp);
  ControlChange button = Shown(ctl::BtnOptionCfg);
  button.Caption = TextId::SetupSetOptionByte;
  w.push_back(button);
  ControlChange box = Named(ctl::CheckBoxOpt);
  box.Enabled = true;
  box.Caption = TextId::SetupProgramOptionByte;
  w.push_back(box);
  for (const auto name : {ctl::AutoSpdBtn, ctl::SpdBtnErase, ctl::SpdBtnProg, ctl::SpdBtnDownLoad}) {
    w.push_back(Shown(name));
  }
  w.push_back(change::Enabled(ctl::Execute2, true));
}

void AddDataFlashControls(WindowChanges& w, bool hasDataFlash) {
  for (const auto name : {ctl::ChkBoxPrgEEP, ctl::ChkBoxErsEEP}) {
    ControlChange c = Named(name);
    c.Visible = hasDataFlash;
    if (!hasDataFlash) c.Checked = false;
    w.push_back(c);
  }
  for (const auto name : {ctl::TabSheetEEP, ctl::ReadEEPMemory1, ctl::LoadEepDataFile1, ctl::WriteEepDataMemory1,
                          ctl::SaveEepDatatoFile1}) {
    ControlChange c = Named(name);
    c.Visible = hasDataFlash;
    w.push_back(c);
  }
}

}  // namespace

WindowChanges ChipChosenChanges(const ChipModel& model) {
  const ChipParams& p = model.Params;
  WindowChanges w;
  AddCommonDefaults(w);

  ControlChange volt = Named(ctl::RadioGpVolt);
  volt.ItemIndex = model.Control.PowerFlags & 1;
  volt.Enabled = true;
  w.push_back(volt);

  AddDataFlashControls(w, p.EepSize > 0);

  // An index outside the known groups shows neither group's own controls.
  const MakerModule* maker = FindModule(p.ManufacturerIndex);
  ControlChange pif = Named(ctl::RadioGroupPIF);
  pif.Visible = maker != nullptr && bool(maker->differs.interfaceGroup);
  if (!*pif.Visible) pif.ItemIndex = 0;
  w.push_back(pif);

  const WindowChanges setup = SetupUiOfChip(model);
  w.insert(w.end(), setup.begin(), setup.end());

  ControlChange slg = Named(ctl::TabSheetSLG);
  slg.Visible = maker != nullptr && bool(maker->differs.customerInfoPage);
  w.push_back(slg);

  ControlChange info = Named(ctl::DpCpInfX);
  info.Text = p.EepSize > 0 ? Tx(TextId::ChipMainEepSizes, p.MainFlashSize, p.EepSize)
                            : Tx(TextId::ChipMainNoEep, p.MainFlashSize);
  w.push_back(info);
  return w;
}

}  // namespace qx
