#include <gtest/gtest.h>

#include <algorithm>

#include "base/MessageLog.h"
#include "programmer/RandomSource.h"
#include "programmer/SettingsBlock.h"
#include "project/ProjectFile.h"
#include "tests/project/ProjectTestSupport.h"
#include "tests/support/RecordingOperator.h"

namespace qx {
namespace {

using test::NewModel;
using test::RecordingOperator;
using R = ProjectReadResult;

// A file that carries data flash above 64 KiB: what follows the trailer is the only copy of
// that data, so a damaged or cut extension must not load as a good project.
class EepExtensionDamage : public ::testing::Test {
 protected:
  void SetUp() override {
    auto src = NewModel();
    src->Params.ManufacturerIndex = 10;
    src->Params.EepSize = 0x20000;
    src->Params.EepStart = 0x20020000;
    src->Params.DownloadSize = 16;
    src->Params.EepDownloadSize = 0x20000;
    src->ChipName = "SA32B12xx";
    for (u32 i = 0; i < 0x20000; ++i) src->EepImage[i] = static_cast<u8>(i * 7 + 3);
    test::TakeSums(*src);
    std::array<u8, SettingsBlockSize> block{};
    BuildSettingsBlock(*src, random, 0, 1, block);
    file = BuildProjectFile(*src, 85, block, random);
    // Magic "Dromix" .. stored sum, then the 256 trailing bytes the older reader ignores.
    trailerEnd = 3434 + (1 + 16) + 3 + 4 + (1 + 0x10000 + 64) + 4 + 256;
    ASSERT_GT(file.size(), trailerEnd + 4);
    // Whole, the file is good: what the cases refuse is their damage.
    ASSERT_EQ(Read(file, *NewModel()), R::PrjOk);
  }

  R Read(std::span<const u8> bytes, ChipModel& m) {
    ProjectFileEnv env{m, log, op, random, section, 1, true};
    return ReadProjectFile(bytes, env);
  }

  MessageLog log{[] { return std::string("12:00:00"); }};
  RecordingOperator op;
  DefaultRandom random{99};
  ProjectSectionBuffer section{};
  std::vector<u8> file;
  std::size_t trailerEnd = 0;
};

TEST_F(EepExtensionDamage, CutInsideTheExtensionMarkIsRefused) {
  for (std::size_t extra = 1; extra < 4; ++extra) {
    auto live = NewModel();
    live->ChipName = "Live";
    EXPECT_NE(Read(std::span<const u8>(file).first(trailerEnd + extra), *live), R::PrjOk) << extra;
    EXPECT_EQ(live->ChipName, "Live") << extra;
  }
}

TEST_F(EepExtensionDamage, DamagedExtensionMarkIsRefused) {
  for (std::size_t at = 0; at < 4; ++at) {
    std::vector<u8> bad = file;
    bad[trailerEnd + at] ^= 0x01;
    auto live = NewModel();
    live->ChipName = "Live";
    EXPECT_NE(Read(bad, *live), R::PrjOk) << at;
    EXPECT_EQ(live->ChipName, "Live") << at;
  }
}

// Bytes after the trailer of a file that needs no extension stay unread, as in the older
// reader.
TEST_F(EepExtensionDamage, TrailingBytesOfAFileWithinSixtyFourKiBAreIgnored) {
  auto src = NewModel();
  src->Params.DownloadSize = 4;
  src->Params.EepDownloadSize = 0x10000;
  test::TakeSums(*src);
  std::array<u8, SettingsBlockSize> block{};
  BuildSettingsBlock(*src, random, 0, 1, block);
  std::vector<u8> small = BuildProjectFile(*src, 85, block, random);
  small.insert(small.end(), {0x1A, 0x1A, 0x1A});
  EXPECT_EQ(Read(small, *NewModel()), R::PrjOk);
}

}  // namespace
}  // namespace qx
