#pragma once
// TComm owns one serial port with a reader and a writer thread. Every event runs on the
// owner's thread, delivered through the EventPoster given at construction; events of a
// port that has since been closed (or re-opened) are dropped.
#include <functional>
#include <memory>
#include <span>
#include <string>

#include "base/Types.h"
#include "serial/CommSettings.h"
#include "serial/CommsError.h"
#include "serial/EventPoster.h"

namespace qx {

class PortSession;
class CommEventSink;

class TComm {
 public:
  // The poster must outlive the component.
  explicit TComm(EventPoster& poster);
  ~TComm();  // closes the port first
  TComm(const TComm&) = delete;
  TComm& operator=(const TComm&) = delete;

  // Raises ECommsError on every failure and then stays closed with nothing left open. A
  // failure of the system carries its reason on a second line; a line setting the driver
  // did not take is such a failure. Asks USB adapters for low-latency mode.
  void OpenPort();
  // Stops and joins both threads, then closes the port; nothing when closed. Safe to call
  // from inside one of this component's event handlers.
  void ClosePort();
  // Returns at once: the bytes are written now when the port takes them without waiting,
  // else a copy is queued for the writer. True means written or queued, not yet sent.
  bool WriteData(std::span<const u8> bytes);
  bool IsOpen() const { return session_ != nullptr; }

  // Read back from the driver by OpenPort and by every re-application while open.
  const LineInForce& InForce() const { return inForce_; }

  // Used at the next open.
  const std::string& CommName() const { return s_.CommName; }
  void SetCommName(std::string name) { s_.CommName = std::move(name); }
  // Used at the next application of the line settings.
  TParity Parity() const { return s_.Parity; }
  void SetParity(TParity v) { s_.Parity = v; }

  // Each setter stores only a real change and, while open, re-applies the line settings;
  // what the driver then keeps shows in InForce().
  u32 BaudRate() const { return s_.BaudRate; }
  void SetBaudRate(u32 v) { ChangeLine(&CommSettings::BaudRate, v); }
  bool ParityCheck() const { return s_.ParityCheck; }
  void SetParityCheck(bool v) { ChangeLine(&CommSettings::ParityCheck, v); }
  bool Outx_CtsFlow() const { return s_.Outx_CtsFlow; }
  void SetOutx_CtsFlow(bool v) { ChangeLine(&CommSettings::Outx_CtsFlow, v); }
  bool Outx_DsrFlow() const { return s_.Outx_DsrFlow; }
  void SetOutx_DsrFlow(bool v) { ChangeLine(&CommSettings::Outx_DsrFlow, v); }
  TDtrControl DtrControl() const { return s_.DtrControl; }
  void SetDtrControl(TDtrControl v) { ChangeLine(&CommSettings::DtrControl, v); }
  bool DsrSensitivity() const { return s_.DsrSensitivity; }
  void SetDsrSensitivity(bool v) { ChangeLine(&CommSettings::DsrSensitivity, v); }
  bool TxContinueOnXoff() const { return s_.TxContinueOnXoff; }
  void SetTxContinueOnXoff(bool v) { ChangeLine(&CommSettings::TxContinueOnXoff, v); }
  bool Outx_XonXoffFlow() const { return s_.Outx_XonXoffFlow; }
  void SetOutx_XonXoffFlow(bool v) { ChangeLine(&CommSettings::Outx_XonXoffFlow, v); }
  bool Inx_XonXoffFlow() const { return s_.Inx_XonXoffFlow; }
  void SetInx_XonXoffFlow(bool v) { ChangeLine(&CommSettings::Inx_XonXoffFlow, v); }
  bool ReplaceWhenParityError() const { return s_.ReplaceWhenParityError; }
  void SetReplaceWhenParityError(bool v) { ChangeLine(&CommSettings::ReplaceWhenParityError, v); }
  bool IgnoreNullChar() const { return s_.IgnoreNullChar; }
  void SetIgnoreNullChar(bool v) { ChangeLine(&CommSettings::IgnoreNullChar, v); }
  TRtsControl RtsControl() const { return s_.RtsControl; }
  void SetRtsControl(TRtsControl v) { ChangeLine(&CommSettings::RtsControl, v); }
  u16 XonLimit() const { return s_.XonLimit; }
  void SetXonLimit(u16 v) { ChangeLine(&CommSettings::XonLimit, v); }
  u16 XoffLimit() const { return s_.XoffLimit; }
  void SetXoffLimit(u16 v) { ChangeLine(&CommSettings::XoffLimit, v); }
  TByteSize ByteSize() const { return s_.ByteSize; }
  void SetByteSize(TByteSize v) { ChangeLine(&CommSettings::ByteSize, v); }
  TStopBits StopBits() const { return s_.StopBits; }
  void SetStopBits(TStopBits v) { ChangeLine(&CommSettings::StopBits, v); }
  u8 XonChar() const { return s_.XonChar; }
  void SetXonChar(u8 v) { ChangeLine(&CommSettings::XonChar, v); }
  u8 XoffChar() const { return s_.XoffChar; }
  void SetXoffChar(u8 v) { ChangeLine(&CommSettings::XoffChar, v); }
  u8 ReplacedChar() const { return s_.ReplacedChar; }
  void SetReplacedChar(u8 v) { ChangeLine(&CommSettings::ReplacedChar, v); }

