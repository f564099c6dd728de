#pragma once
// Reply status codes. 0 and 6 are success; every other value is a failure.
#include <optional>
#include <string>

#include "base/Types.h"
#include "programmer/Frame.h"
#include "texts/TextId.h"

namespace qx {

// ResOk (0), ResPacketError (32) and ResCheckMismatch (35) come with the framing.
inline constexpr u8 ResArmFault = 4;
inline constexpr u8 ResAck = 6;
inline constexpr u8 ResArmFaultAlt = 7;
inline constexpr u8 ResChipNoResponse = 11;
inline constexpr u8 ResWriteProtected = 16;
inline constexpr u8 ResReadProtected = 19;
inline constexpr u8 ResCommandFailed = 21;
inline constexpr u8 ResUnknownCommand = 37;
inline constexpr u8 ResFlashError = 44;
inline constexpr u8 ResVerifyError = 49;
inline constexpr u8 ResChipChecksumMismatch = 52;
inline constexpr u8 ResChipError = 54;
inline constexpr u8 ResManufacturingError = 56;
inline constexpr u8 ResTimeout = 64;
inline constexpr u8 ResCommandError = 69;
inline constexpr u8 ResWriteSnError = 71;
inline constexpr u8 ResProtected = 90;
inline constexpr u8 ResInterfaceNoResponse = 96;
inline constexpr u8 ResUsbRxTimeout = 166;
inline constexpr u8 ResIdMismatch = 178;
inline constexpr u8 ResUsbCommError = 224;
inline constexpr u8 ResSocketDetectError = 250;
inline constexpr u8 ResSocketLifeExpired = 251;
inline constexpr u8 ResSocketNotIdentified = 253;

inline bool IsSuccess(u8 code) { return code == ResOk || code == ResAck; }

// The text of exactly this code, when it has one.
std::optional<TextId> ResultCodeTextId(u8 code);

// The line ReportUnitResult logs for a code: the code's own text, else the text of the code
// with bit 7 cleared, else the failure line with the code.
std::string ResultText(u8 code);

}  // namespace qx
