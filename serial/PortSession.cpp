#include "serial/PortSession.h"

#include <sys/eventfd.h>
#include <sys/resource.h>
#include <termios.h>
#include <unistd.h>

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

void PortSession::SignalStop() {
  shared_->stopping = true;
  const std::uint64_t one = 1;
  (void)::write(shared_->stop.get(), &one, sizeof one);
}

}  // namespace qx
