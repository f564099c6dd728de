#pragma once
// The read-address dialog: start address and length of the "Read Specific Address"
// command. Created, shown modally and freed by the command each time; OK stores ReadStart
// and ReadLength, any other close leaves them.
#include <QDialog>
#include <memory>

#include "base/Operator.h"
#include "images/ChipModel.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace Ui {
class SetAddressForm;
}

namespace qx {

class TSetAddressForm : public QDialog {
  Q_OBJECT

 public:
  TSetAddressForm(ChipModel& model, Operator& op, QWidget* parent = nullptr);
  ~TSetAddressForm() override;

  void FormShow();
  // Closes with the OK result whatever the text; an address that is not a number is
  // reported and leaves both values.
  void BitBtnOKClick();

  QLabel* LabelAD;
  QLineEdit* EditAddr;
  QLabel* LabelLL;
  QSpinBox* SpinEditRD;
  QPushButton* BitBtnOK;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  std::unique_ptr<Ui::SetAddressForm> ui_;
  ChipModel& model_;
  Operator& op_;
};

}  // namespace qx
