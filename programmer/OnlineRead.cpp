// Reads of the chip: main flash, data flash, option data, checksum, chip information and an
// address range.
#include <algorithm>
#include <cstring>
#include <string>

#include "chips/ReadOptionListings.h"
#include "base/ByteOrder.h"
#include "images/ViewChecksums.h"
#include "programmer/CommandCodes.h"
#include "programmer/Frame.h"
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

void SendReadMainBlock(UnitSessions& s, u8 k) {
  SendChipCommand(UnitTarget(s, k), CmdReadMainBlock, s.Unit[k].BlockIndex);
}

void SendReadEepBlock(UnitSessions& s, u8 k) {
  SendChipCommand(UnitTarget(s, k), CmdReadEepBlock, s.Unit[k].BlockIndex);
}

}  // namespace

void StartReadOption(UnitSessions& s, u8 k) {
  s.Log.AddLine("");
  // GaugeRun stays as the previous step left it.
  OpenStep(s, k,
           {.Step = StepReadOption, .Text = Text(TextId::ReadOptionStart), .Length = s.Model.Params.DownloadSize});
  if (RefuseWithoutDriver(s, k)) return;
  SendChipCommand(UnitTarget(s, k), CmdChipOperation, OpReadOption);
}

void HandleReadOptionResult(UnitSessions& s, u8 k, u8 code) {
  if (!IsSuccess(code)) return ReportUnitResult(s, k, code);
  // The listings show only what the reply carried.
  const auto payload = ReplyPayload(s, k);
  EndUnitStep(s, k, false);
  ShowReadOption(s.Log, s.Model, k, payload);
}

void StartReadMain(UnitSessions& s, u8 k) {
  OpenStep(s, k, BlockStepOpening(StepReadMain, Text(TextId::ReadMainStart), s.Model.Params.MainFlashSize));
  if (!ReadBackFitsImage(s.Model.Params)) {
    AddUnitInfoLine(s, k, Text(TextId::ReadBackPastImage));
    return EndUnitStep(s, k, true);
  }
  SendFirstBlock(s, k, SendReadMainBlock);
}

void HandleReadMainResult(UnitSessions& s, u8 k, u8 code) {
  if (code != ResOk) return ReportUnitResult(s, k, code);
  const auto chip = ReplyPayloadOrFail(s, k, 4096);
  if (chip.empty()) return;
  auto& u = s.Unit[k];
  const std::size_t at = std::size_t{s.Model.Params.MainImageOffset} + std::size_t{u.BlockIndex} * 1024;
  if (at < MainImageSize) {
    const std::size_t n = std::min<std::size_t>(4096, MainImageSize - at);
    std::memcpy(s.Model.MainFlashImage.data() + at, chip.data(), n);
  }
  if (!SendNextBlockOrDone(s, k, 1, SendReadMainBlock)) return;
  s.Model.ObjectLoaded = 1;
  // A copied chip programs everything that was read.
  s.Model.Params.DownloadSize = s.Model.Params.MainFlashSize;
  EndUnitStep(s, k, false);
  AddUnitInfoLine(s, k, Text(TextId::ReadMainDone));
  CalcReadMainChecksum(s.Model, s.Log);
  s.Op.ChecksumsChanged();
  s.Op.MainImageReadBack();
  s.Op.ShowMainHex(s.Model.Params.MainFlashStart, s.Model.Params.MainFlashEnd);
}

void StartReadEep(UnitSessions& s, u8 k) {
  StartBlockStep(s, k, StepReadEep, Text(TextId::ReadEepStart), s.Model.Params.EepSize, SendReadEepBlock);
}

void HandleReadEepResult(UnitSessions& s, u8 k, u8 code) {
  if (code != ResOk) return ReportUnitResult(s, k, code);
  auto& u = s.Unit[k];
  const u32 base = u32{u.BlockIndex} * 1024;
  const std::size_t n = EepBlockBytes(s.Model.Params, base);
  const auto chip = ReplyPayloadOrFail(s, k, n);
  if (chip.empty()) return;
  if (n > 0) std::memcpy(s.Model.EepImage.data() + base, chip.data(), n);
  if (!SendNextBlockOrDone(s, k, 1, SendReadEepBlock)) return;
  AddUnitInfoLine(s, k, Text(TextId::ReadEepDone));
  EndUnitStep(s, k, false);
  CalcReadEepChecksum(s.Model, s.Log);
  s.Op.ChecksumsChanged();
  s.Op.ShowEepData();
}

