#include <QAbstractButton>
#include <QAction>
#include <QMenu>
#include <QTabWidget>
#include <algorithm>
#include <optional>
#include <vector>

#include "app/ui/ControlText.h"
#include "app/ui/GenMFrmARM.h"
#include "app/ui/QtText.h"
#include "app/ui/RadioGroup.h"
#include "chips/WindowChanges.h"
#include "ui_GenMFrmARM.h"

namespace qx {

namespace {


std::optional<QString> TextOf(const ControlChange& c) {
  if (c.Text) return QString::fromStdString(*c.Text);
  if (c.Caption) return QtText(*c.Caption);
  return std::nullopt;
}

void ApplyToMenu(QMenu& menu, const ControlChange& c) {
  if (c.Visible) menu.menuAction()->setVisible(*c.Visible);
  if (c.Enabled) {
    // A disabled QMenu leaves its actions' shortcuts working: disable them as well.
    menu.setEnabled(*c.Enabled);
    menu.menuAction()->setEnabled(*c.Enabled);
    for (QAction* a : menu.actions())
      if (!a->isSeparator()) a->setEnabled(*c.Enabled);
  }
  if (auto text = TextOf(c)) menu.setTitle(*text);
}

void ApplyToAction(QAction& action, const ControlChange& c) {
  if (c.Visible) action.setVisible(*c.Visible);
  if (c.Enabled) action.setEnabled(*c.Enabled);
  if (c.Checked && action.isCheckable()) action.setChecked(*c.Checked);
  if (auto text = TextOf(c)) action.setText(*text);
}

// Pages selected while their tab was hidden, waiting for their tab to be shown.
using PendingPages = std::vector<QWidget*>;

void DropPending(PendingPages& pending, const QTabWidget& tabs) {
  std::erase_if(pending, [&tabs](QWidget* p) { return tabs.indexOf(p) >= 0; });
}

// A page selected while its tab is hidden comes to the front only when a later change of
// the same list shows its tab; until then, and if none does, the page control stays where
// it is: a page in front without its tab could not be left by the operator.
void ApplyToPage(QTabWidget& tabs, QWidget& page, const ControlChange& c, PendingPages& pending) {
  const int index = tabs.indexOf(&page);
  if (c.Visible) {
    tabs.setTabVisible(index, *c.Visible);
    if (*c.Visible && std::find(pending.begin(), pending.end(), &page) != pending.end()) {
      DropPending(pending, tabs);
      tabs.setCurrentIndex(index);
    }
  }
  if (c.Enabled) tabs.setTabEnabled(index, *c.Enabled);
  if (c.Selected && *c.Selected) {
    DropPending(pending, tabs);
    if (tabs.isTabVisible(index))
      tabs.setCurrentIndex(index);
    else
      pending.push_back(&page);
  }
  if (auto text = TextOf(c)) tabs.setTabText(index, *text);
}

void ApplyToWidget(QWidget& w, const ControlChange& c) {
  if (c.Visible) w.setVisible(*c.Visible);
  if (c.Enabled) w.setEnabled(*c.Enabled);
  if (c.Checked) {
    // Set as a state, not clicked: no click handler runs.
    if (auto* b = qobject_cast<QAbstractButton*>(&w); b != nullptr && b->isCheckable()) b->setChecked(*c.Checked);
  }
  if (c.ItemIndex) {
    if (auto* group = qobject_cast<TRadioGroup*>(&w)) group->SetItemIndex(*c.ItemIndex);
  }
  if (auto text = TextOf(c)) SetControlText(w, *text);
}

}  // namespace

std::vector<std::string> TGenMFrmARM::ApplyWindowChanges(const WindowChanges& changes) {
  std::vector<std::string> unknown;
  PendingPages pending;
  for (const ControlChange& c : changes) {
    QObject* target = FindControl(c.Name);
    if (auto* menu = qobject_cast<QMenu*>(target)) {
      ApplyToMenu(*menu, c);
    } else if (auto* action = qobject_cast<QAction*>(target)) {
      ApplyToAction(*action, c);
    } else if (auto* w = qobject_cast<QWidget*>(target)) {
      if (QTabWidget* tabs = TabsOf(*w))
        ApplyToPage(*tabs, *w, c, pending);
      else
        ApplyToWidget(*w, c);
    } else {
      unknown.emplace_back(c.Name);
    }
  }
  return unknown;
}

}  // namespace qx
