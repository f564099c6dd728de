#pragma once
// The About box: the program's title, its version and a picture; a button closes it. It
// is created once at start-up and shown again each time.
#include <QDialog>
#include <memory>

class QLabel;
namespace Ui {
class AboutForm;
}

namespace qx {

class TAboutForm : public QDialog {
  Q_OBJECT

 public:
  explicit TAboutForm(QWidget* parent = nullptr);
  ~TAboutForm() override;

  QLabel& LabelTilA();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  std::unique_ptr<Ui::AboutForm> ui_;
};

}  // namespace qx
