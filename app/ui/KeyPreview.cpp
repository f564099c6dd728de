#include "app/ui/KeyPreview.h"

#include <QChildEvent>
#include <QKeyEvent>
#include <QMenuBar>
#include <QWidget>

namespace qx {

KeyPreview::KeyPreview(QWidget& window, std::function<void()> onStartKey)
    : window_(window), onStartKey_(std::move(onStartKey)) {
  Watch(window_);
}

void KeyPreview::Watch(QObject& object) {
  object.installEventFilter(this);
  for (QObject* child : object.children()) {
    // Dialogs and menus parented to the window are windows of their own.
    if (auto* w = qobject_cast<QWidget*>(child); w != nullptr && w->isWindow()) continue;
    Watch(*child);
  }
}

bool KeyPreview::IsStartKey(const QKeyEvent& event) {
  const int key = event.key();
  if (key != Qt::Key_Space && key != Qt::Key_Return && key != Qt::Key_Enter) return false;
  return (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) == 0;
}

bool KeyPreview::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::ChildAdded) {
    QObject* child = static_cast<QChildEvent*>(event)->child();
    if (auto* w = qobject_cast<QWidget*>(child); child != nullptr && (w == nullptr || !w->isWindow())) Watch(*child);
    return false;
  }
  if (event->type() != QEvent::KeyPress) return false;
  auto* widget = qobject_cast<QWidget*>(watched);
  // The menu bar's own keyboard navigation keeps Enter and Space.
  if (widget == nullptr || widget->window() != &window_ || qobject_cast<QMenuBar*>(widget) != nullptr) return false;
  const auto& key = *static_cast<QKeyEvent*>(event);
  if (!IsStartKey(key)) return false;
  if (!key.isAutoRepeat() && onStartKey_) onStartKey_();
  return true;
}

}  // namespace qx
