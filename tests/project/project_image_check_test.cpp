// A project's images against the check words and sums it stores for them: damage that keeps
// the file's byte sum is refused before anything is applied, and the sums of every range the
// program takes them over pass.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "base/MessageLog.h"
#include "chips/ChipSelect.h"
#include "chips/Makers.h"
#include "images/ViewChecksums.h"
#include "programmer/RandomSource.h"
#include "programmer/SettingsBlock.h"
#include "project/ProjectFile.h"
#include "project/ProjectImageCheck.h"
#include "tests/project/ProjectTestSupport.h"
#include "tests/support/RecordingOperator.h"

namespace qx {
namespace {

using F = ProjectImageFault;
using R = ProjectReadResult;
using test::kCfgDataAt;
using test::NewModel;

constexpr u32 kDownload = 0x9000;  // 36 blocks of 1024 bytes of the 128 KiB main flash
constexpr std::size_t kMainAt = 3434;  // the main-image section's first key byte
constexpr std::size_t kChunk = 1025;   // a key byte and the 1024 data bytes it scrambles

u8 Pattern(u32 i, u32 salt) { return static_cast<u8>(((i + salt) * 2654435761u) >> 24); }

// A Silergy SA32B12xx job as the chip tables give it (128 KiB of main flash at 0, 128 KiB
// of data flash, option code 1): data over part of the main flash, the whole data flash and
// the option bytes, with the sums an object load leaves.
std::unique_ptr<ChipModel> SilergyJob() {
  auto m = NewModel();
  EXPECT_TRUE(SelectListedChip(*m, IndexOf(Maker::Silergy), 2));
  EXPECT_EQ(m->ChipName, "SA32B12xx");
  ChipParams& p = m->Params;
  p.DownloadSize = kDownload;
  for (u32 i = 0; i < kDownload; ++i) m->MainFlashImage[i] = Pattern(i, 1);
  for (u32 i = 0; i < p.EepSize; ++i) m->EepImage[i] = Pattern(i, 2);
  for (u32 i = 0; i < 332; ++i) m->OptionImage[i] = Pattern(i, 3);
  m->ObjectLoaded = 1;
  test::TakeSums(*m);
  return m;
}

std::vector<u8> FileOf(const ChipModel& m) {
  DefaultRandom random(5);
  std::array<u8, SettingsBlockSize> block{};
  BuildSettingsBlock(m, random, 0, 1, block);
  return BuildProjectFile(m, 85, block, random);
}

// The file's layout and byte sum pass; what the image check says.
F Check(const std::vector<u8>& bytes) {
  ProjectFileContent content;
  const R decoded = DecodeProjectFile(bytes, content);
  EXPECT_EQ(decoded, R::PrjOk) << "the byte sum was to stay good";
  return decoded == R::PrjOk ? CheckProjectImages(content) : F::None;
}

// Two stored bytes changed by +1 and -1: the file's byte sum stays.
void Cancel(std::vector<u8>& f, std::size_t a, std::size_t b) {
  if (f[a] == 0xFF || f[b] == 0x00) std::swap(a, b);
  ASSERT_TRUE(f[a] != 0xFF && f[b] != 0x00);
  ++f[a];
  --f[b];
}

void SwapChunks(std::vector<u8>& f, std::size_t a, std::size_t b, std::size_t n) {
  std::swap_ranges(f.begin() + static_cast<std::ptrdiff_t>(a), f.begin() + static_cast<std::ptrdiff_t>(a + n),
                   f.begin() + static_cast<std::ptrdiff_t>(b));
}

TEST(ProjectImageCheck, DamageThatKeepsTheByteSumIsRefusedBeforeAnythingIsApplied) {
  const auto job = SilergyJob();
  const std::vector<u8> good = FileOf(*job);
  ASSERT_EQ(Check(good), F::None);
  const std::size_t eep = test::EepSectionAt(kDownload);
  const std::size_t option = kCfgDataAt + SbOptionLowAt;
  const struct {
    const char* name;
    std::function<void(std::vector<u8>&)> damage;
    F fault;
  } cases[] = {
      {"main-flash blocks 2 and 5 swapped", [](auto& f) { SwapChunks(f, kMainAt + 2 * kChunk, kMainAt + 5 * kChunk, kChunk); },
       F::MainFlash},
      {"two main-flash changes that cancel", [](auto& f) { Cancel(f, kMainAt + 1 + 100, kMainAt + 3 * kChunk + 7); },
       F::MainFlash},
      {"data-flash blocks 3 and 7 swapped", [eep](auto& f) { SwapChunks(f, eep + 3 * kChunk, eep + 7 * kChunk, kChunk); },
       F::DataFlash},
      {"two data-flash changes that cancel", [eep](auto& f) { Cancel(f, eep + 1 + 10, eep + 10 * kChunk + 3); },
       F::DataFlash},
      {"option bytes 0..15 and 48..63 swapped", [option](auto& f) { SwapChunks(f, option, option + 48, 16); },
       F::OptionBytes},
      {"option bytes 1 and 133 changed to cancel",
       [option](auto& f) { Cancel(f, option + 1, kCfgDataAt + SbOptionHighAt + 5); }, F::OptionBytes},
      {"two of the header's sums changed to cancel", [](auto& f) { Cancel(f, 310, 314); }, F::SumCopies},
      // The chip-control bytes the units are sent: the power and the reset flags.
      {"two settings bytes changed to cancel", [](auto& f) { Cancel(f, kCfgDataAt + 37, kCfgDataAt + 38); },
       F::Settings},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<u8> bad = good;
    c.damage(bad);
    ASSERT_NE(bad, good);
    EXPECT_EQ(Check(bad), c.fault);

    auto live = NewModel();
    live->ChipName = "Live";
    live->MainFlashImage[0] = 0x5A;
    MessageLog log([] { return std::string("12:00:00"); });
    test::RecordingOperator op;
    DefaultRandom random(1);
    ProjectSectionBuffer section{};
    section.fill(0x33);
    ProjectFileEnv env{*live, log, op, random, section, 1, false};
    EXPECT_EQ(ReadProjectFile(bad, env), R::PrjSumMismatch);
    ASSERT_EQ(op.messages.size(), 1u);
    EXPECT_EQ(op.messages[0].text, "Project File Data Has Been Corrupted!");
    EXPECT_EQ(live->ChipName, "Live");
    EXPECT_EQ(live->MainFlashImage[0], 0x5A);
    EXPECT_EQ(section[0], 0x33);
  }
}

// The jobs the program can save, each with its sums as the program leaves them: no file it
// writes is refused. Two rows show where the comparison stops being possible.
TEST(ProjectImageCheck, EveryRangeTheProgramTakesTheSumsOverPasses) {
  MessageLog log;
  const auto readBack = [&log](ChipModel& m) { CalcReadMainChecksum(m, log); };
  const auto chipBeyondDownload = [](ChipModel& m) {
    for (u32 i = kDownload; i < m.Params.MainFlashSize; ++i) m.MainFlashImage[i] = Pattern(i, 4);
  };
  const struct {
    const char* name;
    std::function<void(ChipModel&)> state;
    F fault;
    bool olderLayout = false;  // the file as the older writer leaves it: 64 KiB of data flash
  } cases[] = {
      {"an object file loaded", [](ChipModel&) {}, F::None},
      {"DownloadSize widened for an on-line serial number", [](ChipModel& m) { m.Params.DownloadSize += 0x2000; },
       F::None},
      {"the whole main flash read back",
       [&](ChipModel& m) {
         chipBeyondDownload(m);
         m.Params.DownloadSize = m.Params.MainFlashSize;
         readBack(m);
       },
       F::None},
      {"read back over a shorter DownloadSize, the chip erased beyond it", readBack, F::None},
      {"read back over a shorter DownloadSize, the chip holding data beyond it",
       [&](ChipModel& m) {
         chipBeyondDownload(m);
         readBack(m);
       },
       F::MainFlash},
      {"a chip without data flash, with the data-flash sums of the chip before",
       [](ChipModel& m) {
         m.Params.EepSize = 0;
         m.Params.EepDownloadSize = 0;
         m.Sums.EepCheck16 = 0x1234;
       },
       F::None},
      {"chosen and read back, with the data-flash sums of the chip before",
       [&](ChipModel& m) {
         m.Params.DownloadSize = m.Params.MainFlashSize;
         readBack(m);
         m.Sums.EepCheck16 ^= 0x5A5A;
       },
       F::None},
      {"stale data-flash sums with a trimmed main image", [](ChipModel& m) { m.Sums.EepCheck16 ^= 0x5A5A; },
       F::DataFlash},
      {"an older file holding 64 KiB of the data flash", [](ChipModel&) {}, F::None, true},
      {"option code 0, with the option sums of the chip before",
       [](ChipModel& m) {
         m.Params.OptionCode = 0;
         m.Sums.OptionCheck16 ^= 1;
       },
       F::None},
      {"option code 1, option sums not of these bytes", [](ChipModel& m) { m.Sums.OptionCheck16 ^= 1; },
       F::OptionBytes},
      {"a chip erased to 0x00, DownloadSize widened",
       [](ChipModel& m) {
         m.Params.BlankIsZero = 1;
         m.Control.PowerFlags |= 0x10;
         std::fill(m.MainFlashImage.begin() + kDownload, m.MainFlashImage.end(), u8{0x00});
         test::TakeSums(m);
         m.Params.DownloadSize += 0x100;
       },
       F::None},
      {"no main-image data",
       [](ChipModel& m) {
         m.Params.DownloadSize = 0;
         test::TakeSums(m);
       },
       F::None},
      {"a main window that starts inside a megabyte: its sums cover bytes the file does not hold",
       [](ChipModel& m) {
         m.Params.MainFlashStart = 0x00010000;
         m.Sums.MainCheck16 ^= 1;
       },
       F::None},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto job = SilergyJob();
    c.state(*job);
    std::vector<u8> bytes = FileOf(*job);
    if (c.olderLayout) {
      bytes.resize(test::StoredSumAt(job->Params.DownloadSize, job->Params.EepDownloadSize) + 4 + 256);
      ASSERT_LT(test::EepCount(job->Params.EepDownloadSize), job->Params.EepSize);
    }
    EXPECT_EQ(Check(bytes), c.fault);
  }
}

}  // namespace
}  // namespace qx
