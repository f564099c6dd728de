#include "chips/OptionListings.h"

#include "chips/ListingText.h"

namespace qx {

void ShowCurrentOptionAC78x(MessageLog& log, const ChipModel& model) {
  std::string line(Text(TextId::ChipCurrentOptionHead));
  listing::AppendAC78xWords(line, model.OptionImage);
  log.AddInfoLine(line);
}

void ShowCurrentOptionAucu(MessageLog& log, const ChipModel& model) {
  for (unsigned r = 0; r < listing::AucuRows; ++r) log.AddLine(listing::AucuRow(r, model.OptionImage));
}

void ShowCurrentOptionLcmp(MessageLog& log, const ChipModel& model) {
  log.AddLine("");
  log.AddLine(Text(TextId::ChipLcmpOptionHead));
  const std::span<const u8> image = model.OptionImage;
  for (std::size_t r = 0; r < 3; ++r) {
    std::string line(Text(TextId::ChipLcmpOptionRowLead));
    listing::AppendBytes(line, image.subspan(16 * r, 16));
    log.AddLine(line);
  }
}

}  // namespace qx
