#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <numeric>
#include <tuple>

#include "base/ByteOrder.h"
#include "base/Errors.h"
#include "base/MessageLog.h"
#include "programmer/RandomSource.h"
#include "programmer/SettingsBlock.h"
#include "project/ProjectByteStream.h"
#include "project/ProjectFile.h"
#include "tests/project/ProjectTestSupport.h"
#include "tests/support/RecordingOperator.h"

namespace qx {
namespace {

using test::NewModel;
using test::RecordingOperator;
using R = ProjectReadResult;

u8 Pattern(u32 i, u32 salt) { return static_cast<u8>(((i + salt) * 2654435761u) >> 24); }

using test::EepCount;
using test::EepTagAt;
using test::SectionBytes;
using test::StoredSumAt;

std::size_t ExtensionBytes(u32 eep) {
  const u32 rest = eep - EepCount(eep);
  return rest == 0 ? 0 : 16 + SectionBytes(rest) + 4;
}

class ProjectFileTest : public ::testing::Test {
 protected:
  void FillSample(ChipModel& m, u32 download, u32 eep) {
    m.Params.ProtocolKind = 85;
    m.Params.ManufacturerIndex = 10;
    m.Params.MainFlashSize = 0x40000;
    m.Params.MainFlashStart = 0x08000000;
    m.Params.EepSize = 0x20000;
    m.Params.EepStart = 0x10000000;
    m.Params.OptionStart = 0x1FFFF800;
    m.Params.InfoStart = 0x1FFF0000;
    m.Params.DownloadSize = download;
    m.Params.EepDownloadSize = eep;
    m.ChipName = "SY8F3201";
    m.ObjectFileName = "firmware.hex";
    m.Sn.SnGain = 3;
    m.Sn.SnMaxCount = 500;
    m.ObjectStart = 0x08000000;
    m.ObjectEnd = 0x0801FFFF;
    m.ProjectFlags = 7;
    for (u32 i = 0; i < download; ++i) m.MainFlashImage[i] = Pattern(i, 1);
    for (u32 i = 0; i < eep; ++i) m.EepImage[i] = Pattern(i, 2);
    for (u32 i = 0; i < OptionImageSize; ++i) m.OptionImage[i] = Pattern(i, 3);
    test::TakeSums(m);
    m.Sums.ChipChecksum = 0x12345678;
    m.Sums.FileChecksum = 0x9ABCDEF0;
    m.Sums.EepFileChecksum = 0x0BADF00D;
  }

  std::vector<u8> Build(const ChipModel& m) {
    BuildSettingsBlock(m, random, 0, 2, block);
    return BuildProjectFile(m, 85, block, random);
  }

  ProjectFileEnv Env(ChipModel& m) { return ProjectFileEnv{m, log, op, random, section, 2, false}; }

  R Read(std::span<const u8> bytes, ChipModel& m, bool cmdLine = true) {
    ProjectFileEnv env = Env(m);
    env.CmdLineMode = cmdLine;
    return ReadProjectFile(bytes, env);
  }

