#pragma once
// Runs every post on the GUI thread through Qt's queued invocation, in the order posted.
// Create it on the GUI thread; posts still queued when it is destroyed are dropped.
#include <QObject>

#include "serial/EventPoster.h"

namespace qx {

class QtEventPoster final : public EventPoster {
 public:
  QtEventPoster() = default;
  void post(std::function<void()> fn) override;

 private:
  QObject target_;
};

}  // namespace qx
