#include "app/ui/ControlText.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QStackedWidget>
#include <QTabWidget>

namespace qx {

void SetComboText(QComboBox& combo, const QString& text) {
  const int index = combo.findText(text);
  if (index < 0) combo.setPlaceholderText(text);
  combo.setCurrentIndex(index);
}

bool SetControlText(QObject& control, const QString& text) {
  if (auto* b = qobject_cast<QAbstractButton*>(&control)) {
    b->setText(text);
  } else if (auto* l = qobject_cast<QLabel*>(&control)) {
    l->setText(text);
  } else if (auto* g = qobject_cast<QGroupBox*>(&control)) {
    g->setTitle(text);
  } else if (auto* e = qobject_cast<QLineEdit*>(&control)) {
    e->setText(text);
  } else if (auto* c = qobject_cast<QComboBox*>(&control)) {
    SetComboText(*c, text);
  } else if (auto* m = qobject_cast<QMenu*>(&control)) {
    m->setTitle(text);
  } else if (auto* a = qobject_cast<QAction*>(&control)) {
    a->setText(text);
  } else {
    return false;
  }
  return true;
}

QTabWidget* TabsOf(QWidget& page) {
  QWidget* stack = page.parentWidget();
  if (qobject_cast<QStackedWidget*>(stack) == nullptr) return nullptr;
  auto* tabs = qobject_cast<QTabWidget*>(stack->parentWidget());
  return tabs != nullptr && tabs->indexOf(&page) >= 0 ? tabs : nullptr;
}

bool SetCaption(QObject& control, const QString& text) {
  if (auto* page = qobject_cast<QWidget*>(&control)) {
    if (QTabWidget* tabs = TabsOf(*page)) {
      tabs->setTabText(tabs->indexOf(page), text);
      return true;
    }
  }
  return SetControlText(control, text);
}

}  // namespace qx
