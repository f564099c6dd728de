#pragma once
// Option bytes of the AC7840x chips. OK converts every field first: a field that is not
// a number is reported, keeps the dialog open and changes nothing.
#include <QDialog>
#include <memory>

#include "base/Operator.h"
#include "chips/AC784xOptionBytes.h"

namespace Ui {
class TAC784xOpbFrm;
}

namespace qx {

class TAC784xOpbFrm : public QDialog {
  Q_OBJECT

 public:
  TAC784xOpbFrm(ChipModel& model, Operator& op, QWidget* parent = nullptr);
  ~TAC784xOpbFrm() override;

  void FormShow();
  void BitBtnOKClick();

  AC784xOptionControls Controls() const;
  void SetControls(const AC784xOptionControls& controls);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  ChipModel& model_;
  Operator& op_;
  std::unique_ptr<Ui::TAC784xOpbFrm> ui_;
};

}  // namespace qx
