// Damaged object files through the window's three loads (Load, Load More, the data-flash
// load): whatever the operator answers, the job in place stays exactly as it was (images,
// sums, ranges, loaded flag, status bar, grid, the "Erase Data Flash" tick), with one log
// line and one box naming the file and what was wrong. Files that are not regular files are
// refused before they are opened, and the window goes on serving its units.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QLabel>
#include <QStatusBar>
#include <array>
#include <string>
#include <vector>

#include "images/IntelHexFile.h"
#include "images/SRecordFile.h"
#include "tests/app/ui/WindowJobFixture.h"
#include "tests/images/ObjectFileFixture.h"

namespace qx::test {
namespace {

using W = TGenMFrmARM;
constexpr const char* kDataFlashChip = "ML630Q464";  // main flash and 2 KiB of data flash
constexpr const char* kAutoChip = "AC78016xBxx";     // 32 KiB at 0x08000000

enum class Load { Main, More, DataFlash };
enum class Format { Hex, SRec };
enum class Damage { Checksum, Digit, CutShort, NoEnd, WrongCount, Garbage };

// Everything a refused load must leave as it was.
struct JobState {
  std::unique_ptr<ChipModel> model;
  std::vector<QString> status;
  bool eraseDataFlash = false;
  int gridRows = 0;
};

std::array<u32, 12> SumsOf(const ImageChecksums& s) {
  return {s.MainAcc32, s.EepAcc32,   s.ChipChecksum,    s.MainSum16,       s.MainCheck16, s.EepSum16,
          s.EepCheck16, s.OptionSum16, s.OptionCheck16, s.FileChecksum, s.EepFileChecksum, s.ObjectCrc32};
}

std::string JoinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& l : lines) text += l + "\r\n";
  return text;
}

// The file's text: three data records at address (the HEX file opens with its extended
// address record, so its second line is a data record either way), damaged as asked in
// its second line.
std::string DamagedFile(Format format, Damage damage, u32 address) {
  const std::vector<u8> data = RandomBytes(0x60, 41);
  std::vector<std::string> lines = CrLfLines(format == Format::Hex ? FormatIntelHex(data, address)
                                                                    : FormatSRecords(data, address));
  std::string& second = lines[1];
  switch (damage) {
    case Damage::Checksum: second.back() = second.back() == '0' ? '1' : '0'; break;
    case Damage::Digit: second[12] = 'G'; break;
    case Damage::CutShort: second.resize(second.size() / 2); break;
    case Damage::NoEnd: lines.pop_back(); break;
    case Damage::WrongCount: lines.insert(lines.end() - 1, "S5030005F7"); break;  // 5, with 3 data records
    case Damage::Garbage: {
      const std::vector<u8> bytes = RandomBytes(3000, 42);
      return std::string(bytes.begin(), bytes.end());
    }
  }
  return JoinLines(lines);
}

struct Case {
  Load load;
  Format format;
  Damage damage;
  bool abort;  // the answer to the line box
};

std::string NameOf(const Case& c) {
  static const char* loads[] = {"load", "load more", "data-flash load"};
  static const char* damages[] = {"bad checksum", "bad hex digit", "line cut short", "no end record",
                                  "wrong count", "garbage"};
  return std::string(loads[static_cast<int>(c.load)]) + (c.format == Format::Hex ? " hex " : " srec ") +
         damages[static_cast<int>(c.damage)] + (c.abort ? " abort" : " ok");
}

