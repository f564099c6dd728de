#include "programmer/UnitStepTarget.h"

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
  if (!s.Model.Params.UseFlashDriver || s.Wire.Driver.DriverLoaded) return false;
  AddUnitInfoLine(s, Text(TextId::DriverNotLoadedStop), k);
  EndUnitStep(s, 1, k);
  return true;
}

std::span<const u8> ReplyPayloadOrFail(UnitSessions& s, u8 k, std::size_t need) {
  const std::size_t have = s.Unit[k].ReplyPayloadBytes;
  // Data replies are longer than 2 bytes; a status reply carries no chip data at all.
  if (!s.Unit[k].ReplyLengthOk || have <= 2 || have < need) {
    ReportUnitResult(s, ResPacketError, k);
    return {};
  }
  return std::span<const u8>(s.Wire.Units[k].PacketBuf).subspan(PacketHeaderSize, have);
}

}  // namespace qx
