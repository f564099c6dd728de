#include "app/SerialNumbers.h"

#include <algorithm>

#include "app/ImageViews.h"
#include "images/NumberText.h"
#include "images/ViewChecksums.h"
#include "programmer/DownloadSize.h"
#include "texts/Texts.h"

namespace qx {

std::optional<u32> SerialNumberIndex(const ChipParams& params, const SnSettings& sn) {
  const u64 length = 4;
  if (sn.SnAddress < params.MainFlashStart) return std::nullopt;
  const u64 offset = u64{sn.SnAddress} - params.MainFlashStart;
  const u64 index = offset + params.MainImageOffset;
  if (offset + length > params.MainFlashSize || index + length > MainImageSize) return std::nullopt;
  return static_cast<u32>(index);
}

std::array<u8, 4> SerialNumberBytes(u32 value, bool bigEndian) {
  std::array<u8, 4> b{static_cast<u8>(value), static_cast<u8>(value >> 8), static_cast<u8>(value >> 16),
                      static_cast<u8>(value >> 24)};
  if (bigEndian) std::reverse(b.begin(), b.end());
  return b;
}

std::optional<u32> PrepareSerialNumberRange(ChipModel& model, MessageLog& log, Operator& op) {
  ChipParams& p = model.Params;
  const std::optional<u32> index = SerialNumberIndex(p, model.Sn);
  if (!index) {
    const std::string text = Tx(TextId::SnAddressOutsideFlash, model.Sn.SnAddress);
    log.AddInfoLine(text);
    op.Ask(MsgKind::Warning, text, MsgButtons::Ok);
    return std::nullopt;
  }
  // A number past the programmed range would reach no chip.
  const u32 lastOffset = *index + 3 - p.MainImageOffset;
  if (lastOffset >= p.DownloadSize) {
    p.DownloadSize = std::min((lastOffset / 256 + 1) * 256, p.MainFlashSize);
    log.AddInfoLine(ProgrammedSizeLine(p));
  }
  return index;
}

std::optional<UnitSerialNumber> SerialNumberForUnit(const ChipParams& params, const SnSettings& sn, bool bigEndian,
                                                    u8 unit) {
  const std::optional<u32> index = SerialNumberIndex(params, sn);
  if (!index) return std::nullopt;
  UnitSerialNumber u;
  u.Value = sn.SnValue + u32{unit} * sn.SnGain;
  u.Index = *index;
  u.Bytes = SerialNumberBytes(u.Value, bigEndian);
  return u;
}

std::string SerialNumberText(u32 value, bool decimal) {
  return decimal ? Tx(TextId::SnDecimalText, value) : Tx(TextId::SnHexText, value);
}

std::string RedisplaySerialNumber(std::string_view text, bool decimal) {
  return SerialNumberText(static_cast<u32>(StrToInt64(text)), decimal);
}

std::optional<std::string> AdvanceSerialNumber(SnSettings& sn, const SerialNumberControls& controls) {
  if (!controls.ChkBoxPCSN || !controls.CheckBoxSN) return std::nullopt;
  sn.SnValue += sn.SnGain;
  return SerialNumberText(sn.SnValue, controls.ChkBoxSNDP);
}

bool ConfigSnAllowed(const ChipModel& model, Operator& op) {
  if (model.ChipSelected && model.ObjectLoaded) return true;
  op.Ask(MsgKind::Warning, Text(TextId::CfgSnNeedsChipAndObject), MsgButtons::Ok);
  return false;
}

void AfterConfigSn(ChipModel& model, MessageLog& log, Operator& op) {
  CalcDownloadSize(model);
  log.AddInfoLine(ProgrammedSizeLine(model.Params));
  RefreshChecksums(model, log);
  op.ChecksumsChanged();
}

}  // namespace qx