class DamagedObjectFiles : public WindowJob {
 protected:
  JobState Snapshot() {
    JobState s;
    s.model = std::make_unique<ChipModel>(Model());
    for (const QLabel* l : Control<QStatusBar>("StatusBar1").findChildren<QLabel*>()) s.status.push_back(l->text());
    s.eraseDataFlash = Control<QCheckBox>("ChkBoxErsEEP").isChecked();
    s.gridRows = grid->rowCount();
    return s;
  }
  void ExpectUnchanged(const JobState& before) {
    const ChipModel& b = *before.model;
    const ChipModel& m = Model();
    EXPECT_TRUE(m.MainFlashImage == b.MainFlashImage);
    EXPECT_TRUE(m.EepImage == b.EepImage);
    EXPECT_TRUE(m.OptionImage == b.OptionImage);
    EXPECT_TRUE(m.InfoAreaImage == b.InfoAreaImage);
    EXPECT_EQ(SumsOf(m.Sums), SumsOf(b.Sums));
    EXPECT_EQ(m.ObjectStart, b.ObjectStart);
    EXPECT_EQ(m.ObjectEnd, b.ObjectEnd);
    EXPECT_EQ(m.LastLoadAddress, b.LastLoadAddress);
    EXPECT_EQ(m.BinOffset, b.BinOffset);
    EXPECT_EQ(m.Params.DownloadSize, b.Params.DownloadSize);
    EXPECT_EQ(m.ObjectLoaded, b.ObjectLoaded);
    EXPECT_EQ(m.ObjectFileName, b.ObjectFileName);
    EXPECT_EQ(Snapshot().status, before.status);
    EXPECT_EQ(Control<QCheckBox>("ChkBoxErsEEP").isChecked(), before.eraseDataFlash);
    EXPECT_EQ(grid->rowCount(), before.gridRows);
  }
  void Run(Load load, const std::string& path) {
    files.push_back(FileDialogChoice{path, 1});
    Click(load == Load::Main ? &W::FileOpenBtnClick
                             : load == Load::More ? &W::SpdBtnLoadMoreClick : &W::LoadEepDataFile1Click);
  }
  // A good main file and a good data-flash file through the window, the tick cleared after.
  void PreviousJob() {
    const ChipParams& p = Model().Params;
    WriteText(rig.dir.File("good.hex"), FormatIntelHex(RandomBytes(0x90, 5), p.MainFlashStart + 0x40));
    Run(Load::Main, rig.dir.File("good.hex"));
    WriteText(rig.dir.File("good-ee.hex"), FormatIntelHex(RandomBytes(0x30, 6), p.EepStart + 0x10));
    Run(Load::DataFlash, rig.dir.File("good-ee.hex"));
    ASSERT_TRUE(rig.boxes.empty()) << BoxTexts().front();
    ASSERT_EQ(Model().ObjectLoaded, 1);
    ASSERT_EQ(Model().EepImage[0x10], RandomBytes(0x30, 6)[0]);
    Check("ChkBoxErsEEP", false);
  }
};

// What the refusal says about the file at path.
std::string RefusalText(const Case& c, const std::string& path) {
  const std::string file = "\"" + path + "\"";
  switch (c.damage) {
    case Damage::NoEnd: return "File " + file + " has no end record (it may be cut short) and has not been loaded!";
    case Damage::WrongCount: return "File " + file + " counts 5 data records but holds 3, it has not been loaded!";
    case Damage::Garbage:
      return "File " + file + (c.format == Format::Hex ? " holds no Intel HEX records" : " holds no S-records") +
             " and has not been loaded!";
    default:
      return c.abort ? "Loading of file " + file + " was aborted at line 2 (1 bad lines), nothing has been loaded!"
                     : "File " + file + " has 1 bad lines and has not been loaded!";
  }
}

TEST_F(DamagedObjectFiles, LeaveThePreviousJobAsItWasWhateverTheAnswer) {
  Start(1, Maker::Lapis, kDataFlashChip);
  PreviousJob();
  const ChipParams& p = Model().Params;
  ASSERT_NE(p.EepSize, 0u);

  std::vector<Case> cases;
  for (const Load load : {Load::Main, Load::More, Load::DataFlash}) {
    for (const Format format : {Format::Hex, Format::SRec}) {
      for (const Damage damage : {Damage::Checksum, Damage::Digit, Damage::CutShort}) {
        cases.push_back({load, format, damage, false});
        cases.push_back({load, format, damage, true});
      }
      cases.push_back({load, format, Damage::NoEnd, false});
      if (format == Format::SRec) cases.push_back({load, format, Damage::WrongCount, false});
      cases.push_back({load, format, Damage::Garbage, false});
    }
  }
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(NameOf(c));
    const u32 address = (c.load == Load::DataFlash ? p.EepStart : p.MainFlashStart) + 0x200;
    const std::string path = rig.dir.File("bad" + std::to_string(n++) + (c.format == Format::Hex ? ".hex" : ".s19"));
    WriteText(path, DamagedFile(c.format, c.damage, address));
    const JobState before = Snapshot();
    const std::size_t logBefore = Texts().size();
    rig.boxes.clear();
    rig.answers.clear();
    if (c.abort) rig.answers.push_back(MsgAnswer::Abort);

    Run(c.load, path);

    ExpectUnchanged(before);
    const std::string refusal = RefusalText(c, path);
    const auto boxes = BoxTexts();
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(boxes.back(), refusal);
    // One box for a file that gives no line to ask about; else the line box, then the refusal.
    const bool lineBox = c.damage == Damage::Checksum || c.damage == Damage::Digit || c.damage == Damage::CutShort;
    EXPECT_EQ(boxes.size(), lineBox ? 2u : 1u);
    const auto t = Texts();
    EXPECT_EQ(std::count(t.begin() + static_cast<std::ptrdiff_t>(logBefore), t.end(), refusal), 1);
    EXPECT_EQ(Count(refusal), 1u);
  }
}

