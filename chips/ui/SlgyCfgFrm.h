#pragma once
// Read protection of the Silergy chips (ProtectBits).
#include <QDialog>
#include <memory>

#include "chips/SilergyProtection.h"

namespace Ui {
class TSlgyCfgFrm;
}

namespace qx {

class TSlgyCfgFrm : public QDialog {
  Q_OBJECT

 public:
  explicit TSlgyCfgFrm(ChipModel& model, QWidget* parent = nullptr);
  ~TSlgyCfgFrm() override;

  void FormShow();
  void BitBtn2Click();

  SilergyProtectionControls Controls() const;
  void SetControls(const SilergyProtectionControls& controls);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  ChipModel& model_;
  std::unique_ptr<Ui::TSlgyCfgFrm> ui_;
};

}  // namespace qx
