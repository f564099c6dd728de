#include "chips/ui/SlgyCfgFrm.h"

#include "chips/ui/QtText.h"
#include "ui_SlgyCfgFrm.h"

namespace qx {

TSlgyCfgFrm::TSlgyCfgFrm(ChipModel& model, QWidget* parent)
    : QDialog(parent), model_(model), ui_(std::make_unique<Ui::TSlgyCfgFrm>()) {
  ui_->setupUi(this);
  setWindowTitle(QText(TextId::SlgyCaption));
  ui_->ChkBoxSWDRD->setText(QText(TextId::SlgySwdRead));
  ui_->ChkBoxCpuRD->setText(QText(TextId::SlgyCpuRead));
  ui_->ChkBoxDisCNT->setText(QText(TextId::SlgyNoDebugger));
  ui_->ChkBoxDnERS->setText(QText(TextId::SlgyInfoReadOnly));
  ui_->BitBtn2->setText(QText(TextId::ButtonOk));
  ui_->BitBtn1->setText(QText(TextId::ButtonCancel));
  connect(ui_->BitBtn2, &QPushButton::clicked, this, [this] { BitBtn2Click(); });
  connect(ui_->BitBtn1, &QPushButton::clicked, this, &QDialog::reject);
}

TSlgyCfgFrm::~TSlgyCfgFrm() = default;

void TSlgyCfgFrm::showEvent(QShowEvent* event) {
  FormShow();
  QDialog::showEvent(event);
}

void TSlgyCfgFrm::FormShow() { SetControls(SilergyControlsFromChip(model_)); }

SilergyProtectionControls TSlgyCfgFrm::Controls() const {
  return {ui_->ChkBoxSWDRD->isChecked(), ui_->ChkBoxCpuRD->isChecked()};
}

void TSlgyCfgFrm::SetControls(const SilergyProtectionControls& c) {
  ui_->ChkBoxSWDRD->setChecked(c.NoSwdRead);
  ui_->ChkBoxCpuRD->setChecked(c.NoCpuRead);
}

void TSlgyCfgFrm::BitBtn2Click() {
  WriteSilergyProtection(Controls(), model_);
  accept();
}

}  // namespace qx