  MessageLog log{[] { return std::string("12:00:00"); }};
  RecordingOperator op;
  DefaultRandom random{1234};
  ProjectSectionBuffer section{};
  std::array<u8, SettingsBlockSize> block{};
};

// Main-image and EEP counts: every byte comes back, the file has the size the layout gives.
class ProjectRoundTrip : public ProjectFileTest, public ::testing::WithParamInterface<std::tuple<u32, u32>> {};

TEST_P(ProjectRoundTrip, RestoresEverythingWithExactLayout) {
  const auto [download, eep] = GetParam();
  auto src = NewModel();
  FillSample(*src, download, eep);
  const std::vector<u8> bytes = Build(*src);

  const std::size_t sumAt = StoredSumAt(download, eep);
  ASSERT_EQ(bytes.size(), sumAt + 4 + 256 + ExtensionBytes(eep));
  const u32 sum = std::accumulate(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(sumAt), 0u);
  EXPECT_EQ(GetLe32(bytes, sumAt), sum);
  EXPECT_EQ(bytes[2403], 'C' ^ 0xEA);
  EXPECT_EQ(bytes[2404], 'F' ^ 0xEA);
  EXPECT_EQ(bytes[2405], 'G' ^ 0xEA);
  EXPECT_EQ(bytes[3431], 'M' ^ 0xF1);
  EXPECT_EQ(bytes[3432], 'F' ^ 0xF1);
  EXPECT_EQ(bytes[3433], 'M' ^ 0xF1);
  const std::size_t eepTag = EepTagAt(download);
  EXPECT_EQ(bytes[eepTag], 'E' ^ 0xEC);
  EXPECT_EQ(bytes[eepTag + 2], 'P' ^ 0xEC);
  EXPECT_EQ(GetLe32(bytes, eepTag + 3), eep);
  EXPECT_EQ(GetLe32(bytes, 266), download);

  auto back = NewModel();
  ASSERT_EQ(Read(bytes, *back), R::PrjOk);
  EXPECT_EQ(back->Params.DownloadSize, download);
  EXPECT_EQ(back->Params.EepDownloadSize, eep);
  EXPECT_TRUE(std::equal(src->MainFlashImage.begin(), src->MainFlashImage.begin() + download,
                         back->MainFlashImage.begin()));
  EXPECT_TRUE(std::equal(src->EepImage.begin(), src->EepImage.begin() + eep, back->EepImage.begin()));
  EXPECT_TRUE(std::equal(block.begin(), block.end(), section.begin()));
}

INSTANTIATE_TEST_SUITE_P(Sizes, ProjectRoundTrip,
                         ::testing::Combine(::testing::Values(0u, 1u, 1023u, 1024u, 1025u, 0x20000u, MainImageSize),
                                            ::testing::Values(0u, 0x10064u, 0x20000u)));

TEST_F(ProjectFileTest, HeaderFieldsComeBack) {
  auto src = NewModel();
  FillSample(*src, 100, 10);
  const std::vector<u8> bytes = Build(*src);
  EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 6), "Dromix");
  EXPECT_EQ(bytes[6], 2);
  EXPECT_EQ(bytes[7], 85);
  EXPECT_EQ(bytes[8], 'N' ^ 0xEE);
  EXPECT_EQ(GetLe32(bytes, 156), 500u);
  const ImageChecksums& sums = src->Sums;
  const std::array<u16, 6> stored = {sums.MainSum16, sums.MainCheck16,   sums.EepSum16,
                                     sums.EepCheck16, sums.OptionSum16, sums.OptionCheck16};
  for (std::size_t i = 0; i < stored.size(); ++i) EXPECT_EQ(GetLe32(bytes, 306 + 4 * i), stored[i]) << i;  // high half 0
  EXPECT_EQ(bytes[256], 7);

  auto back = NewModel();
  ASSERT_EQ(Read(bytes, *back), R::PrjOk);
  const ChipParams& p = back->Params;
  EXPECT_EQ(p.ProtocolKind, 85);
  EXPECT_EQ(p.ManufacturerIndex, 10);
  EXPECT_EQ(p.MainFlashSize, 0x40000u);
  EXPECT_EQ(p.EepSize, 0x20000u);
  EXPECT_EQ(p.MainFlashStart, 0x08000000u);
  EXPECT_EQ(p.EepStart, 0x10000000u);
  EXPECT_EQ(p.OptionStart, 0x1FFFF800u);
  EXPECT_EQ(p.InfoStart, 0x1FFF0000u);
  EXPECT_EQ(back->ChipName, "SY8F3201");
  EXPECT_EQ(back->ObjectFileName, "firmware.hex");
  EXPECT_EQ(back->ProgrammerModel, "Nolbin200ARM");
  EXPECT_EQ(back->Sums.ChipChecksum, 0x12345678u);
  EXPECT_EQ(back->Sums.FileChecksum, 0x9ABCDEF0u);
  EXPECT_EQ(back->Sums.EepFileChecksum, 0x0BADF00Du);
  EXPECT_EQ(back->Sums.MainSum16, sums.MainSum16);
  EXPECT_EQ(back->Sums.OptionCheck16, sums.OptionCheck16);
  EXPECT_EQ(back->Sn.SnGain, 3);
  EXPECT_EQ(back->Sn.SnMaxCount, 0u);  // not taken from the header
  EXPECT_EQ(back->ObjectEnd, 0x0801FFFFu);
  EXPECT_EQ(back->ProjectFlags, 7);
  // Option bytes 128..331 stay available in the section whatever the family.
  for (std::size_t i = 0; i < 204; ++i) ASSERT_EQ(section[SbOptionHighAt + i], src->OptionImage[128 + i]) << i;
  EXPECT_EQ(log.Lines().back(), "> 12:00:00 Project File Open Success!");
}