void StartReadChecksum(UnitSessions& s, u8 k) {
  OpenStep(s, k,
           {.Step = StepReadChecksum,
            .Text = Text(TextId::ReadChecksumStart),
            .Length = s.Model.Params.DownloadSize,
            .BlockMode = true,
            .GaugeRun = true});
  if (RefuseWithoutDriver(s, k)) return;
  SendChipCommand(UnitTarget(s, k), CmdChipOperation, OpReadChecksum);
}

void HandleReadChecksumResult(UnitSessions& s, u8 k, u8 code) {
  if (code != ResOk) return ReportUnitResult(s, k, code);
  const auto p = ReplyPayloadOrFail(s, k, 6);
  if (p.empty()) return;
  AddUnitInfoLine(s, k, Tx(TextId::ReadChecksumLine, GetLe16(p, 0), GetLe32(p, 2)));
  EndUnitStep(s, k, false);
}

void StartReadChipInfo(UnitSessions& s, u8 k) {
  s.Unit[k].StepState = StepReadChipInfo;
  s.Log.AddInfoLine(Text(TextId::ReadChipInfoStart));
  BeginUnitStep(s, k, TicksAfterCommand, s.Model.Params.MainFlashSize, false);
  // A chip command of some families carries the driver's common segment.
  if (RefuseWithoutDriver(s, k)) return;
  SendChipCommand(UnitTarget(s, k), CmdChipOperation, OpReadChipInfo);
}

void HandleReadChipInfoResult(UnitSessions& s, u8 k, u8 code) {
  if (code != ResOk) return ReportUnitResult(s, k, code);
  const auto p = ReplyPayloadOrFail(s, k, ChipInfoBytes);
  if (p.empty()) return;
  EndUnitStep(s, k, false);
  s.Log.AddLine("");
  s.Log.AddLine(Text(TextId::ChipInfoHeading));
  for (unsigned r = 0; r < ChipInfoBytes / 16; ++r) {
    std::string line = Tx(TextId::ChipInfoRowLabel, r * 16);
    for (unsigned i = 0; i < 16; ++i) line += Tx(TextId::ChipInfoRowByte, p[r * 16 + i]);
    s.Log.AddLine(line);
  }
}

// No start line: the gauge, set past its time scale, shows the read.
void StartReadAddress(UnitSessions& s, u8 k) {
  s.Unit[k].StepState = StepReadAddress;
  BeginUnitStep(s, k, TicksAfterCommand, s.Model.Params.MainFlashSize, false);
  SetGaugeProgress(s, k, 250);
  SendReadAddressCmd(UnitTarget(s, k), OpReadAddress);
}

void HandleReadAddressResult(UnitSessions& s, u8 k, u8 code) {
  if (!IsSuccess(code)) return ReportUnitResult(s, k, code);
  // Success, also for a status reply, whose payload is its code and not memory. Every byte
  // asked for that a data reply carried is shown: a length that is not a multiple of 16
  // ends with a shorter row.
  const auto p = ReplyPayload(s, k);
  const bool dataReply = IsDataReply(s.Wire.Units[k].PacketBuf);
  const std::size_t shown = dataReply ? std::min<std::size_t>(s.Model.ReadLength, p.size()) : 0;
  EndUnitStep(s, k, false);
  s.Log.AddLine(Text(TextId::ReadAddressHeading));
  for (std::size_t at = 0; at < shown; at += 16) {
    std::string line = Tx(TextId::ReadAddressRowLabel, static_cast<u32>(s.Model.ReadStart + at));
    for (std::size_t i = at; i < std::min(shown, at + 16); ++i) line += Tx(TextId::ReadAddressRowByte, p[i]);
    s.Log.AddLine(line);
  }
}

}  // namespace qx
