#include "images/ViewChecksums.h"

#include "images/Checksums.h"
#include "texts/Texts.h"

namespace qx {

namespace {

struct Sums {
  u16 Check16 = 0;
  u32 Acc32 = 0;
};

// An empty range (count 0) sums to 0 without forming an index below its start.
Sums SumsOf(std::span<const u8> image, u32 first, u32 count) {
  if (count == 0) return {};
  const u32 last = first + (count - 1);
  return {CalcCheck16(image, first, last), CalcAcc32(image, first, last)};
}

}  // namespace

void CalcMainChecksum(ChipModel& model, MessageLog& log) {
  const Sums s = SumsOf(model.MainFlashImage, model.Params.MainImageOffset, model.Params.DownloadSize);
  model.Sums.MainCheck16 = s.Check16;
  model.Sums.MainAcc32 = s.Acc32;
  model.Sums.MainSum16 = static_cast<u16>(s.Acc32);
  log.AddLine("");
  log.AddInfoLine(Tx(TextId::MainAcc32Line, model.Sums.MainAcc32));
}

void CalcEepChecksum(ChipModel& model, MessageLog& log) {
  const Sums s = SumsOf(model.EepImage, 0, model.Params.EepSize);
  model.Sums.EepCheck16 = s.Check16;
  model.Sums.EepAcc32 = s.Acc32;
  model.Sums.EepSum16 = static_cast<u16>(s.Acc32);
  log.AddInfoLine(Tx(TextId::EepAcc32Line, model.Sums.EepAcc32));
}

void RefreshChecksums(ChipModel& model, MessageLog& log) {
  CalcMainChecksum(model, log);
  if (model.Params.EepSize != 0) {
    CalcEepChecksum(model, log);
  } else {
    model.Sums.EepCheck16 = 0;
    model.Sums.EepAcc32 = 0;
    model.Sums.EepSum16 = 0;
  }
  model.Sums.ChipChecksum = model.Sums.MainAcc32 + model.Sums.EepAcc32;
  log.AddInfoLine(Tx(TextId::ChipAcc32Line, model.Sums.ChipChecksum));
}

void CalcOptionChecksum(ChipModel& model) {
  model.Sums.OptionSum16 = static_cast<u16>(CalcAcc32(model.OptionImage, 0, 255));
  model.Sums.OptionCheck16 = CalcCheck16(model.OptionImage, 0, 255);
}

std::string FileChecksumText(const ChipModel& model) { return Tx(TextId::StatusFileChecksum, model.Sums.FileChecksum); }

std::string ChipChecksumText(const ChipModel& model) { return Tx(TextId::StatusChipChecksum, model.Sums.ChipChecksum); }

void CalcReadMainChecksum(ChipModel& model, MessageLog& log) {
  const auto& p = model.Params;
  const std::span<const u8> image(model.MainFlashImage);
  const u32 read = SumsOf(image, p.MainImageOffset, p.DownloadSize).Acc32;
  const u32 first = p.MainFlashStart & 0xFFFFFF;
  const u32 last = p.MainFlashEnd & 0xFFFFFF;
  model.Sums.MainCheck16 = CalcCheck16(image, first, last);
  model.Sums.MainSum16 = static_cast<u16>(CalcAcc32(image, first, last));
  // The chip sum describes the images as they now are: the main bytes just read.
  model.Sums.ChipChecksum = read + SumsOf(model.EepImage, 0, p.EepSize).Acc32;
  log.AddInfoLine(Tx(TextId::ReadMainChecksumLine, read));
}

void CalcReadEepChecksum(ChipModel& model, MessageLog& log) {
  const Sums s = SumsOf(model.EepImage, 0, model.Params.EepSize);
  model.Sums.EepCheck16 = s.Check16;
  model.Sums.EepSum16 = static_cast<u16>(s.Acc32);
  log.AddInfoLine(Tx(TextId::ReadEepChecksumLine, s.Acc32));
}

}  // namespace qx