TEST_F(ProjectFileTest, NameFields) {
  auto src = NewModel();
  FillSample(*src, 4, 0);
  src->ChipName = "ABCDEFGHIJKLMNOPQRSTUVWXY";  // 25 characters
  src->ObjectFileName.clear();
  std::vector<u8> bytes = Build(*src);
  EXPECT_EQ(bytes[24 + 19], 'T' ^ 0xEE);
  EXPECT_TRUE(std::all_of(bytes.begin() + 44, bytes.begin() + 92, [](u8 b) { return b == 0; }));
  auto back = NewModel();
  ASSERT_EQ(Read(bytes, *back), R::PrjOk);
  EXPECT_EQ(back->ChipName, "ABCDEFGHIJKLMNOPQRST");
  EXPECT_EQ(back->ObjectFileName, "");

  // A character equal to the name key is stored as zero and ends the name on reading.
  src->ChipName = std::string("AB\xEE" "CD");
  bytes = Build(*src);
  EXPECT_EQ(bytes[26], 0);
  EXPECT_EQ(bytes[27], 'C' ^ 0xEE);
  ASSERT_EQ(Read(bytes, *back), R::PrjOk);
  EXPECT_EQ(back->ChipName, "AB");
}

// One flipped byte anywhere the sum covers, or in the extension, is found.
TEST_F(ProjectFileTest, FlippedByteGivesSumMismatch) {
  auto src = NewModel();
  FillSample(*src, 3000, 0x20000);
  const std::vector<u8> good = Build(*src);
  const std::size_t sumAt = StoredSumAt(3000, 0x20000);
  const std::size_t extAt = sumAt + 4 + 256;
  const std::vector<std::pair<const char*, std::size_t>> cases = {
      {"header value", 259},          {"key table", 354 + 100},     {"key table end", 2402},
      {"configuration", 2407 + 10},   {"main data", 3435 + 5},      {"main key byte", 3434 + 1025},
      {"eep data", EepTagAt(3000) + 3 + 4 + 1 + 7},                {"stored sum", sumAt + 1},
      {"extension data", extAt + 16 + 1 + 9}, {"extension check", good.size() - 1},
  };
  for (const auto& [what, at] : cases) {
    std::vector<u8> bad = good;
    bad[at] ^= 0x01;
    auto back = NewModel();
    back->ChipName = "Before";
    EXPECT_EQ(Read(bad, *back), R::PrjSumMismatch) << what;
    EXPECT_EQ(back->ChipName, "Before") << what;
    EXPECT_EQ(back->EepImage[0], 0xFF) << what;
  }
}

