#include "chips/ui/AUCUxCfgForm.h"

#include "chips/ui/QtText.h"
#include "ui_AUCUxCfgForm.h"

namespace qx {

TAUCUxCfgForm::TAUCUxCfgForm(ChipModel& model, QWidget* parent)
    : QDialog(parent), model_(model), ui_(std::make_unique<Ui::TAUCUxCfgForm>()) {
  ui_->setupUi(this);
  setWindowTitle(QText(TextId::AucuCfgCaption));
  ui_->ChkBoxLFC->setText(QText(TextId::AucuLifeCycle));
  ui_->ChkBoxDnURT0->setText(Q(Tx(TextId::AucuDisableUart, 0)));
  ui_->ChkBoxDnURT1->setText(Q(Tx(TextId::AucuDisableUart, 1)));
  ui_->ChkBoxDnURT2->setText(Q(Tx(TextId::AucuDisableUart, 2)));
  ui_->ChkBoxDnJTAG->setText(QText(TextId::AucuDisableJtag));
  ui_->ChkBoxDnBOT->setText(QText(TextId::AucuDisableBoot));
  ui_->ChkBoxDnRGN1->setText(QText(TextId::AucuLockRgn1));
  ui_->BitBtn2->setText(QText(TextId::ButtonOk));
  ui_->BitBtn1->setText(QText(TextId::ButtonCancel));
  connect(ui_->BitBtn2, &QPushButton::clicked, this, [this] { BitBtn2Click(); });
  connect(ui_->BitBtn1, &QPushButton::clicked, this, &QDialog::reject);
}

TAUCUxCfgForm::~TAUCUxCfgForm() = default;

void TAUCUxCfgForm::showEvent(QShowEvent* event) {
  FormShow();
  QDialog::showEvent(event);
}

void TAUCUxCfgForm::FormShow() { SetControls(AucuControlsFromImage(model_)); }

AucuConfigControls TAUCUxCfgForm::Controls() const {
  AucuConfigControls c;
  c.LifeCycle = ui_->ChkBoxLFC->isChecked();
  c.NoUart0 = ui_->ChkBoxDnURT0->isChecked();
  c.NoUart1 = ui_->ChkBoxDnURT1->isChecked();
  c.NoUart2 = ui_->ChkBoxDnURT2->isChecked();
  c.NoJtag = ui_->ChkBoxDnJTAG->isChecked();
  c.NoUart0Boot = ui_->ChkBoxDnBOT->isChecked();
  c.LockRgn1 = ui_->ChkBoxDnRGN1->isChecked();
  return c;
}

void TAUCUxCfgForm::SetControls(const AucuConfigControls& c) {
  ui_->ChkBoxLFC->setChecked(c.LifeCycle);
  ui_->ChkBoxDnURT0->setChecked(c.NoUart0);
  ui_->ChkBoxDnURT1->setChecked(c.NoUart1);
  ui_->ChkBoxDnURT2->setChecked(c.NoUart2);
  ui_->ChkBoxDnJTAG->setChecked(c.NoJtag);
  ui_->ChkBoxDnBOT->setChecked(c.NoUart0Boot);
  ui_->ChkBoxDnRGN1->setChecked(c.LockRgn1);
}

void TAUCUxCfgForm::BitBtn2Click() {
  WriteAucuConfig(Controls(), model_);
  accept();
}

}  // namespace qx
