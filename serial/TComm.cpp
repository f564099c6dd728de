#include "serial/TComm.h"

#include <termios.h>

#include <vector>

#include "serial/CommDevice.h"
#include "serial/LineSettings.h"
#include "serial/PortSession.h"
#include "texts/Texts.h"

namespace qx {

TComm::TComm(EventPoster& poster) : poster_(poster) {}

TComm::~TComm() { ClosePort(); }

void TComm::OpenPort() {
  if (IsOpen()) throw ECommsError(std::string(Text(TextId::CommAlreadyOpen)));

  CommOpenResult opened = OpenCommDevice(s_.CommName);
  switch (opened.failure) {
    case CommOpenFailure::None: break;
    case CommOpenFailure::CannotOpen: throw ECommsError(Tx(TextId::CommOpenError, s_.CommName));
    case CommOpenFailure::NotATerminal: throw ECommsError(std::string(Text(TextId::CommNotCommHandle)));
  }
  termios current{};
  if (::tcgetattr(opened.fd.get(), &current) != 0) {
    throw ECommsError(std::string(Text(TextId::CommSetupBufferError)));
  }
  (void)::tcflush(opened.fd.get(), TCIOFLUSH);

  auto alive = std::make_shared<const int>(0);
  const int fd = opened.fd.get();
  // Applied before the threads start, so the first byte read is already read raw.
  ApplyLineSettingsTo(fd, s_);
  inForce_ = ReadLineInForce(fd);
  session_ = std::make_unique<PortSession>(std::move(opened.fd), poster_, *this, alive, s_.IgnoreNullChar);
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
  return session_->Enqueue(std::vector<u8>(bytes.begin(), bytes.end()));
}

void TComm::ApplyLineSettings() {
  const int fd = session_->PortFd();
  ApplyLineSettingsTo(fd, s_);
  session_->SetIgnoreNullChar(s_.IgnoreNullChar);
  inForce_ = ReadLineInForce(fd);
}

bool TComm::ApplyTimeouts() {
  // The reader hands every chunk over as soon as it is read, which is within any read
  // interval, and writes never time out; a terminal has nothing more to take.
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
