#include "app/ui/AboutForm.h"

#include <QScreen>
#include <QStyle>

#include "ui_AboutForm.h"

#include "texts/Texts.h"

namespace qx {

namespace {
QString Q(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }
}  // namespace

TAboutForm::TAboutForm(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Ui::AboutForm>()) {
  ui_->setupUi(this);
  setWindowTitle(Q(Text(TextId::WndAboutCaption)));
  ui_->LabelTilA->setText(Q(Text(TextId::ProgramTitle)));
  ui_->LabelVersion->setText(Q(Text(TextId::WndAboutVersion)));
  ui_->OKButton->setText(Q(Text(TextId::WndAboutOk)));
}

TAboutForm::~TAboutForm() = default;

QLabel& TAboutForm::LabelTilA() { return *ui_->LabelTilA; }

void TAboutForm::showEvent(QShowEvent* event) {
  // Centred on the desktop, not on the main window.
  if (const QScreen* s = screen()) setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(), s->availableGeometry()));
  QDialog::showEvent(event);
}

}  // namespace qx
