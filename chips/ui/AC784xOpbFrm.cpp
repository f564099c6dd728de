#include "chips/ui/AC784xOpbFrm.h"

#include "chips/ui/FieldErrorBox.h"
#include "chips/ui/QtText.h"
#include "ui_AC784xOpbFrm.h"

namespace qx {

TAC784xOpbFrm::TAC784xOpbFrm(ChipModel& model, Operator& op, QWidget* parent)
    : QDialog(parent), model_(model), op_(op), ui_(std::make_unique<Ui::TAC784xOpbFrm>()) {
  ui_->setupUi(this);
  ui_->ChkBoxROP4X->setText(QText(TextId::AC784xRopBox));
  ui_->Label3->setText(Q(Tx(TextId::AC784xPwrpLabel, 0, 15)));
  ui_->Label4->setText(Q(Tx(TextId::AC784xPwrpLabel, 16, 31)));
  ui_->Label5->setText(QText(TextId::AC784xDwrpLabel));
  ui_->BitBtnOK->setText(QText(TextId::ButtonOk));
  ui_->BitBtnNG->setText(QText(TextId::ButtonCancel));
  connect(ui_->BitBtnOK, &QPushButton::clicked, this, [this] { BitBtnOKClick(); });
  connect(ui_->BitBtnNG, &QPushButton::clicked, this, &QDialog::reject);
}

TAC784xOpbFrm::~TAC784xOpbFrm() = default;

void TAC784xOpbFrm::showEvent(QShowEvent* event) {
  FormShow();
  QDialog::showEvent(event);
}

void TAC784xOpbFrm::FormShow() {
  setWindowTitle(Q(Tx(TextId::OptWizardCaption, model_.ChipName)));
  SetControls(AC784xControlsFromImage(model_));
}

AC784xOptionControls TAC784xOpbFrm::Controls() const {
  AC784xOptionControls c;
  c.ReadProtect = ui_->ChkBoxROP4X->isChecked();
  c.Fields = {S(ui_->EditPWRP1->text()), S(ui_->EditPWRP2->text()), S(ui_->EditDWRP->text())};
  return c;
}

void TAC784xOpbFrm::SetControls(const AC784xOptionControls& c) {
  ui_->ChkBoxROP4X->setChecked(c.ReadProtect);
  ui_->EditPWRP1->setText(Q(c.Fields[0]));
  ui_->EditPWRP2->setText(Q(c.Fields[1]));
  ui_->EditDWRP->setText(Q(c.Fields[2]));
}

void TAC784xOpbFrm::BitBtnOKClick() {
  if (const auto error = WriteAC784xOptions(Controls(), model_)) {
    ShowFieldError(op_, *error, {ui_->EditPWRP1, ui_->EditPWRP2, ui_->EditDWRP});
    return;
  }
  accept();
}

}  // namespace qx
