#include "app/ui/ModalLoopWatch.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

namespace qx {

ModalLoopWatch::ModalLoopWatch(ModalLoops& loops) : loops_(loops) {
  if (QCoreApplication* app = QCoreApplication::instance()) app->installEventFilter(this);
}

ModalLoopWatch::~ModalLoopWatch() {
  if (QCoreApplication* app = QCoreApplication::instance()) app->removeEventFilter(this);
}

bool ModalLoopWatch::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type == QEvent::Show) {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget != nullptr && widget->isWindow() && widget->isModal() && !shown_.contains(watched)) {
      // A window freed while shown may send no hide event of its own.
      shown_.emplace(watched, Shown{std::make_unique<ModalLoops::Scope>(loops_),
                                    connect(watched, &QObject::destroyed, this, [this](QObject* gone) { Release(gone); })});
    }
  } else if (type == QEvent::Hide) {
    Release(watched);
  }
  return false;
}

void ModalLoopWatch::Release(QObject* window) {
  const auto at = shown_.find(window);
  if (at == shown_.end()) return;
  disconnect(at->second.Freed);
  shown_.erase(at);
}

}  // namespace qx