TEST_F(DamagedObjectFiles, WithNothingLoadedTheUnitCommandsStillRefuse) {
  Start(1, Maker::AutoChip, kAutoChip);
  const u32 start = Model().Params.MainFlashStart;
  WriteText(rig.dir.File("aborted.hex"), DamagedFile(Format::Hex, Damage::Checksum, start));
  WriteText(rig.dir.File("cut.s19"), DamagedFile(Format::SRec, Damage::NoEnd, start));
  WriteText(rig.dir.File("garbage.hex"), DamagedFile(Format::Hex, Damage::Garbage, start));
  rig.answers.push_back(MsgAnswer::Abort);
  Run(Load::Main, rig.dir.File("aborted.hex"));
  Run(Load::Main, rig.dir.File("cut.s19"));
  Run(Load::More, rig.dir.File("garbage.hex"));
  EXPECT_EQ(Model().ObjectLoaded, 0);
  EXPECT_EQ(Model().MainFlashImage[0x200], 0xFF);

  for (const W::Handler command : {&W::SpdBtnDownLoadClick, &W::AutoSpdBtnClick, &W::SpdBtnProgClick}) {
    rig.boxes.clear();
    Click(command);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Please load the object file first!"});
    EXPECT_TRUE(rig.AllIdle());
  }
  EXPECT_EQ(rig.sim->Stats(0).DownloadSize, 0u);  // no settings ever reached the unit
}

TEST_F(DamagedObjectFiles, FifoAndFolderAreRefusedAtOnceAndTheUnitsAreStillServed) {
  Start(2, Maker::AutoChip, kAutoChip);
  ASSERT_EQ(::mkfifo(rig.dir.File("pipe.bin").c_str(), 0600), 0);
  ASSERT_EQ(::mkfifo(rig.dir.File("pipe.hex").c_str(), 0600), 0);
  std::filesystem::create_directory(rig.dir.File("folder.hex"));
  const struct {
    Load load;
    const char* file;
  } refused[] = {{Load::Main, "pipe.bin"}, {Load::More, "pipe.hex"}, {Load::DataFlash, "pipe.bin"},
                 {Load::Main, "folder.hex"}, {Load::DataFlash, "folder.hex"}};
  for (const auto& r : refused) {
    SCOPED_TRACE(r.file);
    rig.boxes.clear();
    rig.modals.clear();
    const std::string path = rig.dir.File(r.file);
    Run(r.load, path);  // an open of the FIFO would wait here for good
    const std::string text = "\"" + path + "\" is not a regular file and has not been opened!";
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{text});
    EXPECT_TRUE(rig.modals.empty());  // not even the offset dialog
    EXPECT_EQ(Model().ObjectLoaded, 0);
  }

  // The units go on: a good file loads and downloads to both.
  rig.boxes.clear();
  WriteText(rig.dir.File("good.hex"), FormatIntelHex(RandomBytes(0x400, 9), Model().Params.MainFlashStart));
  Run(Load::Main, rig.dir.File("good.hex"));
  ASSERT_EQ(Model().ObjectLoaded, 1);
  Click(&W::SpdBtnDownLoadClick);
  ASSERT_TRUE(Idle());
  EXPECT_EQ(Count("C1 : Data Donwload Success!"), 1u);
  EXPECT_EQ(Count("C2 : Data Donwload Success!"), 1u);
  EXPECT_TRUE(rig.boxes.empty()) << BoxTexts().front();
}

}  // namespace
}  // namespace qx::test
