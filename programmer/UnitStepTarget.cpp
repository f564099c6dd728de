#include "programmer/UnitStepTarget.h"

#include <algorithm>

#include "programmer/FlashDriver.h"
#include "programmer/ResultCode.h"
#include "programmer/UnitStepFramework.h"
#include "texts/Texts.h"

namespace qx {

void OpenStep(UnitSessions& s, u8 k, u8 step, int gaugeRun, std::string_view text, u16 ticks, u32 length,
              u8 blockMode) {
  auto& u = s.Unit[k];
  u.StepState = step;
  if (gaugeRun >= 0) u.GaugeRun = static_cast<u8>(gaugeRun);
  AddUnitInfoLine(s, text, k);
  BeginUnitStep(s, ticks, length, blockMode, k);
}

void AdvanceBlockGauge(UnitSessions& s, u8 k, int lead) {
  auto& u = s.Unit[k];
  u.BlockIndex = static_cast<u16>(u.BlockIndex + 4);
  SetGaugeProgress(s, k, u.BlockIndex + lead);
}

bool RefuseWithoutDriver(UnitSessions& s, u8 k) {
  const ChipParams& p = s.Model.Params;
  if (!p.UseFlashDriver || s.Wire.Driver.DriverLoaded) return false;
  if (!StepCarriesDriver(s.Unit[k].StepState, p.FamilyCode)) return false;
  AddUnitInfoLine(s, Text(TextId::DriverNotLoadedStop), k);
  EndUnitStep(s, 1, k);
  return true;
}

std::span<const u8> ReplyPayloadOrFail(UnitSessions& s, u8 k, std::size_t need) {
  const std::size_t have = s.Unit[k].ReplyPayloadBytes;
  // A handler with nothing to read still needs a byte: the span is empty only on failure.
  if (have < std::max<std::size_t>(need, 1)) {
    ReportUnitResult(s, ResPacketError, k);
    return {};
  }
  return ReplyPayload(s, k);
}

std::span<const u8> ReplyPayload(const UnitSessions& s, u8 k) {
  return std::span<const u8>(s.Wire.Units[k].PacketBuf).subspan(PacketHeaderSize, s.Unit[k].ReplyPayloadBytes);
}

}  // namespace qx
