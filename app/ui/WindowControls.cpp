#include "app/ui/WindowControls.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QSpinBox>
#include <stdexcept>

#include "app/ui/QtText.h"
#include "app/ui/RadioGroup.h"

namespace qx {
namespace {

// A missing control is a fault of the form, not of the operator's input.
template <class T>
T& Control(const QWidget& window, const char* name) {
  T* found = window.findChild<T*>(QString::fromLatin1(name));
  if (found == nullptr) throw std::logic_error(std::string("the main window has no control ") + name);
  return *found;
}

bool Checked(const QWidget& w, const char* name) { return Control<QCheckBox>(w, name).isChecked(); }
int Index(const QWidget& w, const char* name) { return Control<TRadioGroup>(w, name).ItemIndex(); }
int Value(const QWidget& w, const char* name) { return Control<QSpinBox>(w, name).value(); }
std::string TextOf(const QWidget& w, const char* name) { return Control<QLineEdit>(w, name).text().toStdString(); }

void SetChecked(QWidget& w, const char* name, bool on) { Control<QCheckBox>(w, name).setChecked(on); }
void SetIndex(QWidget& w, const char* name, int index) { Control<TRadioGroup>(w, name).SetItemIndex(index); }
void SetValue(QWidget& w, const char* name, int value) { Control<QSpinBox>(w, name).setValue(value); }
void SetText(QWidget& w, const char* name, const std::string& text) {
  Control<QLineEdit>(w, name).setText(QtText(text));
}

}  // namespace

ProgramControls ReadProgramControls(const QWidget& w) {
  ProgramControls c;
  c.RadioGroupPIF = Index(w, "RadioGroupPIF");
  c.RadioGpVolt = Index(w, "RadioGpVolt");
  c.RadioGrpSpdF = Index(w, "RadioGrpSpdF");
  c.CheckBoxOpt = Checked(w, "CheckBoxOpt");
  c.ChkBoxRDP = Checked(w, "ChkBoxRDP");
  c.ChkBoxErsEEP = Checked(w, "ChkBoxErsEEP");
  c.ChkBoxPrgEEP = Checked(w, "ChkBoxPrgEEP");
  c.RadioGrpRST = Index(w, "RadioGrpRST");
  c.ChkBoxBlkEr = Checked(w, "ChkBoxBlkEr");
  c.ChkBoxAuto = Checked(w, "ChkBoxAuto");
  c.CheckBoxCtrl = Checked(w, "CheckBoxCtrl");
  c.ChkBoxVDD = Checked(w, "ChkBoxVDD");
  c.CheckBoxRun = Checked(w, "CheckBoxRun");
  c.ChkBoxCpErsM = Checked(w, "ChkBoxCpErsM");
  c.ChkBoxRunSHT = Checked(w, "ChkBoxRunSHT");
  c.SpinEditNum = Value(w, "SpinEditNum");
  c.SpinEditIn = Value(w, "SpinEditIn");
  c.SpinEditOut = Value(w, "SpinEditOut");
  c.SpinEditVddTim = Value(w, "SpinEditVddTim");
  c.SpinEditPWDTim = Value(w, "SpinEditPWDTim");
  c.SpinEditRTM = Value(w, "SpinEditRTM");
  c.EditDevAdr = TextOf(w, "EditDevAdr");
  c.CheckBoxSN = Checked(w, "CheckBoxSN");
  c.SNOrderChk = Checked(w, "SNOrderChk");
  c.SNEdit1 = TextOf(w, "SNEdit1");
  c.GainEdit = TextOf(w, "GainEdit");
  c.AddrEdit = TextOf(w, "AddrEdit");
  c.ChkBoxPCSN = Checked(w, "ChkBoxPCSN");
  c.ChkBoxSNDP = Checked(w, "ChkBoxSNDP");
  return c;
}

void ShowProgramControls(QWidget& w, const ProgramControls& c) {
  SetIndex(w, "RadioGroupPIF", c.RadioGroupPIF);
  SetIndex(w, "RadioGpVolt", c.RadioGpVolt);
  SetIndex(w, "RadioGrpSpdF", c.RadioGrpSpdF);
  SetChecked(w, "CheckBoxOpt", c.CheckBoxOpt);
  SetChecked(w, "ChkBoxRDP", c.ChkBoxRDP);
  SetChecked(w, "ChkBoxErsEEP", c.ChkBoxErsEEP);
  SetChecked(w, "ChkBoxPrgEEP", c.ChkBoxPrgEEP);
  SetIndex(w, "RadioGrpRST", c.RadioGrpRST);
  SetChecked(w, "ChkBoxBlkEr", c.ChkBoxBlkEr);
  SetChecked(w, "ChkBoxAuto", c.ChkBoxAuto);
  SetChecked(w, "CheckBoxCtrl", c.CheckBoxCtrl);
  SetChecked(w, "ChkBoxVDD", c.ChkBoxVDD);
  SetChecked(w, "CheckBoxRun", c.CheckBoxRun);
  SetChecked(w, "ChkBoxCpErsM", c.ChkBoxCpErsM);
  SetChecked(w, "ChkBoxRunSHT", c.ChkBoxRunSHT);
  SetValue(w, "SpinEditNum", c.SpinEditNum);
  SetValue(w, "SpinEditIn", c.SpinEditIn);
  SetValue(w, "SpinEditOut", c.SpinEditOut);
  SetValue(w, "SpinEditVddTim", c.SpinEditVddTim);
  SetValue(w, "SpinEditPWDTim", c.SpinEditPWDTim);
  SetValue(w, "SpinEditRTM", c.SpinEditRTM);
  SetText(w, "EditDevAdr", c.EditDevAdr);
  SetChecked(w, "CheckBoxSN", c.CheckBoxSN);
  SetChecked(w, "SNOrderChk", c.SNOrderChk);
  SetText(w, "SNEdit1", c.SNEdit1);
  SetText(w, "GainEdit", c.GainEdit);
  SetText(w, "AddrEdit", c.AddrEdit);
  SetChecked(w, "ChkBoxPCSN", c.ChkBoxPCSN);
  SetChecked(w, "ChkBoxSNDP", c.ChkBoxSNDP);
}

CustomerInfoControls ReadCustomerInfoControls(const QWidget& w) {
  CustomerInfoControls c;
  c.EditSumy = TextOf(w, "EditSumy");
  c.EditBTAS = TextOf(w, "EditBTAS");
  c.EditBTAE = TextOf(w, "EditBTAE");
  c.EditAPAS = TextOf(w, "EditAPAS");
  c.EditAPAE = TextOf(w, "EditAPAE");
  c.EditBTVER = TextOf(w, "EditBTVER");
  c.EditBTFS = TextOf(w, "EditBTFS");
  c.EditAPVER = TextOf(w, "EditAPVER");
  c.EditAPFS = TextOf(w, "EditAPFS");
  c.EditPOLY = TextOf(w, "EditPOLY");
  c.EditINIV = TextOf(w, "EditINIV");
  c.EditXORV = TextOf(w, "EditXORV");
  c.ChkBoxREFIN = Checked(w, "ChkBoxREFIN");
  c.ChkBoxREFOU = Checked(w, "ChkBoxREFOU");
  c.ChkBoxPrgInf = Checked(w, "ChkBoxPrgInf");
  return c;
}

}  // namespace qx
