// Project files go to the disk and come back in pieces: the saved file holds the bytes of
// the whole-file form, a file read in pieces reads as its bytes read at once (good, cut or
// damaged anywhere, a piece boundary included), and a save that fails after its first
// pieces keeps the previous file.
#include <gtest/gtest.h>

#include <cstring>

#include "base/Errors.h"
#include "base/MessageLog.h"
#include "images/FileReplace.h"
#include "programmer/RandomSource.h"
#include "programmer/SettingsBlock.h"
#include "project/ProjectFile.h"
#include "tests/project/ProjectTestSupport.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/RecordingOperator.h"

namespace qx {
namespace {

using R = ProjectReadResult;
constexpr std::size_t kPiece = ReplacingFile::PieceSize;
constexpr u8 kUnits = 2;

class ProjectFilePieces : public ::testing::Test {
 protected:
  static void Fill(ChipModel& m, u32 download, u32 eep) {
    m.Params.ProtocolKind = 85;
    m.Params.MainFlashStart = 0x08000000;
    m.Params.MainFlashSize = MainImageSize;
    m.Params.EepStart = 0x10000000;
    m.Params.EepSize = EepImageSize;
    m.Params.DownloadSize = download;
    m.Params.EepDownloadSize = eep;
    m.ChipName = "PIECES";
    for (u32 i = 0; i < download; ++i) m.MainFlashImage[i] = static_cast<u8>((i * 2654435761u) >> 24);
    for (u32 i = 0; i < eep; ++i) m.EepImage[i] = static_cast<u8>((i * 40503u) >> 8);
    test::TakeSums(m);
  }

  ProjectFileEnv Env(ChipModel& m, RandomSource& random) { return {m, log, op, random, section, kUnits, true}; }

  // The file WriteProjectFile makes with a random source of this seed, built in memory.
  static std::vector<u8> WholeFile(const ChipModel& m, u32 seed) {
    DefaultRandom random(seed);
    std::array<u8, SettingsBlockSize> block{};
    BuildSettingsBlock(m, random, 0, kUnits, block);
    return BuildProjectFile(m, 85, block, random);
  }

  test::ProjectTempDir dir;
  MessageLog log{[] { return std::string("12:00:00"); }};
  test::RecordingOperator op;
  ProjectSectionBuffer section{};
};

TEST_F(ProjectFilePieces, TheSavedFileHoldsTheWholeFileFormAroundThePieceSizeAndAtTheLargestImages) {
  const u32 downloads[] = {0, 1, kPiece - 3434 - 64, static_cast<u32>(kPiece), 3 * kPiece + 1, MainImageSize};
  const u32 eeps[] = {0, 0x10064, EepImageSize};
  const std::string path = dir.File("job.pqz");
  u32 seed = 1;
  for (const u32 download : downloads) {
    for (const u32 eep : eeps) {
      SCOPED_TRACE(std::to_string(download) + " + " + std::to_string(eep) + " bytes");
      auto m = test::NewModel();
      Fill(*m, download, eep);
      DefaultRandom random(++seed);
      ProjectFileEnv env = Env(*m, random);
      WriteProjectFile(path, 85, env);
      const std::vector<u8> file = ReadFileBytes(path, ProjectFileReadLimit);
      ASSERT_EQ(file.size(), WholeFile(*m, seed).size());
      EXPECT_TRUE(file == WholeFile(*m, seed));
    }
  }
  EXPECT_EQ(dir.EntryCount(), 1u);
}

TEST_F(ProjectFilePieces, AFileReadInPiecesReadsAsItsBytesReadAtOnce) {
  auto src = test::NewModel();
  Fill(*src, MainImageSize, EepImageSize);  // 4 MiB and more, the data flash's rest in the extension
  const std::vector<u8> good = WholeFile(*src, 7);
  const std::size_t trailerAt = 3434 + (1 + MainImageSize + MainImageSize / 1024) + 3 + 4 +
                                (1 + 0x10000 + 0x10000 / 1024) + 4;
  const struct {
    const char* name;
    std::size_t cutAt;      // the file's length; npos: whole
    std::size_t damagedAt;  // a byte changed; npos: none
  } cases[] = {
      {"whole", std::string::npos, std::string::npos},
      {"cut inside the first piece", 3000, std::string::npos},
      {"cut at a piece boundary", kPiece, std::string::npos},
      {"cut one byte after it", kPiece + 1, std::string::npos},
      {"cut inside the main image", 2 * 1024 * 1024 + 17, std::string::npos},
      {"cut inside the trailer", trailerAt + 100, std::string::npos},
      {"cut inside the extension", good.size() - 1000, std::string::npos},
      {"a byte changed in the second piece", std::string::npos, kPiece + 5},
      {"a byte changed in the extension", std::string::npos, good.size() - 2000},
  };
  const std::string path = dir.File("job.pqz");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<u8> bytes = good;
    if (c.cutAt != std::string::npos) bytes.resize(c.cutAt);
    if (c.damagedAt != std::string::npos) bytes[c.damagedAt] ^= 0x5A;
    test::WriteFile(path, bytes);

    auto atOnce = test::NewModel();
    auto inPieces = test::NewModel();
    DefaultRandom r1(1), r2(1);
    section = {};
    ProjectFileEnv env1 = Env(*atOnce, r1);
    const R expected = ReadProjectFile(std::span<const u8>(bytes), env1);
    const ProjectSectionBuffer sectionAtOnce = section;
    section = {};
    ProjectFileEnv env2 = Env(*inPieces, r2);
    EXPECT_EQ(ReadProjectFile(path, env2), expected);
    EXPECT_EQ(section, sectionAtOnce);
    EXPECT_EQ(inPieces->Params.DownloadSize, atOnce->Params.DownloadSize);
    EXPECT_EQ(inPieces->Params.EepDownloadSize, atOnce->Params.EepDownloadSize);
    EXPECT_EQ(std::memcmp(inPieces->MainFlashImage.data(), atOnce->MainFlashImage.data(), MainImageSize), 0);
    EXPECT_EQ(std::memcmp(inPieces->EepImage.data(), atOnce->EepImage.data(), EepImageSize), 0);
    if (c.cutAt == std::string::npos && c.damagedAt == std::string::npos) {
      EXPECT_EQ(expected, R::PrjOk);
      EXPECT_EQ(std::memcmp(inPieces->MainFlashImage.data(), src->MainFlashImage.data(), MainImageSize), 0);
      EXPECT_EQ(std::memcmp(inPieces->EepImage.data(), src->EepImage.data(), EepImageSize), 0);
    } else {
      EXPECT_NE(expected, R::PrjOk);  // cut in the trailer too: the extension was to follow
    }
  }
}

TEST_F(ProjectFilePieces, ASaveThatFailsAfterItsFirstPiecesKeepsThePreviousFile) {
  const std::string path = dir.File("job.pqz");
  test::WriteAllText(path, "previous");
  auto m = test::NewModel();
  Fill(*m, MainImageSize, 0);
  DefaultRandom random(3);
  ProjectFileEnv env = Env(*m, random);
  {
    const test::FileSizeLimit full(2 * kPiece + 100);  // the disk fills in the third piece
    EXPECT_THROW(WriteProjectFile(path, 85, env), EInOutError);
  }
  EXPECT_EQ(test::ReadAll(path), "previous");
  EXPECT_EQ(dir.EntryCount(), 1u);
  EXPECT_TRUE(op.messages.empty());  // no "Created Project File" for a file that is not there
}

}  // namespace
}  // namespace qx
