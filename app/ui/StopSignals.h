#pragma once
// Carries out the stops of a StopSignalPipe on the GUI thread: a socket notifier hands each
// to the event loop, also while a modal box runs its own loop, and one that came before any
// loop ran is taken when the start-up asks (CarryOutPending).
#include <QObject>
#include <QSocketNotifier>
#include <functional>
#include <memory>

#include "app/StopSignalPipe.h"

namespace qx {

class StopSignals final : public QObject {
 public:
  // onStop runs on the GUI thread with the first signal's number, once.
  StopSignals(StopSignalPipe& pipe, std::function<void(int signo)> onStop);
  StopSignals(const StopSignals&) = delete;
  StopSignals& operator=(const StopSignals&) = delete;

  // Runs onStop now when a stop waits in the pipe; true once onStop has run.
  bool CarryOutPending();

 private:
  StopSignalPipe& pipe_;
  std::function<void(int)> onStop_;
  bool stopped_ = false;
  std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace qx
