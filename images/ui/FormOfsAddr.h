#pragma once
// The load-offset dialog: the address at which a binary object file begins. The caller
// presets BinOffset, shows the dialog modally and reads BinOffset back.
#include <QDialog>

#include "images/ChipModel.h"
#include "base/Operator.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace qx {

class TFormOfsAddr : public QDialog {
  Q_OBJECT

 public:
  TFormOfsAddr(ChipModel& model, Operator& op, QWidget* parent = nullptr);

  void FormShow();
  // Closes with the OK result whatever the text; a text that is not a number is reported
  // and leaves BinOffset as preset.
  void BitBtnOKClick();

  QLabel* LabelOfsBin;
  QLineEdit* EditOfsAddr;
  QPushButton* BitBtnOK;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  ChipModel& model_;
  Operator& op_;
};

}  // namespace qx
