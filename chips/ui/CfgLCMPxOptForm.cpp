#include "chips/ui/CfgLCMPxOptForm.h"

#include "chips/ui/QtText.h"
#include "ui_CfgLCMPxOptForm.h"

namespace qx {
namespace {

// Read-protection boxes are numbered 0..9, A, B in the form.
QString RdpSuffix(std::size_t i) { return QString::number(static_cast<int>(i), 16).toUpper(); }

}  // namespace

TCfgLCMPxOptForm::TCfgLCMPxOptForm(ChipModel& model, QWidget* parent)
    : QDialog(parent), model_(model), ui_(std::make_unique<Ui::TCfgLCMPxOptForm>()) {
  ui_->setupUi(this);
  user_ = {ui_->ComBoxBOT0, ui_->ComBoxBOT1, ui_->ComBoxBTSEL, ui_->ComBoxWDG};
  data_ = {ui_->SpinEditDAT0, ui_->SpinEditDAT1, ui_->SpinEditDAT2};
  for (std::size_t n = 0; n < LcmpWrpRegisters; ++n) {
    for (std::size_t k = 0; k < 8; ++k) {
      wrp_[n][k] = findChild<QCheckBox*>(QStringLiteral("ChkBoxWRP%1%2").arg(n).arg(k));
    }
  }
  for (std::size_t i = 0; i < LcmpRdpBytes; ++i) {
    rdp_[i] = findChild<QComboBox*>(QStringLiteral("ComBoxRDP") + RdpSuffix(i));
  }
  SetCaptions();
  connect(ui_->BitBtnOK, &QPushButton::clicked, this, [this] { BitBtnOKClick(); });
  connect(ui_->BitBtnNG, &QPushButton::clicked, this, [this] { BitBtnNGClick(); });
}

TCfgLCMPxOptForm::~TCfgLCMPxOptForm() = default;

void TCfgLCMPxOptForm::SetCaptions() {
  ui_->LabelBOT0->setText(QText(TextId::LcmpBoot0Label));
  ui_->LabelBOT1->setText(QText(TextId::LcmpBoot1Label));
  ui_->LabelBTSEL->setText(QText(TextId::LcmpBootSelLabel));
  ui_->LabelWDG->setText(QText(TextId::LcmpWdgLabel));
  const TextId entries[] = {TextId::LcmpBoot0Entry, TextId::LcmpBoot1Entry, TextId::LcmpBootSelEntry};
  for (std::size_t b = 0; b < 3; ++b) {
    for (int v = 0; v < 2; ++v) user_[b]->addItem(Q(Tx(entries[b], v)));
  }
  ui_->ComBoxWDG->addItem(QText(TextId::LcmpWdgHardware));
  ui_->ComBoxWDG->addItem(QText(TextId::LcmpWdgSoftware));
  QLabel* const dataLabels[] = {ui_->LabelDAT0, ui_->LabelDAT1, ui_->LabelDAT2};
  for (int i = 0; i < 3; ++i) dataLabels[i]->setText(Q(Tx(TextId::LcmpDataLabel, i)));
  for (std::size_t n = 0; n < LcmpWrpRegisters; ++n) {
    ui_->PageControl1->setTabText(static_cast<int>(n), Q(Tx(TextId::LcmpWrpTab, n)));
    for (std::size_t k = 0; k < 8; ++k) wrp_[n][k]->setText(Q(Tx(TextId::LcmpWrpBox, n, k)));
  }
  for (std::size_t i = 0; i < LcmpRdpBytes; ++i) {
    findChild<QLabel*>(QStringLiteral("LabelRDP") + RdpSuffix(i))->setText(Q(Tx(TextId::LcmpRdpLabel, i)));
    rdp_[i]->addItem(QText(TextId::LcmpRdpOffEntry));
    rdp_[i]->addItem(QText(TextId::LcmpRdpOnEntry));
  }
  ui_->BitBtnOK->setText(QText(TextId::ButtonOk));
  ui_->BitBtnNG->setText(QText(TextId::ButtonCancel));
}

void TCfgLCMPxOptForm::showEvent(QShowEvent* event) {
  FormShow();
  QDialog::showEvent(event);
}

void TCfgLCMPxOptForm::FormShow() {
  setWindowTitle(Q(Tx(TextId::LcmpCaption, model_.ChipName)));
  SetControls(LcmpControlsFromImage(model_));
}

LcmpOptionControls TCfgLCMPxOptForm::Controls() const {
  LcmpOptionControls c;
  for (std::size_t b = 0; b < LcmpUserBits; ++b) c.User[b] = user_[b]->currentIndex();
  for (std::size_t i = 0; i < LcmpDataBytes; ++i) c.Data[i] = data_[i]->value();
  for (std::size_t n = 0; n < LcmpWrpRegisters; ++n) {
    for (std::size_t k = 0; k < 8; ++k) c.WriteProtect[n][k] = wrp_[n][k]->isChecked();
  }
  for (std::size_t i = 0; i < LcmpRdpBytes; ++i) c.ReadProtect[i] = rdp_[i]->currentIndex();
  return c;
}

void TCfgLCMPxOptForm::SetControls(const LcmpOptionControls& c) {
  for (std::size_t b = 0; b < LcmpUserBits; ++b) user_[b]->setCurrentIndex(c.User[b]);
  for (std::size_t i = 0; i < LcmpDataBytes; ++i) data_[i]->setValue(c.Data[i]);
  for (std::size_t n = 0; n < LcmpWrpRegisters; ++n) {
    for (std::size_t k = 0; k < 8; ++k) wrp_[n][k]->setChecked(c.WriteProtect[n][k]);
  }
  for (std::size_t i = 0; i < LcmpRdpBytes; ++i) rdp_[i]->setCurrentIndex(c.ReadProtect[i]);
}

void TCfgLCMPxOptForm::BitBtnOKClick() {
  WriteLcmpOptions(Controls(), model_);
  accept();
}

void TCfgLCMPxOptForm::BitBtnNGClick() { reject(); }

}  // namespace qx
