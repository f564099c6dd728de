#include "chips/ui/ChipSelForm.h"

#include <QButtonGroup>
#include <QListWidget>
#include <QRadioButton>
#include <array>
#include <utility>

#include "chips/ChipModelLists.h"
#include "chips/ChipSelChoice.h"
#include "chips/MakerRegistry.h"
#include "chips/ui/QtText.h"
#include "ui_ChipSelForm.h"

namespace qx {
namespace {

// Where the show handler puts the controls once the maker list is hidden.
constexpr int kModelListLeft = 16;
constexpr int kButtonsLeft = 266;
constexpr int kNarrowWidth = 426;

}  // namespace

TChipSelForm::TChipSelForm(ChipModel& model, QWidget* parent)
    : QDialog(parent),
      model_(model),
      ui_(std::make_unique<Ui::TChipSelForm>()),
      maker_(IndexOf(ChipSelOpeningMaker)) {
  ui_->setupUi(this);
  const auto radios = ui_->RadioGrpSelMF->findChildren<QRadioButton*>(QString(), Qt::FindDirectChildrenOnly);
  for (QAbstractButton* b : ui_->SelMFButtons->buttons()) {
    ui_->SelMFButtons->setId(b, static_cast<int>(radios.indexOf(static_cast<QRadioButton*>(b))));
  }
  SetCaptions();
  connect(ui_->BitBtnOK, &QPushButton::clicked, this, [this] { BitBtnOKClick(); });
  connect(ui_->BitBtnNO, &QPushButton::clicked, this, &QDialog::reject);
  connect(ui_->SelMFButtons, &QButtonGroup::idClicked, this, [this](int) { RadioGrpSelMFClick(); });
  connect(ui_->ListBoxMFG, &QListWidget::itemClicked, this, [this] { ListBoxMFGClick(); });
}

TChipSelForm::~TChipSelForm() = default;

void TChipSelForm::SetCaptions() {
  setWindowTitle(QText(TextId::ChipSelCaption));
  ui_->LabelMFG->setText(QText(TextId::ChipSelMakerPrompt));
  ui_->LabelCPS->setText(QText(TextId::ChipSelModelPrompt));
  ui_->BitBtnOK->setText(QText(TextId::ButtonOk));
  ui_->BitBtnNO->setText(QText(TextId::ChipSelButtonNo));
  ui_->ListBoxMFG->clear();
  for (std::size_t i = 0; i < MakerCount; ++i) {
    const QString name = QText(MakerModules[i]->name);
    ui_->ListBoxMFG->addItem(name);
    // The hidden radio group has the form's buttons only; the list holds every maker.
    if (QAbstractButton* b = ui_->SelMFButtons->button(static_cast<int>(i))) b->setText(name);
  }
}

void TChipSelForm::showEvent(QShowEvent* event) {
  FormShow();
  QDialog::showEvent(event);
}

void TChipSelForm::FormShow() {
  chipChosen_ = false;
  ui_->LabelMFG->hide();
  ui_->ListBoxMFG->hide();
  ui_->ListBoxCP->move(kModelListLeft, ui_->ListBoxCP->y());
  ui_->LabelCPS->move(kModelListLeft, ui_->LabelCPS->y());
  ui_->BitBtnOK->move(kButtonsLeft, ui_->BitBtnOK->y());
  ui_->BitBtnNO->move(kButtonsLeft, ui_->BitBtnNO->y());
  resize(kNarrowWidth, height());
  ui_->RadioGrpSelMF->hide();
  ShowVendorModels(IndexOf(ChipSelOpeningMaker));
}

void TChipSelForm::ShowVendorModels(u8 manufacturerIndex) {
  maker_ = IndexOf(MakerOf(manufacturerIndex));
  ui_->ListBoxMFG->setCurrentRow(maker_);
  if (QAbstractButton* b = ui_->SelMFButtons->button(maker_)) b->setChecked(true);
  ui_->ListBoxCP->clear();
  for (const std::string_view name : ModelsOfMaker(maker_)) ui_->ListBoxCP->addItem(Q(name));
  ui_->ListBoxCP->setCurrentRow(0);
}

void TChipSelForm::RadioGrpSelMFClick() {
  ShowVendorModels(static_cast<u8>(std::max(0, ui_->SelMFButtons->checkedId())));
}

void TChipSelForm::ListBoxMFGClick() { ShowVendorModels(static_cast<u8>(std::max(0, ui_->ListBoxMFG->currentRow()))); }

void TChipSelForm::BitBtnOKClick() {
  const auto selected = ui_->ListBoxCP->selectedItems();
  const int row = selected.isEmpty() ? -1 : ui_->ListBoxCP->row(selected.front());
  if (row < 0) return;
  if (!ConfirmChipSelection(model_, maker_, row)) return;
  chipChosen_ = true;
  accept();
}

}  // namespace qx
