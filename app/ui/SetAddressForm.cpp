#include "app/ui/SetAddressForm.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include "app/ReadAddress.h"
#include "base/Errors.h"
#include "images/NumberText.h"
#include "texts/Texts.h"
#include "ui_SetAddressForm.h"

namespace qx {

namespace {
QString Q(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }
}  // namespace

TSetAddressForm::TSetAddressForm(ChipModel& model, Operator& op, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::SetAddressForm>()), model_(model), op_(op) {
  ui_->setupUi(this);
  LabelAD = ui_->LabelAD;
  EditAddr = ui_->EditAddr;
  LabelLL = ui_->LabelLL;
  SpinEditRD = ui_->SpinEditRD;
  BitBtnOK = ui_->BitBtnOK;
  setWindowTitle(Q(Text(TextId::ReadAddressCaption)));
  BitBtnOK->setText(Q(Text(TextId::ButtonOk)));
  connect(BitBtnOK, &QPushButton::clicked, this, [this] { BitBtnOKClick(); });
}

TSetAddressForm::~TSetAddressForm() = default;

void TSetAddressForm::showEvent(QShowEvent* event) {
  FormShow();
  QDialog::showEvent(event);
}

void TSetAddressForm::FormShow() {
  SpinEditRD->setMaximum(ReadLengthMax);
  SpinEditRD->setValue(model_.ReadLength);
  LabelAD->setText(Q(Text(TextId::ReadAddressStartLabel)));
  LabelLL->setText(Q(Text(TextId::ReadAddressLengthLabel)));
  EditAddr->setText(Q(ReadStartText(model_)));
}

void TSetAddressForm::BitBtnOKClick() {
  setResult(QDialog::Accepted);
  try {
    StoreReadAddress(model_, EditAddr->text().toStdString(), TryStrToInt(SpinEditRD->cleanText().toStdString()));
  } catch (const EConvertError& e) {
    op_.Ask(MsgKind::Error, e.what(), MsgButtons::Ok);
  }
  accept();
}

}  // namespace qx
