#include "chips/ui/AC78xOptBForm.h"

#include "chips/ui/FieldErrorBox.h"
#include "chips/ui/QtText.h"
#include "ui_AC78xOptBForm.h"

namespace qx {

TAC78xOptBForm::TAC78xOptBForm(ChipModel& model, Operator& op, QWidget* parent)
    : QDialog(parent), model_(model), op_(op), ui_(std::make_unique<Ui::TAC78xOptBForm>()) {
  ui_->setupUi(this);
  ui_->Label1->setText(QText(TextId::AC78xRopLabel));
  ui_->ComBoxROP->addItem(QText(TextId::AC78xRopLevel0));
  ui_->ComBoxROP->addItem(QText(TextId::AC78xRopLevel1));
  ui_->Label2->setText(QText(TextId::AC78xWdtLabel));
  ui_->ComBoxWDT->addItem(QText(TextId::AC78xWdtOff));
  ui_->ComBoxWDT->addItem(QText(TextId::AC78xWdtOn));
  QLabel* const pageLabels[] = {ui_->Label3, ui_->Label4, ui_->Label5, ui_->Label6};
  for (int i = 0; i < 4; ++i) pageLabels[i]->setText(Q(Tx(TextId::AC78xErpLabel, 16 * i, 16 * i + 15)));
  ui_->Label7->setText(Q(Tx(TextId::AC78xUserLabel, 0)));
  ui_->Label8->setText(Q(Tx(TextId::AC78xUserLabel, 1)));
  ui_->BitBtnOK->setText(QText(TextId::ButtonOk));
  ui_->BitBtnNG->setText(QText(TextId::ButtonCancel));
  connect(ui_->ComBoxROP, &QComboBox::currentIndexChanged, this, [this] { ComBoxROPChange(); });
  connect(ui_->ComBoxWDT, &QComboBox::currentIndexChanged, this, [this] { ComBoxWDTChange(); });
  connect(ui_->BitBtnOK, &QPushButton::clicked, this, [this] { BitBtnOKClick(); });
  connect(ui_->BitBtnNG, &QPushButton::clicked, this, [this] { BitBtnNGClick(); });
}

TAC78xOptBForm::~TAC78xOptBForm() = default;

std::array<QLineEdit*, AC78xWordCount> TAC78xOptBForm::WordEdits() const {
  return {ui_->EditERP0, ui_->EditERP1, ui_->EditERP2, ui_->EditERP3, ui_->EditUSER0, ui_->EditUser1};
}

void TAC78xOptBForm::showEvent(QShowEvent* event) {
  FormShow();
  QDialog::showEvent(event);
}

void TAC78xOptBForm::FormShow() {
  setWindowTitle(Q(Tx(TextId::OptWizardCaption, model_.ChipName)));
  SetControls(AC78xControlsFromImage(model_));
}

AC78xOptionControls TAC78xOptBForm::Controls() const {
  AC78xOptionControls c;
  c.RopEntry = ui_->ComBoxROP->currentIndex();
  c.WdtEntry = ui_->ComBoxWDT->currentIndex();
  const auto edits = WordEdits();
  for (std::size_t i = 0; i < AC78xWordCount; ++i) c.Words[i] = S(edits[i]->text());
  return c;
}

void TAC78xOptBForm::SetControls(const AC78xOptionControls& c) {
  ui_->ComBoxROP->setCurrentIndex(c.RopEntry);
  ui_->ComBoxWDT->setCurrentIndex(c.WdtEntry);
  const auto edits = WordEdits();
  for (std::size_t i = 0; i < AC78xWordCount; ++i) edits[i]->setText(Q(c.Words[i]));
  ComBoxROPChange();
  ComBoxWDTChange();
}

void TAC78xOptBForm::ComBoxROPChange() {
  ui_->PanelROP->setText(Q(Tx(TextId::ChipHexNumber, AC78xRopWord(ui_->ComBoxROP->currentIndex()))));
}

void TAC78xOptBForm::ComBoxWDTChange() {
  ui_->PanelWDT->setText(Q(Tx(TextId::ChipHexNumber, AC78xWdtWord(ui_->ComBoxWDT->currentIndex()))));
}

void TAC78xOptBForm::BitBtnOKClick() {
  if (const auto error = WriteAC78xOptions(Controls(), model_)) {
    const auto edits = WordEdits();
    ShowFieldError(op_, *error, {edits[0], edits[1], edits[2], edits[3], edits[4], edits[5]});
    return;
  }
  accept();
}

void TAC78xOptBForm::BitBtnNGClick() { reject(); }

}  // namespace qx