TEST_F(ProjectFileTest, DamagedTagsAndMagic) {
  auto src = NewModel();
  FillSample(*src, 0, 16);
  const std::vector<u8> good = Build(*src);
  struct Case {
    const char* what;
    std::size_t at;
    R expected;
  };
  // With no main data only the key byte stands between the MFM and the EEP tag. A damaged
  // tag leaves its section unread, so the reader looks for the next tag inside it, where it
  // fails too (the last failing tag wins): a damaged CFG or MFM tag ends with the EEP code.
  for (const Case& c : {Case{"magic", 0, R::PrjBadMagic}, Case{"mfm tag", 3432, R::PrjNoEep},
                        Case{"eep tag", EepTagAt(0) + 1, R::PrjNoEep}, Case{"cfg tag", 2404, R::PrjNoEep}}) {
    std::vector<u8> bad = good;
    bad[c.at] ^= 0x20;
    auto back = NewModel();
    EXPECT_EQ(Read(bad, *back), c.expected) << c.what;
  }
  std::vector<u8> bad = good;
  bad[2403] ^= 1;
  Read(bad, *NewModel(), false);
  ASSERT_FALSE(op.messages.empty());
  EXPECT_EQ(op.messages.back().text, "Project File Data Has Been Corrupted!");
  bad = good;
  bad[1] = 'R';
  Read(bad, *NewModel(), false);
  EXPECT_EQ(op.messages.back().text, "Not Valid Dromix Project File!");
}

TEST_F(ProjectFileTest, TruncationAtEveryOffsetLeavesLiveStateUnchanged) {
  auto src = NewModel();
  FillSample(*src, 10, 5);
  const std::vector<u8> bytes = Build(*src);
  auto live = NewModel();
  live->ChipName = "Live";
  live->Params.DownloadSize = 77;
  live->MainFlashImage[0] = 0x5A;
  live->EepImage[0] = 0xA5;
  section.fill(0x33);
  // Up to the stored sum every cut fails; the trailing bytes are never read.
  for (std::size_t len = 0; len < StoredSumAt(10, 5) + 4; ++len) {
    ASSERT_NE(Read(std::span<const u8>(bytes).first(len), *live), R::PrjOk) << len;
    ASSERT_EQ(live->ChipName, "Live") << len;
    ASSERT_EQ(live->Params.DownloadSize, 77u) << len;
    ASSERT_EQ(live->MainFlashImage[0], 0x5A) << len;
    ASSERT_EQ(live->EepImage[0], 0xA5) << len;
    ASSERT_EQ(section[0], 0x33) << len;
  }
  EXPECT_EQ(Read(bytes, *live), R::PrjOk);
}

TEST_F(ProjectFileTest, HeaderValuesAreCheckedBeforeUse) {
  struct Case {
    const char* what;
    void (*change)(ChipModel&);
    R expected;
  };
  const Case cases[] = {
      {"main flash larger than the image", [](ChipModel& m) { m.Params.MainFlashSize = MainImageSize + 1; }, R::PrjSumMismatch},
      {"eep larger than the image", [](ChipModel& m) { m.Params.EepSize = EepImageSize + 1; }, R::PrjSumMismatch},
      {"main window wraps", [](ChipModel& m) { m.Params.MainFlashStart = 0xFFFFF000; }, R::PrjSumMismatch},
      {"eep window wraps", [](ChipModel& m) { m.Params.EepStart = 0xFFFF0000; }, R::PrjSumMismatch},
      {"no eep window", [](ChipModel& m) { m.Params.EepStart = NoWindow; m.Params.EepSize = 0; }, R::PrjOk},
      {"window ends at the top", [](ChipModel& m) { m.Params.MainFlashStart = 0xFFFC0000; }, R::PrjOk},
  };
  for (const Case& c : cases) {
    auto src = NewModel();
    FillSample(*src, 8, 8);
    c.change(*src);
    auto back = NewModel();
    EXPECT_EQ(Read(Build(*src), *back), c.expected) << c.what;
  }

  // Counts beyond the images cannot be read: patched into an otherwise good file.
  auto src = NewModel();
  FillSample(*src, 8, 8);
  std::vector<u8> bad = Build(*src);
  PutLe32(bad, 266, MainImageSize + 1);
  EXPECT_EQ(Read(bad, *NewModel()), R::PrjNoMfm);
  bad = Build(*src);
  PutLe32(bad, EepTagAt(8) + 3, EepImageSize + 1);
  EXPECT_EQ(Read(bad, *NewModel()), R::PrjNoEep);
  PutLe32(bad, EepTagAt(8) + 3, 0xFFFFFFFF);
  EXPECT_EQ(Read(bad, *NewModel()), R::PrjNoEep);
}

