#pragma once
// Option bytes of the AC7801x and AC781x chips. OK converts every field first: a field
// that is not a number is reported, keeps the dialog open and changes nothing.
#include <QDialog>
#include <memory>

#include "base/Operator.h"
#include "chips/AC78xOptionBytes.h"

namespace Ui {
class TAC78xOptBForm;
}

namespace qx {

class TAC78xOptBForm : public QDialog {
  Q_OBJECT

 public:
  TAC78xOptBForm(ChipModel& model, Operator& op, QWidget* parent = nullptr);
  ~TAC78xOptBForm() override;

  void FormShow();
  void BitBtnOKClick();
  void BitBtnNGClick();
  void ComBoxROPChange();
  void ComBoxWDTChange();

  AC78xOptionControls Controls() const;
  void SetControls(const AC78xOptionControls& controls);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  ChipModel& model_;
  Operator& op_;
  std::unique_ptr<Ui::TAC78xOptBForm> ui_;
};

}  // namespace qx
