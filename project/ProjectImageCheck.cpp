#include "project/ProjectImageCheck.h"

#include <algorithm>
#include <array>
#include <numeric>
#include <span>

#include "base/ByteOrder.h"
#include "images/Checksums.h"
#include "programmer/ChipInfoHeader.h"
#include "programmer/DownloadSize.h"
#include "programmer/SettingsBlock.h"

// What is compared, and why only that:
//
// - The six sums of the header against their copies in the settings block (and MainSum16
//   against its second copy at block byte 100): the writer takes both from the same values.
//
// - MainCheck16 / MainSum16 over the main image as the load leaves it (the stored bytes from
//   index 0, the erased value after them). They match one of the ranges the program takes
//   them over: [0, DownloadSize - 1] (object loads, Fill SN, the customer block, a project
//   load); the same range trimmed to its last non-blank page (an on-line serial number
//   widens DownloadSize without taking the sums again); the whole main window
//   [MainFlashStart & 0xFFFFFF, MainFlashEnd & 0xFFFFFF] (a main-flash read-back). Not
//   compared when the window starts inside a megabyte (MainImageOffset not 0, which no
//   chip family has): the sums then cover image bytes the file does not hold.
//
// - EepCheck16 / EepSum16 over [0, EepSize - 1] of the stored data-flash bytes. Not
//   compared for a chip without data flash (the sums are those of an earlier chip, or
//   none), nor when the file holds fewer than EepSize bytes (an older file keeps 64 KiB),
//   nor when DownloadSize is MainFlashSize: a chip chosen and then read back leaves that
//   size and the data-flash sums of the chip before it, which nothing takes again.
//
// - OptionCheck16 / OptionSum16 over option bytes 0..255 as the settings block holds them,
//   only when the block's OptionCode is not 0: only then do the chip reaction, the option
//   dialogs and the object loads take them; other families keep an earlier chip's.
//
// - The settings block's own check word (block bytes 508..509, over 0..507) and sum (510..511,
//   over 0..509): the block builder writes them last, over what it wrote. They cover the
//   settings the units are sent, and the option bytes of every family.

