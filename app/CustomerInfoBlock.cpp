#include "app/CustomerInfoBlock.h"

#include <algorithm>
#include <optional>

#include "base/ByteOrder.h"
#include "images/Checksums.h"
#include "images/NumberText.h"
#include "programmer/DownloadSize.h"
#include "texts/Texts.h"

namespace qx {

namespace {

constexpr std::size_t BootOffset = 0;
constexpr std::size_t AppOffset = 96;

void PutPart(CustomerInfoBlock& block, std::size_t at, const CustomerInfoPart& part, const char (&marker)[5]) {
  PutLe32(block, at, part.Length);
  PutLe32(block, at + 4, part.Crc);
  std::copy(marker, marker + 4, block.begin() + static_cast<std::ptrdiff_t>(at + 8));
  PutLe32(block, at + 12, part.UpdateCount);
  PutLe32(block, at + 16, part.Version);
}

// The image span of a part, when [start, start + length - 1] lies inside the main flash.
std::optional<std::span<const u8>> PartBytes(const ChipModel& model, u32 start, u32 length) {
  const ChipParams& p = model.Params;
  if (u64{start} + length > p.MainFlashSize) return std::nullopt;
  const u64 index = u64{p.MainImageOffset} + start;
  if (index + length > MainImageSize) return std::nullopt;
  return std::span<const u8>(model.MainFlashImage).subspan(static_cast<std::size_t>(index), length);
}

u32 PartCrc(std::span<const u8> bytes, const Crc32Params& params) {
  // An empty part gives the CRC of no bytes.
  return bytes.empty() ? CalcCrc32Param(bytes, params, 1, 0)
                       : CalcCrc32Param(bytes, params, 0, static_cast<u32>(bytes.size() - 1));
}

void Warn(Operator& op, TextId id) { op.Ask(MsgKind::Warning, Text(id), MsgButtons::Ok); }

// One part: its length as loaded, the CRC over [start, start + length - 1] with its log
// line, then its update count and version; nullopt when the range leaves the main flash.
std::optional<CustomerInfoPart> ReadPart(const ChipModel& model, MessageLog& log, u32 start, u32 length,
                                         const std::string& countText, const std::string& versionText,
                                         TextId crcLine) {
  const auto bytes = PartBytes(model, start, length);
  if (!bytes) return std::nullopt;
  CustomerInfoPart part;
  part.Length = length;
  part.Crc = PartCrc(*bytes, model.Crc);
  log.AddInfoLine(Tx(crcLine, part.Crc));
  part.UpdateCount = StrToU32(countText);
  part.Version = StrToU32(versionText);
  return part;
}

bool BlockFits(const ChipParams& p, u32 index) {
  return u64{index} + CustomerInfoBlockSize <= p.MainFlashSize &&
         u64{p.MainImageOffset} + index + CustomerInfoBlockSize <= MainImageSize;
}

}  // namespace

CustomerInfoBlock MakeCustomerInfoBlock(const CustomerInfoPart& boot, const CustomerInfoPart& app) {
  CustomerInfoBlock block;
  block.fill(0xFF);
  PutPart(block, BootOffset, boot, "CCUS");
  PutPart(block, AppOffset, app, "ccus");
  return block;
}

Crc32Params ReadCrcParameters(const CustomerInfoControls& c) {
  Crc32Params params;
  params.Poly = StrToU32(c.EditPOLY);
  params.Init = StrToU32(c.EditINIV);
  params.XorOut = StrToU32(c.EditXORV);
  params.Flags = static_cast<u8>((c.ChkBoxREFIN ? 1 : 0) | (c.ChkBoxREFOU ? 4 : 0));
  return params;
}

CustomerInfoResult BuildCustomerInfoBlock(const CustomerInfoControls& c, ChipModel& model, MessageLog& log,
                                          Operator& op, WindowActions& actions) {
  model.Crc = ReadCrcParameters(c);
  const u32 blockIndex = StrToU32(c.EditSumy);
  const u32 bootStart = StrToU32(c.EditBTAS);
  const u32 bootEnd = StrToU32(c.EditBTAE);
  const u32 appStart = StrToU32(c.EditAPAS);
  const u32 appEnd = StrToU32(c.EditAPAE);
  if (!c.ChkBoxPrgInf) {
    log.AddInfoLine(Text(TextId::CustInfoNotRequested));
    return CustomerInfoResult::NotRequested;
  }
  log.AddLine("");
  const ChipParams& p = model.Params;
  if (!(bootStart < bootEnd && appStart < appEnd)) {
    Warn(op, TextId::CustInfoAddressError);
    if (!BlockFits(p, blockIndex)) Warn(op, TextId::CustInfoBlockAddressError);
    return CustomerInfoResult::AddressError;
  }

  const auto boot = ReadPart(model, log, bootStart, model.BootInfoEnd, c.EditBTFS, c.EditBTVER,
                             TextId::CustInfoBootCrcLine);
  const auto app = boot ? ReadPart(model, log, appStart, model.AppInfoEnd, c.EditAPFS, c.EditAPVER,
                                   TextId::CustInfoAppCrcLine)
                        : std::nullopt;
  if (!app) {
    Warn(op, TextId::CustInfoAddressError);
    return CustomerInfoResult::AddressError;
  }
  if (!BlockFits(p, blockIndex)) {
    Warn(op, TextId::CustInfoBlockAddressError);
    return CustomerInfoResult::AddressError;
  }
  const CustomerInfoBlock block = MakeCustomerInfoBlock(*boot, *app);
  std::copy(block.begin(), block.end(), model.MainFlashImage.begin() + (p.MainImageOffset + blockIndex));
  CalcDownloadSize(model);
  RefreshChecksumsAndViews(model, log, op, actions);
  return CustomerInfoResult::Written;
}

}  // namespace qx
