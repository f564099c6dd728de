// Verification of main flash and data flash against the images.
#include <algorithm>
#include <array>

#include "programmer/CommandCodes.h"
#include "programmer/OnlineChains.h"
#include "programmer/ResultCode.h"
#include "programmer/UnitStepFramework.h"
#include "programmer/UnitStepTarget.h"
#include "texts/Texts.h"

namespace qx {
namespace {

// Compares n chip bytes with the image from imageAt on; one question per differing byte
// until the operator answers Abort. addressBase + i is the address shown. True on a
// difference. The payload stays in the unit's packet slot while the question is open:
// the receive routing holds this unit's further frames back until the handler returns.
bool CompareBlock(UnitSessions& s, u8 k, std::span<const u8> chip, std::span<const u8> image, u32 addressBase) {
  bool mismatch = false;
  const std::size_t n = std::min(chip.size(), image.size());
  for (std::size_t i = 0; i < n; ++i) {
    if (image[i] == chip[i]) continue;
    mismatch = true;
    const auto text = Tx(TextId::VerifyMismatch, k + 1, static_cast<u32>(addressBase + i), image[i], chip[i]);
    if (s.Op.Ask(MsgKind::Error, text, MsgButtons::YesAbort) == MsgAnswer::Abort) break;
  }
  return mismatch;
}

void SendVerifyMainBlock(UnitSessions& s, u8 k) {
  SendChipCommand(UnitTarget(s, k), CmdReadMainBlock, s.Unit[k].BlockIndex);
}

void SendVerifyEepBlock(UnitSessions& s, u8 k) {
  SendChipCommand(UnitTarget(s, k), CmdReadEepBlock, s.Unit[k].BlockIndex);
}

// After the last verified block: option bytes or the end of the chain.
void EndOfVerification(UnitSessions& s, u8 k) {
  if (!s.Unit[k].AutoChain) return EndUnitStep(s, k, false);
  if (s.Model.ProgramOptionBytes) return StartWriteOption(s, k);
  AddUnitInfoLine(s, k, Text(TextId::ChipProgrammingSuccess));
  EndUnitStep(s, k, false);
}

}  // namespace

void StartVerifyMain(UnitSessions& s, u8 k) {
  StartBlockStep(s, k, StepVerifyMain, Text(TextId::VerifyMainStart), s.Model.Params.DownloadSize, SendVerifyMainBlock);
}

void HandleVerifyMainResult(UnitSessions& s, u8 k, u8 code) {
  if (code != ResOk) return ReportUnitResult(s, k, code);
  const auto& p = s.Model.Params;
  const u32 base = static_cast<u32>(s.Unit[k].BlockIndex) * 1024;
  // Offsets past the chip's last main-flash byte are not compared.
  const u32 last = p.MainFlashEnd - p.MainFlashStart;
  std::size_t n = base > last ? 0 : std::min<std::size_t>(4096, std::size_t{last} - base + 1);
  const std::size_t imageAt = std::size_t{p.MainImageOffset} + base;
  n = imageAt >= MainImageSize ? 0 : std::min(n, MainImageSize - imageAt);
  const auto chip = ReplyPayloadOrFail(s, k, n);
  if (chip.empty()) return;
  // What the unit was programmed with: the image, with the unit's own serial number.
  std::array<u8, DataBlockSize> expected{};
  const auto image = std::span<u8>(expected).first(n);
  std::copy_n(s.Model.MainFlashImage.begin() + static_cast<std::ptrdiff_t>(imageAt), n, image.begin());
  OverlaySerialPatch(s.Wire.Units[k].Serial, static_cast<std::int64_t>(imageAt), image);
  if (CompareBlock(s, k, chip.first(n), image, base)) return ReportUnitResult(s, k, ResVerifyError);

  if (!SendNextBlockOrDone(s, k, 1, SendVerifyMainBlock)) return;
  AddUnitInfoLine(s, k, Text(TextId::VerifyMainSuccess));
  if (s.Model.ProgramEep) return StartVerifyEep(s, k);
  EndOfVerification(s, k);
}

void StartVerifyEep(UnitSessions& s, u8 k) {
  StartBlockStep(s, k, StepVerifyEep, Text(TextId::VerifyEepStart), s.Model.Params.EepSize, SendVerifyEepBlock);
}

void HandleVerifyEepResult(UnitSessions& s, u8 k, u8 code) {
  if (code != ResOk) return ReportUnitResult(s, k, code);
  const auto& p = s.Model.Params;
  const u32 base = static_cast<u32>(s.Unit[k].BlockIndex) * 1024;
  const u32 size = std::min<u32>(p.EepSize, EepImageSize);
  const std::size_t n = size <= base ? 0 : std::min<std::size_t>(size - base, 4096);
  const auto chip = ReplyPayloadOrFail(s, k, n);
  if (chip.empty()) return;
  const auto image = std::span<const u8>(s.Model.EepImage).subspan(n == 0 ? 0 : base, n);
  if (CompareBlock(s, k, chip.first(n), image, p.EepStart + base)) return ReportUnitResult(s, k, ResVerifyError);

  if (!SendNextBlockOrDone(s, k, 3, SendVerifyEepBlock)) return;
  AddUnitInfoLine(s, k, Text(TextId::VerifyEepSuccess));
  EndOfVerification(s, k);
}

}  // namespace qx
