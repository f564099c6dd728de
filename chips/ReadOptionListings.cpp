#include "chips/ReadOptionListings.h"

#include "chips/ListingText.h"
#include "chips/MakerRegistry.h"

namespace qx {
namespace {

int UnitNumber(u8 unit) { return unit + 1; }

// Logs the shortfall and returns false when the payload does not carry `needed` bytes.
bool Carries(MessageLog& log, u8 unit, std::span<const u8> payload, std::size_t needed) {
  if (payload.size() >= needed) return true;
  log.AddInfoLine(Tx(TextId::ChipReadOptionShort, UnitNumber(unit), payload.size(), needed));
  return false;
}

// "%0.2x" of the bytes at..at+3, most significant first.
std::string HexWord32(std::span<const u8> payload, std::size_t at) {
  std::string digits;
  for (std::size_t i = 4; i-- > 0;) digits += Tx(TextId::ChipHexDigits2, payload[at + i]);
  return digits;
}

}  // namespace

void ShowReadOptionAC78x(MessageLog& log, const ChipParams& params, u8 unit, std::span<const u8> payload) {
  std::string head = Tx(TextId::ChipReadOptionHead, UnitNumber(unit));
  if (params.Subtype < 16) {
    if (!Carries(log, unit, payload, ReadOptionBytesAC78x)) return;
    listing::AppendAC78xWords(head, payload);
    log.AddInfoLine(head);
    return;
  }
  if (!Carries(log, unit, payload, ReadOptionBytesAC7840x)) return;
  // With several units reading at once the three words need the unit named above them.
  log.AddInfoLine(head);
  log.AddInfoLine(std::string(Text(TextId::ChipReadSecData)) + HexWord32(payload, 0));
  log.AddInfoLine(std::string(Text(TextId::ChipReadPprotData)) + HexWord32(payload, 4));
  log.AddInfoLine(std::string(Text(TextId::ChipReadDprotData)) + HexWord32(payload, 8));
}

void ShowReadOptionAucu(MessageLog& log, u8 unit, std::span<const u8> payload) {
  if (!Carries(log, unit, payload, ReadOptionBytesAucu)) return;
  log.AddLine(Tx(TextId::ChipAucuReadHead, UnitNumber(unit)));
  for (unsigned r = 0; r < listing::AucuRows; ++r) log.AddLine(listing::AucuRow(r, payload));
}

void ShowReadOptionLcmp(MessageLog& log, u8 unit, std::span<const u8> payload) {
  if (!Carries(log, unit, payload, ReadOptionBytesLcmp)) return;
  log.AddLine("");
  log.AddLine(Tx(TextId::ChipLcmpReadHead, UnitNumber(unit)));
  std::string user = Tx(TextId::ChipLcmpReadUser, payload[24]);
  for (int d = 0; d < 3; ++d) user += Tx(TextId::ChipLcmpReadData, d, payload[25 + static_cast<std::size_t>(d)]);
  log.AddLine(user);
  log.AddLine(Tx(TextId::ChipLcmpReadRop, payload[32]) + Tx(TextId::ChipLcmpReadRop2, payload[33]));
  std::string wrp(Text(TextId::ChipLcmpReadWrpLead));
  for (int d = 0; d < 3; ++d) wrp += Tx(TextId::ChipLcmpReadWrp, d, payload[36 + static_cast<std::size_t>(d)]);
  log.AddLine(wrp);
}

void ShowReadOptionSilergy(MessageLog& log, u8 unit, std::span<const u8> payload) {
  if (!Carries(log, unit, payload, ReadOptionBytesSilergy)) return;
  log.AddLine(Text(TextId::ChipSilergyReadHead));
  for (int p = 0; p < 9; ++p) {
    std::string line = Tx(TextId::ChipSilergyReadPage, p);
    listing::AppendBytes(line, payload.subspan(8 * static_cast<std::size_t>(p), 8));
    log.AddLine(line);
  }
}

bool ShowReadOption(MessageLog& log, const ChipModel& model, u8 unit, std::span<const u8> payload) {
  const MakerModule* maker = FindModule(model.Params.ManufacturerIndex);
  if (maker == nullptr || maker->readOptionListing == nullptr) return false;
  maker->readOptionListing(log, model, unit, payload);
  return true;
}

}  // namespace qx
