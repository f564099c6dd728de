#include "chips/ui/CfgSPD117xFRM.h"

#include "chips/ui/QtText.h"
#include "ui_CfgSPD117xFRM.h"

namespace qx {

TCfgSPD117xFRM::TCfgSPD117xFRM(ChipModel& model, QWidget* parent)
    : QDialog(parent), model_(model), ui_(std::make_unique<Ui::TCfgSPD117xFRM>()) {
  ui_->setupUi(this);
  setWindowTitle(QText(TextId::SpdCaption));
  ui_->ChkBoxLckCP->setText(QText(TextId::SpdLockDebug));
  ui_->ChkBoxEnWDT->setText(QText(TextId::SpdStartWatchdog));
  ui_->BitBtnOK->setText(QText(TextId::ButtonOk));
  connect(ui_->BitBtnOK, &QPushButton::clicked, this, [this] { BitBtnOKClick(); });
}

TCfgSPD117xFRM::~TCfgSPD117xFRM() = default;

void TCfgSPD117xFRM::showEvent(QShowEvent* event) {
  FormShow();
  QDialog::showEvent(event);
}

void TCfgSPD117xFRM::FormShow() { SetControls(Spd117xControlsFromImage(model_)); }

Spd117xConfigControls TCfgSPD117xFRM::Controls() const {
  return {ui_->ChkBoxLckCP->isChecked(), ui_->ChkBoxEnWDT->isChecked()};
}

void TCfgSPD117xFRM::SetControls(const Spd117xConfigControls& c) {
  ui_->ChkBoxLckCP->setChecked(c.LockDebug);
  ui_->ChkBoxEnWDT->setChecked(c.StartWatchdog);
}

void TCfgSPD117xFRM::BitBtnOKClick() {
  WriteSpd117xConfig(Controls(), model_);
  accept();
}

}  // namespace qx
