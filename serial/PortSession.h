#pragma once
// One open port: its descriptor, the stop signal, the write queue and the two threads.
// Destroying it stops and joins both threads before the descriptor is closed.
#include <atomic>
#include <memory>
#include <span>
#include <thread>
#include <vector>

#include "base/Types.h"
#include "serial/CommEventSink.h"
#include "serial/UniqueFd.h"
#include "serial/WriteQueue.h"

namespace qx {

inline constexpr std::size_t kReadChunkSize = 2048;

// What both threads share; fixed for the life of the session but for the atomics and the
// queue.
struct PortShared {
  PortShared(UniqueFd portFd, UniqueFd stopFd, UniqueFd wakeFd, EventPoster& poster, TComm& owner,
             std::weak_ptr<const int> alive, bool ignoreNullChar, bool notifySendEmpty)
      : port(std::move(portFd)),
        stop(std::move(stopFd)),
        sink(poster, owner, std::move(alive)),
        queue(std::move(wakeFd)),
        ignoreNull(ignoreNullChar),
        notifyEmpty(notifySendEmpty) {}

  UniqueFd port;
  UniqueFd stop;  // eventfd; once signalled it stays readable, so both threads see it
  CommEventSink sink;
  WriteQueue queue;
  std::atomic<bool> stopping{false};
  std::atomic<bool> ignoreNull;
  std::atomic<bool> notifyEmpty;  // the owner handles the send queue's emptying
};

void RunReader(PortShared& shared);
void RunWriter(PortShared& shared);
// Best effort: raising priority needs privileges we may lack.
void RaiseThreadPriority(int nice);

class PortSession {
 public:
  // Raises ECommsError when the stop signal or a thread cannot be made; the port is then
  // closed again.
  PortSession(UniqueFd port, EventPoster& poster, TComm& owner, std::weak_ptr<const int> alive,
              bool ignoreNullChar, bool notifySendEmpty);
  ~PortSession();
  PortSession(const PortSession&) = delete;
  PortSession& operator=(const PortSession&) = delete;

  int PortFd() const { return shared_->port.get(); }
  // Written at once when the writer is idle and the port takes it all (no hand-over, no
  // copy); what the port does not take, or anything while the writer is busy, is queued for
  // the writer. False once the writer has ended.
  bool Write(std::span<const u8> bytes);
  void SetIgnoreNullChar(bool on) { shared_->ignoreNull = on; }
  void SetNotifySendEmpty(bool on) { shared_->notifyEmpty.store(on, std::memory_order_relaxed); }

 private:
  void SignalStop();

  std::unique_ptr<PortShared> shared_;
  std::thread reader_;
  std::thread writer_;
};

}  // namespace qx
