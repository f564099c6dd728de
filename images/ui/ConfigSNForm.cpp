#include "images/ui/ConfigSNForm.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "base/Errors.h"
#include "images/NumberText.h"
#include "images/ViewChecksums.h"
#include "texts/Texts.h"

namespace qx {

namespace {

QString Q(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

QRadioButton* AddChoice(QGroupBox* box, QButtonGroup* group, const char* name, int id) {
  auto* b = new QRadioButton(box);
  b->setObjectName(name);
  group->addButton(b, id);
  box->layout()->addWidget(b);
  return b;
}

}  // namespace

TConfigSNForm::TConfigSNForm(ChipModel& model, Operator& op, MessageLog& log, QWidget* parent)
    : QDialog(parent), model_(model), op_(op), log_(log) {
  setObjectName("ConfigSNForm");
  LabelAdrS = new QLabel(this);
  LabelAdrS->setObjectName("LabelAdrS");
  LabelCntDT = new QLabel(this);
  LabelCntDT->setObjectName("LabelCntDT");
  AddrEditSN = new QLineEdit(this);
  AddrEditSN->setObjectName("AddrEditSN");
  AddrEditSN->setMaxLength(10);
  EditDataSN = new QLineEdit(this);
  EditDataSN->setObjectName("EditDataSN");
  EditDataSN->setMaxLength(255);
  connect(EditDataSN, &QLineEdit::textEdited, this, [this](const QString& text) {
    const QString upper = text.toUpper();
    if (upper != text) {
      const int cursor = EditDataSN->cursorPosition();
      EditDataSN->setText(upper);
      EditDataSN->setCursorPosition(cursor);
    }
  });

  RadioGrpSN = new QGroupBox(this);
  RadioGrpSN->setObjectName("RadioGrpSN");
  RadioGrpSN->setLayout(new QVBoxLayout);
  areaButtons_ = new QButtonGroup(this);
  RadioSnMain = AddChoice(RadioGrpSN, areaButtons_, "RadioSnMain", 0);
  RadioSnEep = AddChoice(RadioGrpSN, areaButtons_, "RadioSnEep", 1);
  RadioSnMain->setChecked(true);
  // Only a change of the area runs the handler: clicking the checked item again keeps the
  // address the operator typed.
  connect(areaButtons_, &QButtonGroup::idToggled, this, [this](int, bool checked) {
    if (checked) RadioGrpSNClick();
  });

  RadioGroupFM = new QGroupBox(this);
  RadioGroupFM->setObjectName("RadioGroupFM");
  RadioGroupFM->setLayout(new QVBoxLayout);
  formatButtons_ = new QButtonGroup(this);
  RadioFmAscii = AddChoice(RadioGroupFM, formatButtons_, "RadioFmAscii", 0);
  RadioFmHex = AddChoice(RadioGroupFM, formatButtons_, "RadioFmHex", 1);
  RadioFmAscii->setChecked(true);

  ChkBoxSNEndin = new QCheckBox(this);
  ChkBoxSNEndin->setObjectName("ChkBoxSNEndin");
  ChkBoxSNEndin->setVisible(false);

  BitBtnOK = new QPushButton(Q(Text(TextId::ButtonOk)), this);
  BitBtnOK->setObjectName("BitBtnOK");
  BitBtnOK->setDefault(true);
  BitBtnCancel = new QPushButton(Q(Text(TextId::ButtonCancel)), this);
  BitBtnCancel->setObjectName("BitBtnCancel");
  connect(BitBtnOK, &QPushButton::clicked, this, [this] { BitBtnOKClick(); });
  connect(BitBtnCancel, &QPushButton::clicked, this, &QDialog::reject);

  auto* grid = new QGridLayout(this);
  grid->addWidget(LabelAdrS, 0, 0);
  grid->addWidget(AddrEditSN, 0, 1);
  grid->addWidget(RadioGrpSN, 1, 0);
  grid->addWidget(RadioGroupFM, 1, 1);
  grid->addWidget(LabelCntDT, 2, 0, 1, 2);
  grid->addWidget(EditDataSN, 3, 0, 1, 2);
  grid->addWidget(ChkBoxSNEndin, 4, 0, 1, 2);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(BitBtnOK);
  buttons->addWidget(BitBtnCancel);
  grid->addLayout(buttons, 5, 0, 1, 2);
}

void TConfigSNForm::showEvent(QShowEvent* event) {
  FormShow();
  QDialog::showEvent(event);
}

SnArea TConfigSNForm::Area() const { return areaButtons_->checkedId() == 1 ? SnArea::EepFlash : SnArea::MainFlash; }

SnDataFormat TConfigSNForm::DataFormat() const {
  return formatButtons_->checkedId() == 1 ? SnDataFormat::Hex : SnDataFormat::Ascii;
}

void TConfigSNForm::FormShow() {
  setWindowTitle(Q(Text(TextId::SnFormCaption)));
  RadioSnMain->setChecked(true);
  AddrEditSN->setText(Q(Tx(TextId::HexAddress8, model_.Params.MainFlashStart)));
  LabelAdrS->setText(Q(Text(TextId::SnAddressLabel)));
  LabelCntDT->setText(Q(Text(TextId::SnDataLabel)));
  RadioGrpSN->setTitle(Q(Text(TextId::SnScopeCaption)));
  RadioSnMain->setText(Q(Text(TextId::SnMainFlashArea)));
  RadioSnEep->setText(Q(Text(TextId::SnEepFlashArea)));
  RadioGroupFM->setTitle(Q(Text(TextId::SnFormatCaption)));
  RadioFmAscii->setText(Q(Text(TextId::SnFormatAscii)));
  RadioFmHex->setText(Q(Text(TextId::SnFormatHex)));
  ChkBoxSNEndin->setText(Q(Text(TextId::SnBigEndian)));
}

void TConfigSNForm::RadioGrpSNClick() {
  const u32 start = Area() == SnArea::EepFlash ? model_.Params.EepStart : model_.Params.MainFlashStart;
  AddrEditSN->setText(Q(Tx(TextId::HexAddress8, start)));
}

void TConfigSNForm::BitBtnOKClick() {
  if (EditDataSN->text().isEmpty()) {
    op_.Ask(MsgKind::Warning, Text(TextId::SnDataMissing), MsgButtons::Ok);
    EditDataSN->setFocus();
    return;
  }
  setResult(QDialog::Accepted);
  try {
    if (Area() == SnArea::MainFlash) {
      WriteSnDataMain();
    } else {
      WriteSnDataEep();
    }
  } catch (const EConvertError& e) {
    op_.Ask(MsgKind::Error, e.what(), MsgButtons::Ok);
  }
  accept();
}

void TConfigSNForm::WriteSnDataMain() { WriteSnData(SnArea::MainFlash); }

void TConfigSNForm::WriteSnDataEep() { WriteSnData(SnArea::EepFlash); }

void TConfigSNForm::WriteSnData(SnArea area) {
  const u32 address = StrToU32(AddrEditSN->text().toStdString());
  const std::string text = EditDataSN->text().toUpper().toStdString();
  const SnWriteResult r = WriteSnConstData(model_, area, address, text, DataFormat());
  if (!r.Written) {
    if (r.BadChar.empty()) {
      op_.Ask(MsgKind::Warning, Text(TextId::SnAddressOutOfChip), MsgButtons::Ok);
    } else {
      op_.Ask(MsgKind::Warning, Tx(TextId::SnNoOneByteForm, r.BadChar), MsgButtons::Ok);
    }
    return;
  }
  if (area == SnArea::MainFlash) {
    op_.UpdateMainHexRows(address, address + ((r.Count | 15u) + 1));
  } else {
    CalcEepChecksum(model_, log_);
    op_.ShowEepData();
  }
}

}  // namespace qx
