#pragma once
// Option bytes of the LCM chips. Opening and Cancel leave OptionsChanged as it is; OK
// recomputes it, so a project's option programming survives a look at the dialog.
#include <QDialog>
#include <array>
#include <memory>

#include "chips/LcmpOptionBytes.h"

class QCheckBox;
class QComboBox;
class QSpinBox;

namespace Ui {
class TCfgLCMPxOptForm;
}

namespace qx {

class TCfgLCMPxOptForm : public QDialog {
  Q_OBJECT

 public:
  explicit TCfgLCMPxOptForm(ChipModel& model, QWidget* parent = nullptr);
  ~TCfgLCMPxOptForm() override;

  void FormShow();
  void BitBtnOKClick();
  void BitBtnNGClick();

  LcmpOptionControls Controls() const;
  void SetControls(const LcmpOptionControls& controls);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void SetCaptions();

  ChipModel& model_;
  std::unique_ptr<Ui::TCfgLCMPxOptForm> ui_;
  std::array<QComboBox*, LcmpUserBits> user_{};
  std::array<QSpinBox*, LcmpDataBytes> data_{};
  std::array<std::array<QCheckBox*, 8>, LcmpWrpRegisters> wrp_{};
  std::array<QComboBox*, LcmpRdpBytes> rdp_{};
};

}  // namespace qx