namespace qx {
namespace {

struct SumPair {
  u16 Check16 = 0;
  u16 Sum16 = 0;
  bool operator==(const SumPair&) const = default;
};

// An image as a load leaves it: the bytes the file holds from index 0, then the erased
// value up to its size.
struct LoadedImage {
  std::span<const u8> Held;
  u8 Erased = 0xFF;
  u32 Size = 0;
};

// The pair over [first, last] by the sums' own range rule, clamped to the image.
SumPair PairOver(const LoadedImage& image, u32 first, u32 last) {
  constexpr u32 kRangeLimit = 0xFFFFFF;
  if (first > kRangeLimit || last > kRangeLimit || last < first || first >= image.Size) return {};
  last = std::min(last, image.Size - 1);
  const u32 held = static_cast<u32>(std::min<std::size_t>(image.Held.size(), image.Size));
  u16 check = 0;
  u32 sum = 0;
  if (first < held) {
    const auto part = image.Held.subspan(first, std::min(last, held - 1) - first + 1);
    check = ContinueCheck16(check, part);
    sum = std::accumulate(part.begin(), part.end(), sum);
  }
  if (const u32 from = std::max(first, held); from <= last) {
    std::array<u8, 4096> run{};
    run.fill(image.Erased);
    for (u32 left = last - from + 1; left > 0;) {
      const u32 n = std::min<u32>(left, run.size());
      check = ContinueCheck16(check, std::span<const u8>(run).first(n));
      sum += n * u32{image.Erased};
      left -= n;
    }
  }
  return {check, static_cast<u16>(sum)};
}

// count bytes from first; none gives 0, 0 as the sums of an empty range.
SumPair PairOfCount(const LoadedImage& image, u32 first, u32 count) {
  return count == 0 ? SumPair{} : PairOver(image, first, first + (count - 1));
}

u16 BlockWord(const ProjectFileContent& c, std::size_t at) { return GetLe16(c.Section, at); }

bool CopiesAgree(const ProjectFileContent& c) {
  const std::array<std::pair<u16, std::size_t>, 7> copies = {{
      {c.MainCheck16, SbHeaderAt + ChipInfoMainCheck16At},
      {c.MainSum16, SbHeaderAt + ChipInfoMainSum16At},
      {c.MainSum16, SbMainSum16At},
      {c.EepCheck16, SbHeaderAt + ChipInfoEepCheck16At},
      {c.EepSum16, SbHeaderAt + ChipInfoEepSum16At},
      {c.OptionCheck16, SbHeaderAt + ChipInfoOptionCheck16At},
      {c.OptionSum16, SbHeaderAt + ChipInfoOptionSum16At},
  }};
  return std::all_of(copies.begin(), copies.end(), [&c](const auto& v) { return BlockWord(c, v.second) == v.first; });
}

bool MainAgrees(const ProjectFileContent& c, u8 erased) {
  if ((c.MainFlashStart & 0xFFFFF) != 0) return true;
  const LoadedImage image{c.MainData, erased, MainImageSize};
  const SumPair stored{c.MainCheck16, c.MainSum16};
  if (PairOfCount(image, 0, c.DownloadSize) == stored) return true;
  const u32 trimmed = TrimmedDownloadSize(c.MainData, 0, c.MainFlashSize, erased);
  if (trimmed < c.DownloadSize && PairOfCount(image, 0, trimmed) == stored) return true;
  if (c.MainFlashSize == 0) return false;
  const u32 end = c.MainFlashStart + (c.MainFlashSize - 1);
  return PairOver(image, c.MainFlashStart & 0xFFFFFF, end & 0xFFFFFF) == stored;
}

bool EepAgrees(const ProjectFileContent& c) {
  if (c.EepSize == 0 || c.EepData.size() < c.EepSize || c.DownloadSize == c.MainFlashSize) return true;
  const LoadedImage image{c.EepData, 0xFF, EepImageSize};
  return PairOfCount(image, 0, c.EepSize) == SumPair{c.EepCheck16, c.EepSum16};
}

bool OptionsAgree(const ProjectFileContent& c) {
  constexpr std::size_t kOptionCodeAt = SbHeaderAt + 1;
  if (c.Section[kOptionCodeAt] == 0) return true;
  // Option bytes 0..127, then 128..255 at the start of the block's second option part.
  const std::span<const u8> section(c.Section);
  const auto low = section.subspan(SbOptionLowAt, SbChipNameAt - SbOptionLowAt);
  const auto high = section.subspan(SbOptionHighAt, 256 - low.size());
  const u16 check = ContinueCheck16(ContinueCheck16(0, low), high);
  const u32 sum = std::accumulate(high.begin(), high.end(), std::accumulate(low.begin(), low.end(), 0u));
  return SumPair{check, static_cast<u16>(sum)} == SumPair{c.OptionCheck16, c.OptionSum16};
}

bool SettingsAgree(const ProjectFileContent& c) {
  const std::span<const u8> block(c.Section.data(), SettingsBlockSize);
  const u16 sum = static_cast<u16>(std::accumulate(block.begin(), block.begin() + SbSumAt, 0u));
  return CalcCheck16(block.first(SbCheckAt)) == GetLe16(block, SbCheckAt) && sum == GetLe16(block, SbSumAt);
}

}  // namespace

ProjectImageFault CheckProjectImages(const ProjectFileContent& c) {
  constexpr std::size_t kPowerFlagsAt = SbHeaderAt + ChipInfoPowerFlagsAt;
  const u8 erased = (c.Section[kPowerFlagsAt] & 0x10) != 0 ? 0x00 : 0xFF;
  if (!CopiesAgree(c)) return ProjectImageFault::SumCopies;
  if (!MainAgrees(c, erased)) return ProjectImageFault::MainFlash;
  if (!EepAgrees(c)) return ProjectImageFault::DataFlash;
  if (!OptionsAgree(c)) return ProjectImageFault::OptionBytes;
  if (!SettingsAgree(c)) return ProjectImageFault::Settings;
  return ProjectImageFault::None;
}

}  // namespace qx
