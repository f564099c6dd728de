#include "app/ui/WindowControls.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QSpinBox>
#include <string>

#include "app/ui/QtText.h"
#include "app/ui/RadioGroup.h"
#include "ui_GenMFrmARM.h"

namespace qx {
namespace {

std::string TextOf(const QLineEdit* edit) { return edit->text().toStdString(); }

}  // namespace

ProgramControls ReadProgramControls(const TGenMFrmARM& window) {
  const Ui::GenMFrmARM& f = window.Form();
  ProgramControls c;
  c.RadioGroupPIF = f.RadioGroupPIF->ItemIndex();
  c.RadioGpVolt = f.RadioGpVolt->ItemIndex();
  c.RadioGrpSpdF = f.RadioGrpSpdF->ItemIndex();
  c.CheckBoxOpt = f.CheckBoxOpt->isChecked();
  c.ChkBoxRDP = f.ChkBoxRDP->isChecked();
  c.ChkBoxErsEEP = f.ChkBoxErsEEP->isChecked();
  c.ChkBoxPrgEEP = f.ChkBoxPrgEEP->isChecked();
  c.RadioGrpRST = f.RadioGrpRST->ItemIndex();
  c.ChkBoxBlkEr = f.ChkBoxBlkEr->isChecked();
  c.ChkBoxAuto = f.ChkBoxAuto->isChecked();
  c.CheckBoxCtrl = f.CheckBoxCtrl->isChecked();
  c.ChkBoxVDD = f.ChkBoxVDD->isChecked();
  c.CheckBoxRun = f.CheckBoxRun->isChecked();
  c.ChkBoxCpErsM = f.ChkBoxCpErsM->isChecked();
  c.ChkBoxRunSHT = f.ChkBoxRunSHT->isChecked();
  c.SpinEditNum = f.SpinEditNum->value();
  c.SpinEditIn = f.SpinEditIn->value();
  c.SpinEditOut = f.SpinEditOut->value();
  c.SpinEditVddTim = f.SpinEditVddTim->value();
  c.SpinEditPWDTim = f.SpinEditPWDTim->value();
  c.SpinEditRTM = f.SpinEditRTM->value();
  c.EditDevAdr = TextOf(f.EditDevAdr);
  c.CheckBoxSN = f.CheckBoxSN->isChecked();
  c.SNOrderChk = f.SNOrderChk->isChecked();
  c.SNEdit1 = TextOf(f.SNEdit1);
  c.GainEdit = TextOf(f.GainEdit);
  c.AddrEdit = TextOf(f.AddrEdit);
  c.ChkBoxPCSN = f.ChkBoxPCSN->isChecked();
  c.ChkBoxSNDP = f.ChkBoxSNDP->isChecked();
  return c;
}

void ShowProgramControls(TGenMFrmARM& window, const ProgramControls& c) {
  Ui::GenMFrmARM& f = window.Form();
  f.RadioGroupPIF->SetItemIndex(c.RadioGroupPIF);
  f.RadioGpVolt->SetItemIndex(c.RadioGpVolt);
  f.RadioGrpSpdF->SetItemIndex(c.RadioGrpSpdF);
  f.CheckBoxOpt->setChecked(c.CheckBoxOpt);
  f.ChkBoxRDP->setChecked(c.ChkBoxRDP);
  f.ChkBoxErsEEP->setChecked(c.ChkBoxErsEEP);
  f.ChkBoxPrgEEP->setChecked(c.ChkBoxPrgEEP);
  f.RadioGrpRST->SetItemIndex(c.RadioGrpRST);
  f.ChkBoxBlkEr->setChecked(c.ChkBoxBlkEr);
  f.ChkBoxAuto->setChecked(c.ChkBoxAuto);
  f.CheckBoxCtrl->setChecked(c.CheckBoxCtrl);
  f.ChkBoxVDD->setChecked(c.ChkBoxVDD);
  f.CheckBoxRun->setChecked(c.CheckBoxRun);
  f.ChkBoxCpErsM->setChecked(c.ChkBoxCpErsM);
  f.ChkBoxRunSHT->setChecked(c.ChkBoxRunSHT);
  f.SpinEditNum->setValue(c.SpinEditNum);
  f.SpinEditIn->setValue(c.SpinEditIn);
  f.SpinEditOut->setValue(c.SpinEditOut);
  f.SpinEditVddTim->setValue(c.SpinEditVddTim);
  f.SpinEditPWDTim->setValue(c.SpinEditPWDTim);
  f.SpinEditRTM->setValue(c.SpinEditRTM);
  f.EditDevAdr->setText(QtText(c.EditDevAdr));
  f.CheckBoxSN->setChecked(c.CheckBoxSN);
  f.SNOrderChk->setChecked(c.SNOrderChk);
  f.SNEdit1->setText(QtText(c.SNEdit1));
  f.GainEdit->setText(QtText(c.GainEdit));
  f.AddrEdit->setText(QtText(c.AddrEdit));
  f.ChkBoxPCSN->setChecked(c.ChkBoxPCSN);
  f.ChkBoxSNDP->setChecked(c.ChkBoxSNDP);
}

CustomerInfoControls ReadCustomerInfoControls(const TGenMFrmARM& window) {
  const Ui::GenMFrmARM& f = window.Form();
  CustomerInfoControls c;
  c.EditSumy = TextOf(f.EditSumy);
  c.EditBTAS = TextOf(f.EditBTAS);
  c.EditBTAE = TextOf(f.EditBTAE);
  c.EditAPAS = TextOf(f.EditAPAS);
  c.EditAPAE = TextOf(f.EditAPAE);
  c.EditBTVER = TextOf(f.EditBTVER);
  c.EditBTFS = TextOf(f.EditBTFS);
  c.EditAPVER = TextOf(f.EditAPVER);
  c.EditAPFS = TextOf(f.EditAPFS);
  c.EditPOLY = TextOf(f.EditPOLY);
  c.EditINIV = TextOf(f.EditINIV);
  c.EditXORV = TextOf(f.EditXORV);
  c.ChkBoxREFIN = f.ChkBoxREFIN->isChecked();
  c.ChkBoxREFOU = f.ChkBoxREFOU->isChecked();
  c.ChkBoxPrgInf = f.ChkBoxPrgInf->isChecked();
  return c;
}

}  // namespace qx