  // The time-outs are stored and read back, and change nothing on this platform: the reader
  // hands every chunk over as soon as it has arrived (within any read interval) and writes
  // never time out.
  u32 ReadIntervalTimeout() const { return s_.ReadIntervalTimeout; }
  void SetReadIntervalTimeout(u32 v) { ChangeTimeout(&CommSettings::ReadIntervalTimeout, v); }
  u32 ReadTotalTimeoutMultiplier() const { return s_.ReadTotalTimeoutMultiplier; }
  void SetReadTotalTimeoutMultiplier(u32 v) { ChangeTimeout(&CommSettings::ReadTotalTimeoutMultiplier, v); }
  u32 ReadTotalTimeoutConstant() const { return s_.ReadTotalTimeoutConstant; }
  void SetReadTotalTimeoutConstant(u32 v) { ChangeTimeout(&CommSettings::ReadTotalTimeoutConstant, v); }
  u32 WriteTotalTimeoutMultiplier() const { return s_.WriteTotalTimeoutMultiplier; }
  void SetWriteTotalTimeoutMultiplier(u32 v) { ChangeTimeout(&CommSettings::WriteTotalTimeoutMultiplier, v); }
  u32 WriteTotalTimeoutConstant() const { return s_.WriteTotalTimeoutConstant; }
  void SetWriteTotalTimeoutConstant(u32 v) { ChangeTimeout(&CommSettings::WriteTotalTimeoutConstant, v); }

  const CommSettings& Settings() const { return s_; }

  // Events; each runs only when assigned, with this component as sender.
  // Data: the bytes of one read, 1 to 2048, in arrival order; valid during the call.
  std::function<void(TComm& sender, std::span<const u8> data)> OnReceiveData;
  // Line-error flags: 0x01 receive overflow, 0x02 overrun, 0x04 parity, 0x08 framing, 0x10 break.
  std::function<void(TComm& sender, u32 eventMask)> OnReceiveError;
  // 8 for a carrier-detect change, 4 for a ring, 12 for both.
  std::function<void(TComm& sender, u32 modemEvent)> OnModemStateChange;
  // The port failed or went away (at most once per open); the owner is expected to close it.
  std::function<void(TComm& sender)> OnRequestHangup;
  // The send queue emptied (once after open, then once per emptying after a write). Only
  // posted while assigned: assign it before OpenPort or the write it is to follow.
  std::function<void(TComm& sender)> OnSendDataEmpty;

 private:
  friend class CommEventSink;

  template <typename T>
  void ChangeLine(T CommSettings::*field, T value) {
    if (s_.*field == value) return;
    s_.*field = value;
    if (IsOpen()) ApplyLineSettings();
  }
  template <typename T>
  void ChangeTimeout(T CommSettings::*field, T value) {
    if (s_.*field == value) return;
    s_.*field = value;
    if (IsOpen()) ApplyTimeouts();
  }
  void ApplyLineSettings();
  bool ApplyTimeouts();

  void DoReceiveData(std::span<const u8> data);
  void DoReceiveError(u32 eventMask);
  void DoModemStateChange(u32 modemEvent);
  void DoRequestHangup();
  void DoSendDataEmpty();

  EventPoster& poster_;
  CommSettings s_;
  LineInForce inForce_;
  // Events carry a weak reference to this; dropping it on close drops their delivery.
  std::shared_ptr<const int> alive_;
  std::unique_ptr<PortSession> session_;
};

// The line settings the main window gives every programmer unit's port: 1,000,000 baud,
// 8 data bits, no parity, 2 stop bits, no flow control, DTR and RTS off, 3 ms read interval.
void SetProgrammerLinePreset(TComm& comm);

}  // namespace qx