// Thirteen makers, 0 .. 12: any other number is no maker's, and the file is refused with a
// text that names the number, instead of being read as some other maker's job. The file is
// not damaged, so it is not called so.
TEST_F(ProjectFileTest, ManufacturerIndexOutsideTheThirteenMakersIsRefusedByName) {
  for (auto [stored, expected] : {std::pair<u8, R>{0, R::PrjOk}, {12, R::PrjOk}, {13, R::PrjUnknownMaker},
                                  {255, R::PrjUnknownMaker}}) {
    SCOPED_TRACE(int(stored));
    auto src = NewModel();
    FillSample(*src, 1, 0);
    src->Params.ManufacturerIndex = stored;
    auto back = NewModel();
    back->ChipName = "Live";
    back->Params.ManufacturerIndex = 3;
    op.messages.clear();
    ASSERT_EQ(Read(Build(*src), *back, false), expected);
    ASSERT_EQ(op.messages.size(), 1u);
    if (expected == R::PrjOk) {
      EXPECT_EQ(back->Params.ManufacturerIndex, stored);
      continue;
    }
    const std::string text = "The project is for chip maker number " + std::to_string(stored) +
                             ", but this program knows the makers 0 .. 12 only: the file has not been opened!";
    EXPECT_EQ(op.messages[0].text, text);
    EXPECT_EQ(log.Lines().back(), "> 12:00:00 " + text);
    EXPECT_EQ(back->ChipName, "Live");
    EXPECT_EQ(back->Params.ManufacturerIndex, 3);
  }
  // Damage wins over the number: a damaged file is called damaged.
  auto src = NewModel();
  FillSample(*src, 1, 0);
  src->Params.ManufacturerIndex = 13;
  std::vector<u8> bad = Build(*src);
  bad[3000] ^= 1;
  EXPECT_EQ(Read(bad, *NewModel()), R::PrjSumMismatch);
}

// The part of a large-EEP file that the older reader knows is a complete file of its own;
// without the extension the uncarried EEP bytes read as erased, not as the old job's.
TEST_F(ProjectFileTest, OlderLayoutWithoutExtensionStillLoads) {
  auto src = NewModel();
  FillSample(*src, 64, 0x20000);
  const std::vector<u8> full = Build(*src);
  const std::size_t olderSize = StoredSumAt(64, 0x20000) + 4 + 256;
  auto back = NewModel();
  back->EepImage.fill(0x11);
  ASSERT_EQ(Read(std::span<const u8>(full).first(olderSize), *back), R::PrjOk);
  EXPECT_TRUE(std::equal(src->EepImage.begin(), src->EepImage.begin() + 0x10000, back->EepImage.begin()));
  EXPECT_TRUE(std::all_of(back->EepImage.begin() + 0x10000, back->EepImage.begin() + 0x20000,
                          [](u8 b) { return b == 0xFF; }));
  EXPECT_EQ(back->EepImage[0x20000], 0x11);
  // The units get erased bytes where the job had data: the log says so.
  ASSERT_FALSE(log.Lines().empty());
  EXPECT_EQ(log.Lines().back(),
            "> 12:00:00 The project file holds 65536 of the 131072 data-flash bytes it declares: the rest is sent erased.");
  const std::size_t linesBefore = log.Lines().size();
  ASSERT_EQ(Read(full, *NewModel()), R::PrjOk);
  EXPECT_EQ(log.Lines().size(), linesBefore + 1) << "a whole file says nothing of erased bytes";

  // Cut inside the extension: the file is refused.
  EXPECT_EQ(Read(std::span<const u8>(full).first(olderSize + 20), *NewModel()), R::PrjSumMismatch);
}

