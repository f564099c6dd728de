#include "programmer/UnitStepTarget.h"

#include <algorithm>

#include "programmer/RequestLayout.h"
#include "programmer/ResultCode.h"
#include "programmer/UnitStepFramework.h"
#include "texts/Texts.h"

namespace qx {

void OpenStep(UnitSessions& s, u8 k, const StepOpening& opening) {
  auto& u = s.Unit[k];
  u.StepState = opening.Step;
  if (opening.GaugeRun.has_value()) u.GaugeRun = *opening.GaugeRun ? 1 : 0;
  AddUnitInfoLine(s, k, opening.Text);
  BeginUnitStep(s, k, opening.Ticks, opening.Length, opening.BlockMode);
}

void AdvanceBlockGauge(UnitSessions& s, u8 k, int lead) {
  auto& u = s.Unit[k];
  u.BlockIndex = static_cast<u16>(u.BlockIndex + 4);
  SetGaugeProgress(s, k, u.BlockIndex + lead);
}

StepOpening BlockStepOpening(u8 step, std::string_view text, u32 length) {
  return {.Step = step, .Text = text, .Length = length, .BlockMode = true, .GaugeRun = false};
}

void StartBlockStep(UnitSessions& s, u8 k, u8 step, std::string_view text, u32 length, BlockSender send) {
  OpenStep(s, k, BlockStepOpening(step, text, length));
  SendFirstBlock(s, k, send);
}

void SendFirstBlock(UnitSessions& s, u8 k, BlockSender send) {
  if (RefuseWithoutDriver(s, k)) return;
  send(s, k);
}

bool SendNextBlockOrDone(UnitSessions& s, u8 k, int lead, BlockSender send) {
  AdvanceBlockGauge(s, k, lead);
  const auto& u = s.Unit[k];
  if (u.BlockIndex >= u.BlockCount) return true;
  send(s, k);
  return false;
}

bool RefuseWithoutDriver(UnitSessions& s, u8 k) {
  const ChipParams& p = s.Model.Params;
  if (!p.UseFlashDriver || s.Wire.Driver.DriverLoaded) return false;
  if (!StepCarriesDriver(s.Unit[k].StepState, p.FamilyCode)) return false;
  AddUnitInfoLine(s, k, Text(TextId::DriverNotLoadedStop));
  EndUnitStep(s, k, true);
  return true;
}

std::span<const u8> ReplyPayloadOrFail(UnitSessions& s, u8 k, std::size_t need) {
  const std::size_t have = s.Unit[k].ReplyPayloadBytes;
  // A handler with nothing to read still needs a byte: the span is empty only on failure.
  if (have < std::max<std::size_t>(need, 1)) {
    ReportUnitResult(s, k, ResPacketError);
    return {};
  }
  return ReplyPayload(s, k);
}

std::span<const u8> ReplyPayload(const UnitSessions& s, u8 k) {
  return std::span<const u8>(s.Wire.Units[k].PacketBuf).subspan(PacketHeaderSize, s.Unit[k].ReplyPayloadBytes);
}

}  // namespace qx
