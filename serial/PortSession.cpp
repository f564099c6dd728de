#include "serial/PortSession.h"

#include <sys/eventfd.h>
#include <sys/resource.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <string>
#include <system_error>

#include "serial/CommsError.h"
#include "texts/Texts.h"

namespace qx {
namespace {

[[noreturn]] void Raise(TextId id) { throw ECommsError(std::string(Text(id))); }

UniqueFd MakeEventFd() { return UniqueFd(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)); }

}  // namespace

void RaiseThreadPriority(int nice) {
  (void)::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), nice);
}

PortSession::PortSession(UniqueFd port, EventPoster& poster, TComm& owner, std::weak_ptr<const int> alive,
                         bool ignoreNullChar, bool notifySendEmpty) {
  UniqueFd stop = MakeEventFd();
  UniqueFd wake = MakeEventFd();
  if (!stop || !wake) Raise(TextId::CommCreateEventError);
  shared_ = std::make_unique<PortShared>(std::move(port), std::move(stop), std::move(wake), poster, owner,
                                         std::move(alive), ignoreNullChar, notifySendEmpty);
  try {
    reader_ = std::thread(RunReader, std::ref(*shared_));
  } catch (const std::system_error&) {
    Raise(TextId::CommCreateReadThreadError);
  }
  try {
    writer_ = std::thread(RunWriter, std::ref(*shared_));
  } catch (const std::system_error&) {
    SignalStop();
    reader_.join();
    Raise(TextId::CommCreateWriteThreadError);
  }
}

PortSession::~PortSession() {
  SignalStop();
  // Neither thread ever blocks but in poll() on the stop signal, so these joins end.
  reader_.join();
  writer_.join();
  (void)::tcflush(shared_->port.get(), TCIOFLUSH);
}

bool PortSession::Write(std::span<const u8> bytes) {
  PortShared& sh = *shared_;
  if (sh.queue.Idle()) {
    for (;;) {
      const ssize_t n = ::write(sh.port.get(), bytes.data(), bytes.size());
      if (n < 0 && errno == EINTR) continue;
      // A failure is the writer's to meet and report, with what is left.
      if (n > 0) bytes = bytes.subspan(static_cast<std::size_t>(n));
      break;
    }
    if (bytes.empty()) {
      if (sh.notifyEmpty.load(std::memory_order_relaxed)) sh.sink.SendDataEmpty();
      return true;
    }
  }
  return sh.queue.Push(std::vector<u8>(bytes.begin(), bytes.end()));
}

void PortSession::SignalStop() {
  shared_->stopping = true;
  const std::uint64_t one = 1;
  (void)::write(shared_->stop.get(), &one, sizeof one);
}

}  // namespace qx
