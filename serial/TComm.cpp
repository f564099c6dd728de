#include "serial/TComm.h"

#include <termios.h>

#include <cerrno>
#include <vector>

#include "serial/CommDevice.h"
#include "serial/LineSettings.h"
#include "serial/LowLatency.h"
#include "serial/PortSession.h"
#include "texts/Texts.h"

namespace qx {

TComm::TComm(EventPoster& poster) : poster_(poster) {}

TComm::~TComm() { ClosePort(); }

namespace {

// The designed text, then the system's reason on a line of its own.
ECommsError OpenError(std::string designed, const std::string& reason) {
  return ECommsError(designed + "\n" + reason);
}

}  // namespace

void TComm::OpenPort() {
  if (IsOpen()) throw ECommsError(std::string(Text(TextId::CommAlreadyOpen)));

  CommOpenResult opened = OpenCommDevice(s_.CommName);
  switch (opened.failure) {
    case CommOpenFailure::None: break;
    case CommOpenFailure::CannotOpen:
      throw OpenError(Tx(TextId::CommOpenError, s_.CommName), CommOpenReason(opened.error, CommDevicePath(s_.CommName)));
    case CommOpenFailure::NotATerminal: throw ECommsError(std::string(Text(TextId::CommNotCommHandle)));
  }
  const int fd = opened.fd.get();
  termios current{};
  if (::tcgetattr(fd, &current) != 0) {
    const int error = errno;
    throw OpenError(std::string(Text(TextId::CommSetupBufferError)), CommOpenReason(error, CommDevicePath(s_.CommName)));
  }
  (void)::tcflush(fd, TCIOFLUSH);

  // Applied before the threads start, so the first byte read is already read raw. A driver
  // that takes a setting without an error may still have kept another one (a rate it does
  // not have, a framing it cannot do): the port would run at the wrong line.
  ApplyLineSettingsTo(fd, s_);
  const LineInForce inForce = ReadLineInForce(fd);
  if (const auto refusal = LineRefusal(ExpectedLineInForce(s_), inForce)) {
    throw OpenError(std::string(Text(TextId::CommSetupBufferError)), *refusal);
  }
  (void)RequestLowLatency(fd);

  auto alive = std::make_shared<const int>(0);
  session_ = std::make_unique<PortSession>(std::move(opened.fd), poster_, *this, alive, s_.IgnoreNullChar,
                                           static_cast<bool>(OnSendDataEmpty));
  inForce_ = inForce;
  alive_ = std::move(alive);
  ApplyTimeouts();
}

void TComm::ClosePort() {
  if (!IsOpen()) return;
  alive_.reset();    // what the threads posted before now is never delivered
  session_.reset();  // joins both threads, then closes the port
  inForce_ = LineInForce{};
}

bool TComm::WriteData(std::span<const u8> bytes) {
  if (!IsOpen() || bytes.empty()) return false;
  session_->SetNotifySendEmpty(static_cast<bool>(OnSendDataEmpty));
  return session_->Write(bytes);
}

void TComm::ApplyLineSettings() {
  const int fd = session_->PortFd();
  ApplyLineSettingsTo(fd, s_);
  session_->SetIgnoreNullChar(s_.IgnoreNullChar);
  inForce_ = ReadLineInForce(fd);
}

bool TComm::ApplyTimeouts() {
  // Nothing to apply: the reader hands every chunk over as soon as it is read, which is
  // within any read interval, and writes never time out.
  return IsOpen();
}

void TComm::DoReceiveData(std::span<const u8> data) {
  if (OnReceiveData) OnReceiveData(*this, data);
}

void TComm::DoReceiveError(u32 eventMask) {
  if (OnReceiveError) OnReceiveError(*this, eventMask);
}

void TComm::DoModemStateChange(u32 modemEvent) {
  if (OnModemStateChange) OnModemStateChange(*this, modemEvent);
}

void TComm::DoRequestHangup() {
  if (OnRequestHangup) OnRequestHangup(*this);
}

void TComm::DoSendDataEmpty() {
  if (OnSendDataEmpty) OnSendDataEmpty(*this);
}

}  // namespace qx
