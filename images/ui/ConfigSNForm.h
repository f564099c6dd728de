#pragma once
// The S/N constant dialog: a fixed block of bytes, typed as text or hex tokens, written at
// an address of the main-flash or data-flash image.
#include <QDialog>

#include "images/ChipModel.h"
#include "base/MessageLog.h"
#include "base/Operator.h"
#include "images/SnConstData.h"

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace qx {

class TConfigSNForm : public QDialog {
  Q_OBJECT

 public:
  // log: where the data-flash sums are logged after a data-flash write.
  TConfigSNForm(ChipModel& model, Operator& op, MessageLog& log, QWidget* parent = nullptr);

  void FormShow();
  void RadioGrpSNClick();
  void BitBtnOKClick();
  void WriteSnDataMain();
  void WriteSnDataEep();

  SnArea Area() const;
  SnDataFormat DataFormat() const;

  QLabel* LabelAdrS;
  QLabel* LabelCntDT;
  QLineEdit* AddrEditSN;
  QLineEdit* EditDataSN;
  QGroupBox* RadioGrpSN;
  QRadioButton* RadioSnMain;
  QRadioButton* RadioSnEep;
  QGroupBox* RadioGroupFM;
  QRadioButton* RadioFmAscii;
  QRadioButton* RadioFmHex;
  QCheckBox* ChkBoxSNEndin;
  QPushButton* BitBtnOK;
  QPushButton* BitBtnCancel;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void WriteSnData(SnArea area);

  ChipModel& model_;
  Operator& op_;
  MessageLog& log_;
  QButtonGroup* areaButtons_;
  QButtonGroup* formatButtons_;
};

}  // namespace qx