// Cuts after the stored sum, and a file of no main-image data.
TEST_F(ProjectFileTest, CutTrailerAndEmptyMainImage) {
  struct Case {
    const char* name;
    u32 download;
    u32 eep;
    bool whole;
    std::ptrdiff_t keptPastSum;  // bytes kept after the stored sum; negative: cut inside it
    R expected;
  };
  const Case cases[] = {
      {"trailer cut to nothing", 10, 5, false, 0, R::PrjOk},
      {"trailer cut in the middle", 10, 5, false, 128, R::PrjOk},
      {"trailer one byte short", 10, 5, false, 255, R::PrjOk},
      {"stored sum cut", 10, 5, false, -3, R::PrjSumMismatch},
      {"extension expected, trailer cut", 10, 0x20000, false, 200, R::PrjSumMismatch},
      {"no main-image data", 0, 5, true, 0, R::PrjOk},
      {"no main-image data, trailer cut", 0, 0, false, 17, R::PrjOk},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto src = NewModel();
    FillSample(*src, c.download, c.eep);
    const std::vector<u8> bytes = Build(*src);
    // The layout an outside reader follows: the main-image key byte, then the EEP tag.
    ASSERT_EQ(bytes[EepTagAt(c.download)], 'E' ^ 0xEC);
    ASSERT_EQ(GetLe32(bytes, EepTagAt(c.download) + 3), c.eep);
    const std::size_t sumEnd = StoredSumAt(c.download, c.eep) + 4;
    const std::size_t kept =
        c.whole ? bytes.size() : static_cast<std::size_t>(static_cast<std::ptrdiff_t>(sumEnd) + c.keptPastSum);
    auto back = NewModel();
    back->ChipName = "Live";
    EXPECT_EQ(Read(std::span<const u8>(bytes).first(kept), *back), c.expected);
    if (c.expected != R::PrjOk) {
      EXPECT_EQ(back->ChipName, "Live");
      continue;
    }
    EXPECT_EQ(back->ChipName, src->ChipName);
    EXPECT_EQ(back->Params.DownloadSize, c.download);
    EXPECT_TRUE(std::equal(src->MainFlashImage.begin(), src->MainFlashImage.begin() + c.download,
                           back->MainFlashImage.begin()));
    EXPECT_TRUE(std::equal(src->EepImage.begin(), src->EepImage.begin() + c.eep, back->EepImage.begin()));
  }
}

TEST_F(ProjectFileTest, MessagesAndCommandLineMode) {
  auto src = NewModel();
  FillSample(*src, 1, 0);
  std::vector<u8> bytes = Build(*src);
  Read(bytes, *NewModel(), false);
  ASSERT_EQ(op.messages.size(), 1u);
  EXPECT_EQ(op.messages[0].text, "Project File Open Success!");
  bytes[3000] ^= 0xFF;
  Read(bytes, *NewModel(), true);
  EXPECT_EQ(op.messages.size(), 1u);
  EXPECT_EQ(log.Lines().back(), "> 12:00:00 Project File Data Has Been Corrupted!");
}

TEST_F(ProjectFileTest, WriterRefusesCountsBeyondTheImages) {
  auto src = NewModel();
  FillSample(*src, 1, 0);
  src->Params.EepDownloadSize = EepImageSize + 1;
  EXPECT_THROW(Build(*src), EInOutError);
}

