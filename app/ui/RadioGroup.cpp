#include "app/ui/RadioGroup.h"

#include <QRadioButton>

namespace qx {

TRadioGroup::TRadioGroup(QWidget* parent) : QGroupBox(parent) {}

QList<QRadioButton*> TRadioGroup::Items() const { return findChildren<QRadioButton*>(Qt::FindDirectChildrenOnly); }

int TRadioGroup::ItemIndex() const {
  const auto items = Items();
  for (qsizetype i = 0; i < items.size(); ++i)
    if (items[i]->isChecked()) return static_cast<int>(i);
  return -1;
}

void TRadioGroup::SetItemIndex(int index) {
  const auto items = Items();
  for (qsizetype i = 0; i < items.size(); ++i) {
    QRadioButton* b = items[i];
    const bool on = i == index;
    if (b->isChecked() == on) continue;
    // Auto-exclusive buttons refuse to uncheck the checked one.
    b->setAutoExclusive(false);
    b->setChecked(on);
    b->setAutoExclusive(true);
  }
}

void TRadioGroup::SetItemTexts(std::span<const QString> texts) {
  const auto items = Items();
  for (qsizetype i = 0; i < items.size() && static_cast<std::size_t>(i) < texts.size(); ++i)
    items[i]->setText(texts[static_cast<std::size_t>(i)]);
}

}  // namespace qx
