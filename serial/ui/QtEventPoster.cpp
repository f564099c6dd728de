#include "serial/ui/QtEventPoster.h"

#include <QMetaObject>

namespace qx {

void QtEventPoster::post(std::function<void()> fn) {
  QMetaObject::invokeMethod(&target_, std::move(fn), Qt::QueuedConnection);
}

}  // namespace qx
