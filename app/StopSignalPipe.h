#pragma once
// SIGTERM, SIGINT and SIGHUP from outside (a line script's time limit, Ctrl+C, a closed
// terminal) kept for the program to carry out as Exit does, instead of killing it with its
// log unwritten. main() makes one before anything else, so a stop that comes while the
// application and the window are still being built waits in the pipe until the event loop
// (or the start-up, when it is done) takes it. The handler only writes the signal's number
// into the pipe. One instance at a time; the old dispositions are restored when it goes.
#include <signal.h>

#include <array>

#include "serial/UniqueFd.h"

namespace qx {

class StopSignalPipe {
 public:
  static constexpr std::array<int, 3> Signals = {SIGTERM, SIGINT, SIGHUP};

  StopSignalPipe();
  ~StopSignalPipe();
  StopSignalPipe(const StopSignalPipe&) = delete;
  StopSignalPipe& operator=(const StopSignalPipe&) = delete;

  // False when no pipe could be made: the signals then keep their old dispositions.
  bool Installed() const { return static_cast<bool>(write_); }
  // Readable while a stop waits; -1 when not installed.
  int ReadFd() const { return read_.get(); }
  // The first signal that came since the last call, 0 for none; the pipe is left empty.
  int Take();

 private:
  UniqueFd read_;
  UniqueFd write_;
  std::array<struct sigaction, Signals.size()> previous_{};
};

}  // namespace qx
