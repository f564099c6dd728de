#pragma once
// SIGTERM, SIGINT and SIGHUP from outside (a line script's time limit, Ctrl+C, a closed
// terminal) end the program the way Exit does instead of killing it with its log unwritten.
// The handler only writes the signal's number into a pipe; a socket notifier hands it to the
// GUI thread, also while a modal box runs its own loop. One instance at a time; the old
// dispositions are restored when it goes.
#include <QObject>
#include <QSocketNotifier>
#include <array>
#include <functional>
#include <memory>
#include <signal.h>

#include "serial/UniqueFd.h"

namespace qx {

class StopSignals final : public QObject {
 public:
  // onStop runs on the GUI thread with the first signal's number, once.
  explicit StopSignals(std::function<void(int signo)> onStop);
  ~StopSignals() override;
  StopSignals(const StopSignals&) = delete;
  StopSignals& operator=(const StopSignals&) = delete;

  static constexpr std::array<int, 3> Signals = {SIGTERM, SIGINT, SIGHUP};

 private:
  void Drain();

  std::function<void(int)> onStop_;
  bool stopped_ = false;
  UniqueFd read_;
  UniqueFd write_;
  std::unique_ptr<QSocketNotifier> notifier_;
  std::array<struct sigaction, Signals.size()> previous_{};
};

}  // namespace qx
