#pragma once
// Option bytes of the AC7801x and AC781x chips. OK converts every field first: a field
// that is not a number is reported, keeps the dialog open and changes nothing.
#include <QDialog>
#include <array>
#include <memory>

#include "base/Operator.h"
#include "chips/AC78xOptionBytes.h"

class QLineEdit;

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
  // EditERP0..EditERP3, EditUSER0, EditUser1: the order of the option words.
  std::array<QLineEdit*, AC78xWordCount> WordEdits() const;

  ChipModel& model_;
  Operator& op_;
  std::unique_ptr<Ui::TAC78xOptBForm> ui_;
};

}  // namespace qx
