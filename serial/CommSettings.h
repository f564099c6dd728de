#pragma once
// The line settings of a serial component, as its properties hold them, and the settings a
// driver actually put in force.
#include <string>

#include "base/Types.h"

namespace qx {

enum class TDtrControl : u8 { DtrEnable, DtrDisable, DtrHandshake };
enum class TRtsControl : u8 { RtsEnable, RtsDisable, RtsHandshake, RtsTransmissionAvailable };
enum class TByteSize : u8 { _5, _6, _7, _8 };
enum class TParity : u8 { None, Odd, Even, Mark, Space };
enum class TStopBits : u8 { _1, _1_5, _2 };

// One field per property of TComm, with the component's defaults.
struct CommSettings {
  std::string CommName = "COM2";
  u32 BaudRate = 9600;
  bool ParityCheck = false;
  bool Outx_CtsFlow = false;
  bool Outx_DsrFlow = false;
  TDtrControl DtrControl = TDtrControl::DtrEnable;
  bool DsrSensitivity = false;
  bool TxContinueOnXoff = true;
  bool Outx_XonXoffFlow = true;
  bool Inx_XonXoffFlow = true;
  bool ReplaceWhenParityError = false;
  bool IgnoreNullChar = false;
  TRtsControl RtsControl = TRtsControl::RtsEnable;
  u16 XonLimit = 500;
  u16 XoffLimit = 500;
  TByteSize ByteSize = TByteSize::_8;
  TParity Parity = TParity::None;
  TStopBits StopBits = TStopBits::_1;
  u8 XonChar = 17;
  u8 XoffChar = 19;
  u8 ReplacedChar = 0;
  u32 ReadIntervalTimeout = 100;
  u32 ReadTotalTimeoutMultiplier = 0;
  u32 ReadTotalTimeoutConstant = 0;
  u32 WriteTotalTimeoutMultiplier = 0;
  u32 WriteTotalTimeoutConstant = 0;
};

// What the driver reports after the settings were applied. A driver may refuse some of
// them without an error; this is where that shows.
struct LineInForce {
  bool Known = false;  // false while closed, or when the driver reported nothing
  u32 BaudRate = 0;
  TByteSize ByteSize = TByteSize::_8;
  TParity Parity = TParity::None;
  TStopBits StopBits = TStopBits::_1;  // one and a half reads back as two
  bool ParityCheck = false;
  bool RtsCtsFlow = false;
  bool Outx_XonXoffFlow = false;
  bool Inx_XonXoffFlow = false;
  u8 XonChar = 0;
  u8 XoffChar = 0;
  // No echo, no canonical input, no signal characters, no CR/LF translation, no
  // stripping, no output processing: every byte passes unchanged.
  bool Raw = false;
};

}  // namespace qx
