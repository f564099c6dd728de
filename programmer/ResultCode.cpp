#include "programmer/ResultCode.h"

#include "texts/Texts.h"

namespace qx {

std::optional<TextId> ResultCodeTextId(u8 code) {
  switch (code) {
    case ResOk:
    case ResAck: return TextId::ResTextSuccess;
    case ResArmFault:
    case ResArmFaultAlt: return TextId::ResTextArmFault;
    case ResChipNoResponse: return TextId::ResTextChipNoResponse;
    case ResWriteProtected: return TextId::ResTextWriteProtected;
    case ResReadProtected: return TextId::ResTextReadProtected;
    case ResCommandFailed: return TextId::ResTextCommandFailed;
    case ResPacketError: return TextId::ResTextPacketError;
    case ResUnknownCommand: return TextId::ResTextUnknownCommand;
    case ResFlashError: return TextId::ResTextFlashError;
    case ResVerifyError: return TextId::ResTextVerifyError;
    case ResChipChecksumMismatch: return TextId::ResTextChipChecksumMismatch;
    case ResChipError: return TextId::ResTextChipError;
    case ResManufacturingError: return TextId::ResTextManufacturingError;
    case ResTimeout: return TextId::ResTextTimeout;
    case ResCommandError: return TextId::ResTextCommandError;
    case ResWriteSnError: return TextId::ResTextWriteSnError;
    case ResInterfaceNoResponse: return TextId::ResTextInterfaceNoResponse;
    case ResUsbRxTimeout: return TextId::ResTextUsbRxTimeout;
    case ResIdMismatch: return TextId::ResTextIdMismatch;
    case ResUsbCommError: return TextId::ResTextUsbCommError;
    case ResSocketDetectError: return TextId::ResTextSocketDetectError;
    case ResSocketLifeExpired: return TextId::ResTextSocketLifeExpired;
    case ResSocketNotIdentified: return TextId::ResTextSocketNotIdentified;
    default: return std::nullopt;
  }
}

std::string ResultText(u8 code) {
  if (IsSuccess(code)) return std::string(Text(TextId::ResTextSuccess));
  if (code >= 128) {
    if (auto whole = ResultCodeTextId(code)) return std::string(Text(*whole));
  }
  // The unit sets bit 7 on some codes; the low seven bits still name the fault. Codes 0 and
  // 6 themselves are success, but 0x80 and 0x86 are not, so they fall to the failure line.
  const u8 low = static_cast<u8>(code & 0x7F);
  if (!IsSuccess(low)) {
    if (auto lowText = ResultCodeTextId(low)) return std::string(Text(*lowText));
  }
  return Tx(TextId::ResTextFailedWithCode, code, code);
}

}  // namespace qx
