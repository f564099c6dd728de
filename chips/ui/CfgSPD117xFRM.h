#pragma once
// Configuration words of the SPD117x chips. The only button is OK; the close box leaves
// without changes.
#include <QDialog>
#include <memory>

#include "chips/Spd117xConfigBytes.h"

namespace Ui {
class TCfgSPD117xFRM;
}

namespace qx {

class TCfgSPD117xFRM : public QDialog {
  Q_OBJECT

 public:
  explicit TCfgSPD117xFRM(ChipModel& model, QWidget* parent = nullptr);
  ~TCfgSPD117xFRM() override;

  void FormShow();
  void BitBtnOKClick();

  Spd117xConfigControls Controls() const;
  void SetControls(const Spd117xConfigControls& controls);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  ChipModel& model_;
  std::unique_ptr<Ui::TCfgSPD117xFRM> ui_;
};

}  // namespace qx
