#include "app/ui/AboutForm.h"

#include <QScreen>
#include <QStyle>

#include "app/ui/QtText.h"
#include "ui_AboutForm.h"

namespace qx {

TAboutForm::TAboutForm(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Ui::AboutForm>()) {
  ui_->setupUi(this);
  setWindowTitle(QtText(TextId::WndAboutCaption));
  ui_->LabelTilA->setText(QtText(TextId::ProgramTitle));
  ui_->LabelVersion->setText(QtText(TextId::WndAboutVersion));
  ui_->OKButton->setText(QtText(TextId::WndAboutOk));
}

TAboutForm::~TAboutForm() = default;

QLabel& TAboutForm::LabelTilA() { return *ui_->LabelTilA; }

void TAboutForm::showEvent(QShowEvent* event) {
  // Centred on the desktop, not on the main window.
  if (const QScreen* s = screen()) setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(), s->availableGeometry()));
  QDialog::showEvent(event);
}

}  // namespace qx
