#include "images/ui/FormOfsAddr.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "base/Errors.h"
#include "images/NumberText.h"
#include "texts/Texts.h"

namespace qx {

namespace {
QString Q(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }
}  // namespace

TFormOfsAddr::TFormOfsAddr(ChipModel& model, Operator& op, QWidget* parent)
    : QDialog(parent), model_(model), op_(op) {
  setObjectName("FormOfsAddr");
  LabelOfsBin = new QLabel(Q(Text(TextId::OfsAddrLabel)), this);
  LabelOfsBin->setObjectName("LabelOfsBin");
  EditOfsAddr = new QLineEdit(Q(Tx(TextId::HexAddress8, u32{0x00008000})), this);
  EditOfsAddr->setObjectName("EditOfsAddr");
  BitBtnOK = new QPushButton(Q(Text(TextId::ButtonOk)), this);
  BitBtnOK->setObjectName("BitBtnOK");
  BitBtnOK->setDefault(true);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(LabelOfsBin);
  layout->addWidget(EditOfsAddr);
  layout->addWidget(BitBtnOK);
  connect(BitBtnOK, &QPushButton::clicked, this, [this] { BitBtnOKClick(); });
}

void TFormOfsAddr::showEvent(QShowEvent* event) {
  FormShow();
  QDialog::showEvent(event);
}

void TFormOfsAddr::FormShow() {
  setWindowTitle(Q(Text(TextId::OfsAddrCaption)));
  LabelOfsBin->setText(Q(Text(TextId::OfsAddrLabel)));
  EditOfsAddr->setText(Q(Tx(TextId::HexAddress8, model_.BinOffset)));
}

void TFormOfsAddr::BitBtnOKClick() {
  setResult(QDialog::Accepted);
  try {
    model_.BinOffset = StrToU32(EditOfsAddr->text().toStdString());
  } catch (const EConvertError& e) {
    op_.Ask(MsgKind::Error, e.what(), MsgButtons::Ok);
  }
  accept();
}

}  // namespace qx
