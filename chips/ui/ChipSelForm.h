#pragma once
// The chip-selection dialog. It opens on the Silergy models with the maker list hidden;
// OK stores the selected model and runs its family select, and only then is anything in
// the chip state changed. exec() returns Accepted exactly when a chip was chosen: the
// caller then runs its reaction to the chosen chip, also for the name it shows already.
#include <QDialog>
#include <memory>

#include "images/ChipModel.h"

namespace Ui {
class TChipSelForm;
}

namespace qx {

class TChipSelForm : public QDialog {
  Q_OBJECT

 public:
  explicit TChipSelForm(ChipModel& model, QWidget* parent = nullptr);
  ~TChipSelForm() override;

  void FormShow();
  // Without a selected model it does nothing and the dialog stays open.
  void BitBtnOKClick();
  // Fills the model list with a maker's models (an unknown index: Silergy's) and selects
  // the first; the maker lists follow, so OK takes the maker whose models are shown.
  void ShowVendorModels(u8 manufacturerIndex);
  void RadioGrpSelMFClick();
  void ListBoxMFGClick();

  bool ChipChosen() const { return chipChosen_; }
  u8 ShownMaker() const { return maker_; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void SetCaptions();

  ChipModel& model_;
  std::unique_ptr<Ui::TChipSelForm> ui_;
  u8 maker_;
  bool chipChosen_ = false;
};

}  // namespace qx
