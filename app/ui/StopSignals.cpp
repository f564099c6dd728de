#include "app/ui/StopSignals.h"

namespace qx {

StopSignals::StopSignals(StopSignalPipe& pipe, std::function<void(int)> onStop)
    : pipe_(pipe), onStop_(std::move(onStop)) {
  if (!pipe_.Installed()) return;
  notifier_ = std::make_unique<QSocketNotifier>(pipe_.ReadFd(), QSocketNotifier::Read);
  QObject::connect(notifier_.get(), &QSocketNotifier::activated, this, [this] { CarryOutPending(); });
}

bool StopSignals::CarryOutPending() {
  const int signo = pipe_.Take();
  if (signo != 0 && !stopped_) {
    stopped_ = true;
    if (onStop_) onStop_(signo);
  }
  return stopped_;
}

}  // namespace qx
