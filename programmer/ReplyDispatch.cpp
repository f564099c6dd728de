#include "programmer/ReplyDispatch.h"

#include "base/ByteOrder.h"
#include "programmer/CommandCodes.h"
#include "programmer/DownloadChain.h"
#include "programmer/FirmwareUpgrade.h"
#include "programmer/Frame.h"
#include "programmer/OnlineChains.h"
#include "programmer/ResultCode.h"
#include "programmer/UnitStepFramework.h"
#include "texts/Texts.h"

namespace qx {
namespace {

using Handler = void (*)(UnitSessions&, u8 k, u8 code);

Handler HandlerOf(u8 step, u8 k) {
  switch (step) {
    case StepDownloadChipData: return HandleDownloadChipDataResult;
    case StepDownloadMain: return HandleDownloadMainResult;
    case StepDownloadEep: return HandleDownloadEepResult;
    case StepDownloadDriver: return HandleDownloadDriverResult;
    case StepBlankCheck: return HandleBlankCheckResult;
    case StepErase: return HandleEraseResult;
    case StepProgramMain: return HandleProgramMainResult;
    case StepProgramEep: return HandleProgramEepResult;
    case StepWriteOption: return HandleWriteOptionResult;
    case StepVerifyMain: return HandleVerifyMainResult;
    case StepVerifyEep: return HandleVerifyEepResult;
    case StepReadMain: return HandleReadMainResult;
    case StepReadEep: return HandleReadEepResult;
    case StepReadChecksum: return HandleReadChecksumResult;
    case StepReadOption: return HandleReadOptionResult;
    case StepReadChipInfo: return k == 0 ? HandleReadChipInfoResult : nullptr;
    case StepReadAddress: return k == 0 ? HandleReadAddressResult : nullptr;
    case StepFirmwareUpgrade: return HandleFirmwareBlockResult;
    default: return nullptr;
  }
}

// The kind of reply a step's request asks for: a status, the chip's bytes, or either.
enum class Awaits { Status, Data, Either };

Awaits ReplyKindOf(u8 step) {
  switch (step) {
    case StepDownloadChipData:
    case StepDownloadMain:
    case StepDownloadEep:
    case StepDownloadDriver:
    case StepBlankCheck:
    case StepErase:
    case StepProgramMain:
    case StepProgramEep:
    case StepWriteOption: return Awaits::Status;
    case StepVerifyMain:
    case StepVerifyEep:
    case StepReadMain:
    case StepReadEep:
    case StepReadChecksum:
    case StepReadChipInfo: return Awaits::Data;
    default: return Awaits::Either;
  }
}

}  // namespace

void DispatchReplyFrame(UnitSessions& s, u8 k, u16 frameLength) {
  auto& buf = s.Wire.Units[k];
  const auto decoded = DecodeFrame(std::span<const u8>(buf.RxFrameBuf).first(frameLength), buf.PacketBuf);
  // Reporting the result ends the step: once, whatever step the unit was in.
  if (decoded.Status != ResOk) return ReportUnitResult(s, k, decoded.Status);
  const auto packet = std::span<const u8>(buf.PacketBuf).first(decoded.Length);
  u8 code = VerifyReply(packet);
  if (packet[0] == PktProgressReport) return HandleProgressReport(s, k);
  auto& u = s.Unit[k];
  // A reply of the other kind than the step asked for answers nothing: a data reply (0 from
  // VerifyReply) is no "done", a status 0 or 6 carries no chip bytes. A failure code stays.
  const Awaits awaits = ReplyKindOf(u.StepState);
  const bool data = IsDataReply(packet);
  if (IsSuccess(code) && ((awaits == Awaits::Status && data) || (awaits == Awaits::Data && !data))) {
    code = ResPacketError;
  }

  // What the reply carried between its header and its check word. Its PayloadLength field
  // only tells a status reply from a data reply (VerifyReply); the handlers read no further
  // than the bytes that came.
  u.ReplyPayloadBytes = static_cast<u16>(decoded.Length > PacketOverhead ? decoded.Length - PacketOverhead : 0);
  if (const Handler h = HandlerOf(u.StepState, k)) h(s, k, code);
}

void DispatchStaleFrame(UnitSessions& s, u8 k, u16 frameLength) {
  auto& buf = s.Wire.Units[k];
  const auto decoded = DecodeFrame(std::span<const u8>(buf.RxFrameBuf).first(frameLength), buf.PacketBuf);
  // A frame that cannot be read still ends the step, as any other does.
  if (decoded.Status != ResOk) return ReportUnitResult(s, k, decoded.Status);
  if (buf.PacketBuf[0] == PktProgressReport) HandleProgressReport(s, k);
}

void HandleProgressReport(UnitSessions& s, u8 k) {
  const auto r = std::span<const u8>(s.Wire.Units[k].PacketBuf).first(8);
  u8 sum = 0;
  for (const u8 b : r) sum = static_cast<u8>(sum + b);
  if (sum != 0) return;
  const u8 result = r[2];
  const i32 total = GetLe16(r, 5);
  auto& u = s.Unit[k];
  auto phaseLine = [&](TextId id, i32 progress, i32 max, bool running) {
    AddUnitInfoLine(s, k, Text(id));
    SetGaugeProgress(s, k, progress);
    SetGaugeMax(s, k, max);
    if (running) SetGaugeState(s, k, GaugeState::Running);
  };
  switch (r[1]) {
    case PhaseInitInterface:
      s.Log.AddLine("");
      return phaseLine(TextId::PhaseInitInterfaceLine, 5, 100, true);
    case PhaseBlankCheck: return phaseLine(TextId::PhaseBlankCheckLine, 50, 100, false);
    case PhaseErase: return phaseLine(TextId::PhaseEraseLine, 50, 100, false);
    case PhaseVerifyMain: return phaseLine(TextId::PhaseVerifyMainLine, 50, 100, true);
    case PhaseVerifyEep: return phaseLine(TextId::PhaseVerifyEepLine, 50, 100, false);
    case PhaseProgramOption: return phaseLine(TextId::PhaseProgramOptionLine, 50, 100, false);
    case PhaseProgramMain:
    case PhaseProgramEep: {
      const i32 current = GetLe16(r, 3);
      const bool main = r[1] == PhaseProgramMain;
      // Logged once at the start of the phase; later reports only move the gauge.
      if (current == 0) AddUnitInfoLine(s, k, Text(main ? TextId::PhaseProgramMainLine : TextId::PhaseProgramEepLine));
      SetGaugeProgress(s, k, current + 2);
      SetGaugeMax(s, k, total);
      if (main) SetGaugeState(s, k, GaugeState::Running);
      return;
    }
    case PhaseCompleted: {
      std::string line(Text(TextId::PhaseCompletedLine));
      if (result == ResAck) {
        line += Text(TextId::PhaseCompletedGood);
        ++u.OkCount;
        SetGaugeState(s, k, GaugeState::Ok);
      } else {
        ++u.NgCount;
        SetGaugeState(s, k, GaugeState::Failed);
        line += Tx(TextId::PhaseCompletedBad, result);
      }
      AddUnitInfoLine(s, k, line);
      AddUnitInfoLine(s, k, Tx(TextId::UnitOkNgCounts, u.OkCount, u.NgCount));
      SetGaugeProgress(s, k, u.Gauge.Max);
      return;
    }
    default: return;
  }
}

}  // namespace qx
