// Reads of the chip: main flash, data flash, option data, checksum, chip information and an
// address range.
#include <algorithm>
#include <cstring>
#include <string>

#include "chips/ReadOptionListings.h"
#include "base/ByteOrder.h"
#include "images/ViewChecksums.h"
#include "programmer/CommandCodes.h"
#include "programmer/OnlineChains.h"
#include "programmer/ResultCode.h"
#include "programmer/UnitStepFramework.h"
#include "programmer/UnitStepTarget.h"
#include "texts/Texts.h"

namespace qx {
namespace {

inline constexpr std::size_t ChipInfoBytes = 512;

// The whole 4096-byte blocks of a main-flash read-back must lie inside the image.
bool ReadBackFitsImage(const ChipParams& p) {
  const u64 blocks = (u64{p.MainFlashSize} + 4095) / 4096;
  return u64{p.MainImageOffset} + blocks * 4096 <= MainImageSize;
}

std::size_t EepBlockBytes(const ChipParams& p, u32 base) {
  const u32 size = std::min<u32>(p.EepSize, EepImageSize);
  return size <= base ? 0 : std::min<std::size_t>(size - base, 4096);
}

}  // namespace

void StartReadOption(UnitSessions& s, u8 k) {
  s.Log.AddLine("");
  OpenStep(s, k, StepReadOption, -1, Text(TextId::ReadOptionStart), 500, s.Model.Params.DownloadSize, 0);
  if (RefuseWithoutDriver(s, k)) return;
  SendChipCommand(UnitTarget(s, k), CmdChipOperation, OpReadOption);
}

void HandleReadOptionResult(UnitSessions& s, u8 code, u8 k) {
  if (!IsSuccess(code)) return ReportUnitResult(s, code, k);
  // The listings show only what the reply carried.
  const auto payload = ReplyPayload(s, k);
  EndUnitStep(s, 0, k);
  ShowReadOption(s.Log, s.Model, k, payload);
}

void StartReadMain(UnitSessions& s, u8 k) {
  s.Unit[k].AutoChain = 0;
  OpenStep(s, k, StepReadMain, 0, Text(TextId::ReadMainStart), 500, s.Model.Params.MainFlashSize, 1);
  if (!ReadBackFitsImage(s.Model.Params)) {
    AddUnitInfoLine(s, Text(TextId::ReadBackPastImage), k);
    return EndUnitStep(s, 1, k);
  }
  if (RefuseWithoutDriver(s, k)) return;
  SendChipCommand(UnitTarget(s, k), CmdReadMainBlock, s.Unit[k].BlockIndex);
}

void HandleReadMainResult(UnitSessions& s, u8 code, u8 k) {
  if (code != ResOk) return ReportUnitResult(s, code, k);
  const auto chip = ReplyPayloadOrFail(s, k, 4096);
  if (chip.empty()) return;
  auto& u = s.Unit[k];
  const std::size_t at = std::size_t{s.Model.Params.MainImageOffset} + std::size_t{u.BlockIndex} * 1024;
  if (at < MainImageSize) {
    const std::size_t n = std::min<std::size_t>(4096, MainImageSize - at);
    std::memcpy(s.Model.MainFlashImage.data() + at, chip.data(), n);
  }
  AdvanceBlockGauge(s, k, 1);
  if (u.BlockIndex < u.BlockCount) return (void)SendChipCommand(UnitTarget(s, k), CmdReadMainBlock, u.BlockIndex);
  s.Model.ObjectLoaded = 1;
  // A copied chip programs everything that was read.
  s.Model.Params.DownloadSize = s.Model.Params.MainFlashSize;
  EndUnitStep(s, 0, k);
  AddUnitInfoLine(s, Text(TextId::ReadMainDone), k);
  CalcReadMainChecksum(s.Model, s.Log);
  s.Op.ChecksumsChanged();
  s.Op.ShowMainHex(s.Model.Params.MainFlashStart, s.Model.Params.MainFlashEnd);
}

void StartReadEep(UnitSessions& s, u8 k) {
  s.Unit[k].AutoChain = 0;
  OpenStep(s, k, StepReadEep, 0, Text(TextId::ReadEepStart), 500, s.Model.Params.EepSize, 1);
  if (RefuseWithoutDriver(s, k)) return;
  SendChipCommand(UnitTarget(s, k), CmdReadEepBlock, s.Unit[k].BlockIndex);
}

void HandleReadEepResult(UnitSessions& s, u8 code, u8 k) {
  if (code != ResOk) return ReportUnitResult(s, code, k);
  auto& u = s.Unit[k];
  const u32 base = u32{u.BlockIndex} * 1024;
  const std::size_t n = EepBlockBytes(s.Model.Params, base);
  const auto chip = ReplyPayloadOrFail(s, k, n);
  if (chip.empty()) return;
  if (n > 0) std::memcpy(s.Model.EepImage.data() + base, chip.data(), n);
  AdvanceBlockGauge(s, k, 1);
  if (u32{u.BlockIndex} * 1024 < s.Model.Params.EepSize) {
    return (void)SendChipCommand(UnitTarget(s, k), CmdReadEepBlock, u.BlockIndex);
  }
  AddUnitInfoLine(s, Text(TextId::ReadEepDone), k);
  EndUnitStep(s, 0, k);
  CalcReadEepChecksum(s.Model, s.Log);
  s.Op.ChecksumsChanged();
  s.Op.ShowEepData();
}

void StartReadChecksum(UnitSessions& s, u8 k) {
  s.Unit[k].AutoChain = 0;
  OpenStep(s, k, StepReadChecksum, 1, Text(TextId::ReadChecksumStart), 500, s.Model.Params.DownloadSize, 1);
  if (RefuseWithoutDriver(s, k)) return;
  SendChipCommand(UnitTarget(s, k), CmdChipOperation, OpReadChecksum);
}

void HandleReadChecksumResult(UnitSessions& s, u8 code, u8 k) {
  if (code != ResOk) return ReportUnitResult(s, code, k);
  const auto p = ReplyPayloadOrFail(s, k, 6);
  if (p.empty()) return;
  AddUnitInfoLine(s, Tx(TextId::ReadChecksumLine, GetLe16(p, 0), GetLe32(p, 2)), k);
  EndUnitStep(s, 0, k);
}

void HandleReadChipInfoResult(UnitSessions& s, u8 code, u8 k) {
  if (code != ResOk) return ReportUnitResult(s, code, k);
  const auto p = ReplyPayloadOrFail(s, k, ChipInfoBytes);
  if (p.empty()) return;
  EndUnitStep(s, 0, k);
  s.Log.AddLine("");
  s.Log.AddLine(Text(TextId::ChipInfoHeading));
  for (unsigned r = 0; r < ChipInfoBytes / 16; ++r) {
    std::string line = Tx(TextId::ChipInfoRowLabel, r * 16);
    for (unsigned i = 0; i < 16; ++i) line += Tx(TextId::ChipInfoRowByte, p[r * 16 + i]);
    s.Log.AddLine(line);
  }
}

void HandleReadAddressResult(UnitSessions& s, u8 code, u8 k) {
  if (!IsSuccess(code)) return ReportUnitResult(s, code, k);
  // Success, also for a status-only reply; only the whole rows the reply carried are shown.
  const auto p = ReplyPayload(s, k);
  const std::size_t rows = std::min<std::size_t>(s.Model.ReadLength, p.size()) / 16;
  EndUnitStep(s, 0, k);
  s.Log.AddLine(Text(TextId::ReadAddressHeading));
  for (std::size_t r = 0; r < rows; ++r) {
    std::string line = Tx(TextId::ReadAddressRowLabel, static_cast<u32>(s.Model.ReadStart + r * 16));
    for (std::size_t i = 0; i < 16; ++i) line += Tx(TextId::ReadAddressRowByte, p[r * 16 + i]);
    s.Log.AddLine(line);
  }
}

}  // namespace qx