TEST_F(ProjectFileTest, WriteAndReadThroughFiles) {
  test::ProjectTempDir dir;
  const std::string path = dir.File("job.pqz");
  auto src = NewModel();
  FillSample(*src, 5000, 100);
  ProjectFileEnv env = Env(*src);
  WriteProjectFile(path, 85, env);
  ASSERT_EQ(op.messages.size(), 1u);
  EXPECT_EQ(op.messages[0].text, "Created Project File : " + path);
  EXPECT_EQ(log.Lines().back(), "> 12:00:00 Created Project File : " + path);
  auto back = NewModel();
  ProjectFileEnv readEnv = Env(*back);
  readEnv.CmdLineMode = true;
  ASSERT_EQ(ReadProjectFile(path, readEnv), R::PrjOk);
  EXPECT_TRUE(std::equal(src->MainFlashImage.begin(), src->MainFlashImage.begin() + 5000, back->MainFlashImage.begin()));
  // Bytes 90..91 of the stored block carry the step of all units.
  EXPECT_EQ(GetLe16(section, SbSnStepAt), 6);
  EXPECT_THROW(ReadProjectFile(dir.File("missing.pqz"), readEnv), EInOutError);
  // A FIFO (whose open would wait for a writer for good) and a folder are refused unopened.
  ASSERT_EQ(::mkfifo(dir.File("pipe.pqz").c_str(), 0600), 0);
  ASSERT_EQ(::mkdir(dir.File("folder.pqz").c_str(), 0700), 0);
  for (const char* name : {"pipe.pqz", "folder.pqz"}) {
    try {
      ReadProjectFile(dir.File(name), readEnv);
      ADD_FAILURE() << name << " was read";
    } catch (const EInOutError& e) {
      EXPECT_EQ(std::string(e.what()), "\"" + dir.File(name) + "\" is not a regular file and has not been opened!");
    }
  }
}

// A write that fails part way leaves the previous project and no temporary file.
TEST_F(ProjectFileTest, FailedSaveKeepsThePreviousFile) {
  test::ProjectTempDir dir;
  const std::string path = dir.File("job.pqz");
  test::WriteAllText(path, "previous");
  auto src = NewModel();
  FillSample(*src, 0x100000, 0);
  ProjectFileEnv env = Env(*src);

  rlimit old{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  auto* oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = old;
  small.rlim_cur = 4096;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  EXPECT_THROW(WriteProjectFile(path, 85, env), EInOutError);
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, oldHandler);

  EXPECT_EQ(test::ReadAll(path), "previous");
  EXPECT_EQ(dir.EntryCount(), 1u);
  EXPECT_TRUE(op.messages.empty());
}

TEST(ProgrammerModelName, Table) {
  for (auto [code, name] : std::initializer_list<std::pair<u8, const char*>>{
           {85, "Nolbin200ARM"}, {83, "Nolbin200XVS"}, {3, "Nolbin200AT"}, {15, "Nolbin200RS"}, {31, "Nolbin200RS"},
           {27, "Nolbin200MG"}, {44, "Nolbin200MG"}, {35, "Nolbin200WL"}, {45, "Nolbin200WL"}, {61, "Nolbin200MPS"},
           {0, "Nolbin200XXX"}, {84, "Nolbin200XXX"}, {255, "Nolbin200XXX"}})
    EXPECT_EQ(GetProgrammerModelName(code), name) << int(code);
}

TEST(ProjectByteHelpers, SumAndBounds) {
  DefaultRandom random(1);
  ProjectByteWriter w(random);
  w.WriteProjectWord(0x1234);
  w.WriteProjectLong(0xA1B2C3D4);
  w.WriteProjectName("abc", 5, 0x01);
  w.WriteProjectRandom(300);
  const std::vector<u8> bytes = w.Bytes();
  ASSERT_EQ(bytes.size(), 2u + 4 + 5 + 300);
  EXPECT_EQ(bytes[0], 0x34);
  EXPECT_EQ(bytes[2], 0xD4);
  EXPECT_EQ(bytes[6], 'a' ^ 1);
  EXPECT_EQ(bytes[10], 0);
  EXPECT_TRUE(std::none_of(bytes.begin() + 11, bytes.end(), [](u8 b) { return b == 255; }));
  EXPECT_EQ(w.ProjectSum(), std::accumulate(bytes.begin(), bytes.end(), 0u));

  ProjectByteReader r(std::span<const u8>(bytes).first(3));
  EXPECT_EQ(r.ReadProjectWord(), 0x1234);
  EXPECT_FALSE(r.Short());
  EXPECT_EQ(r.ReadProjectLong(), 0xD4u);  // three bytes past the end read as zero
  EXPECT_TRUE(r.Short());
  EXPECT_EQ(r.ProjectSum(), 0x34u + 0x12 + 0xD4);
}

}  // namespace
}  // namespace qx
