#pragma once
// Configuration bytes of the AUCU chips.
#include <QDialog>
#include <memory>

#include "chips/AucuConfigBytes.h"

namespace Ui {
class TAUCUxCfgForm;
}

namespace qx {

class TAUCUxCfgForm : public QDialog {
  Q_OBJECT

 public:
  explicit TAUCUxCfgForm(ChipModel& model, QWidget* parent = nullptr);
  ~TAUCUxCfgForm() override;

  void FormShow();
  void BitBtn2Click();

  AucuConfigControls Controls() const;
  void SetControls(const AucuConfigControls& controls);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  ChipModel& model_;
  std::unique_ptr<Ui::TAUCUxCfgForm> ui_;
};

}  // namespace qx
