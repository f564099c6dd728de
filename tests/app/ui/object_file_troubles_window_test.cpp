// Object files with trouble through the window's four loads (Load, Load More, the
// data-flash load, the grid's "Load File"), Intel HEX and S-record, answered OK and Abort.
// A sound record the chip cannot use (outside every window, of a type the reader does not
// use) and a missing end record are the operator's to decide: OK takes the rest of the
// file, Abort refuses it. A damaged line, a count that disagrees, a file with no data and
// one that holds no records are refused whatever the answer. A refused file leaves the job
// exactly as it was (images, sums, ranges, loaded flag, status bar, grid, the "Erase Data
// Flash" tick). In a run nobody watches the boxes are answered Abort: nothing is taken.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QAction>
#include <QLabel>
#include <QStatusBar>
#include <array>
#include <string>
#include <vector>

#include "images/HexDigits.h"
#include "images/IntelHexFile.h"
#include "images/RecordRouting.h"
#include "images/SRecordFile.h"
#include "tests/app/ui/WindowJobFixture.h"
#include "tests/images/ObjectFileFixture.h"

namespace qx::test {
namespace {

using W = TGenMFrmARM;
constexpr const char* kDataFlashChip = "ML630Q464";  // main flash and 2 KiB of data flash
constexpr const char* kAutoChip = "AC78016xBxx";     // 32 KiB at 0x08000000
constexpr u32 kOutsideEveryWindow = 0x30000000;
constexpr u32 kDataAt = 0x200;  // of the file's data, from its window's start
constexpr std::size_t kDataSize = 0x60;

enum class Load { Main, More, DataFlash, Grid };
enum class Format { Hex, SRec };
enum class Trouble { OutOfChip, UnusedType, NoEnd, Checksum, Digit, CutShort, TextLine, EndOnly, WrongCount, Garbage };

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

// Intel HEX record of any type, its checksum right.
std::string HexRecord(u8 type, u16 offset, const std::vector<u8>& data) {
  std::string line = ":";
  u32 sum = static_cast<u32>(data.size()) + (offset >> 8) + (offset & 0xFF) + type;
  AppendHexByte(line, static_cast<u8>(data.size()));
  AppendHexByte(line, static_cast<u8>(offset >> 8));
  AppendHexByte(line, static_cast<u8>(offset));
  AppendHexByte(line, type);
  for (const u8 b : data) AppendHexByte(line, b), sum += b;
  AppendHexByte(line, static_cast<u8>(0x100 - (sum & 0xFF)));
  return line;
}

// S-record of any type with a four-byte address field, its checksum right.
std::string SRecord(char type, u32 address, const std::vector<u8>& data) {
  std::string line = std::string("S") + type;
  const auto count = static_cast<u8>(data.size() + 5);
  u32 sum = count;
  AppendHexByte(line, count);
  for (int shift = 24; shift >= 0; shift -= 8) {
    AppendHexByte(line, static_cast<u8>(address >> shift));
    sum += static_cast<u8>(address >> shift);
  }
  for (const u8 b : data) AppendHexByte(line, b), sum += b;
  AppendHexByte(line, static_cast<u8>(~sum));
  return line;
}

std::vector<u8> FileData() { return RandomBytes(kDataSize, 41); }

// The file: an opening line (HEX: the extended address of what follows; S-record: a
// header), the line in trouble as line 2, then the data as our writer gives it.
std::string TroubledFile(Format format, Trouble trouble, u32 address) {
  const bool hex = format == Format::Hex;
  const auto extendedAddress = [](u32 a) { return HexRecord(0x04, 0, {static_cast<u8>(a >> 24), static_cast<u8>(a >> 16)}); };
  std::vector<std::string> data = CrLfLines(hex ? FormatIntelHex(FileData(), address) : FormatSRecords(FileData(), address));
  // Below 64 KiB our writer gives no extended address; the data must not take line 2's.
  if (hex && data[0].rfind(":02000004", 0) != 0) data.insert(data.begin(), extendedAddress(address));
  const u32 opening = trouble == Trouble::OutOfChip ? kOutsideEveryWindow : address;
  std::vector<std::string> lines{hex ? extendedAddress(opening) : "S00600004844521B"};
  std::string damaged = data[hex ? 1 : 0];  // the first data record
  switch (trouble) {
    case Trouble::OutOfChip:
      lines.push_back(hex ? HexRecord(0x00, 0, {1, 2, 3, 4}) : SRecord('3', kOutsideEveryWindow, {1, 2, 3, 4}));
      break;
    case Trouble::UnusedType:
      // At the address of the window's first byte, which no other record fills.
      lines.push_back(hex ? HexRecord(0x06, static_cast<u16>(address - kDataAt), {9, 9})
                          : SRecord('4', address - kDataAt, {9, 9}));
      break;
    case Trouble::NoEnd: data.pop_back(); break;
    case Trouble::Checksum: damaged.back() = damaged.back() == '0' ? '1' : '0', lines.push_back(damaged); break;
    case Trouble::Digit: damaged[12] = 'G', lines.push_back(damaged); break;
    case Trouble::CutShort: damaged.resize(damaged.size() / 2), lines.push_back(damaged); break;
    case Trouble::TextLine: lines.push_back("Hello, world"); break;
    case Trouble::EndOnly: return hex ? ":00000001FF\r\n" : "S70500000000FA\r\n";
    case Trouble::WrongCount: data.insert(data.end() - 1, "S5030005F7"); break;  // 5, with 3 data records
    case Trouble::Garbage: {
      const std::vector<u8> bytes = RandomBytes(3000, 42);
      return std::string(bytes.begin(), bytes.end());
    }
  }
  lines.insert(lines.end(), data.begin(), data.end());
  return JoinLines(lines);
}

struct Case {
  Load load;
  Format format;
  Trouble trouble;
  bool abort;  // the answer to the box that asks
};

// The troubles the operator decides; the others refuse the file whatever the answer.
bool OperatorDecides(Trouble t) { return t == Trouble::OutOfChip || t == Trouble::UnusedType || t == Trouble::NoEnd; }
bool Taken(const Case& c) { return OperatorDecides(c.trouble) && !c.abort; }

std::string NameOf(const Case& c) {
  static const char* loads[] = {"load", "load more", "data-flash load", "grid load file"};
  static const char* troubles[] = {"out of chip", "unused type", "no end record", "bad checksum", "bad hex digit",
                                   "line cut short", "text line", "end record only", "wrong count", "garbage"};
  return std::string(loads[static_cast<int>(c.load)]) + (c.format == Format::Hex ? " hex " : " srec ") +
         troubles[static_cast<int>(c.trouble)] + (c.abort ? " abort" : " ok");
}

// The boxes a case shows, in order, for the file at path.
std::vector<std::string> BoxesOf(const Case& c, const std::string& path) {
  const std::string file = "\"" + path + "\"";
  const std::string aborted = "Loading of file " + file + " was aborted at line 2 (1 bad lines), nothing has been loaded!";
  const auto lineBox = [&](int code) { return "Line 2 Data Error : " + std::to_string(code) + "."; };
  const bool hex = c.format == Format::Hex;
  std::vector<std::string> boxes;
  switch (c.trouble) {
    case Trouble::OutOfChip: boxes = {"Address \"0x30000000\" is out of Chip!", lineBox(7)}; break;
    case Trouble::UnusedType: boxes = {lineBox(hex ? 5 : 2)}; break;
    case Trouble::NoEnd:
      return {"File " + file + " has no end record and may be cut short. OK: load it as it is. Abort: do not load it."};
    case Trouble::Checksum: boxes = {lineBox(4)}; break;
    case Trouble::Digit: boxes = {lineBox(8)}; break;
    case Trouble::CutShort: boxes = {lineBox(6)}; break;
    case Trouble::TextLine: boxes = {lineBox(1)}; break;
    case Trouble::EndOnly: return {"File " + file + " holds no data for the chip and has not been loaded!"};
    case Trouble::WrongCount: return {"File " + file + " counts 5 data records but holds 3, it has not been loaded!"};
    case Trouble::Garbage:
      return {"File " + file + (hex ? " holds no Intel HEX records" : " holds no S-records") + " and has not been loaded!"};
  }
  if (c.abort) {
    boxes.push_back(aborted);
  } else if (!OperatorDecides(c.trouble)) {
    boxes.push_back("File " + file + " has 1 bad lines and has not been loaded!");
  }
  return boxes;
}

// The log lines a taken case adds after the path line.
std::string NoteOf(const Case& c, const std::string& path) {
  const std::string file = "\"" + path + "\"";
  if (c.trouble == Trouble::NoEnd) return "File " + file + " has no end record and has been loaded as it is: it may be cut short!";
  return "File " + file + ": 1 records outside the chip or of an unused type have been skipped.";
}

class ObjectFileTroubles : public WindowJob {
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
  // Taken: the file's data where it belongs, the rest of the job as the load leaves it.
  void ExpectTaken(const Case& c, const JobState& before, const std::string& path) {
    const ChipModel& b = *before.model;
    const ChipModel& m = Model();
    const ChipParams& p = m.Params;
    const std::vector<u8> data = FileData();
    const bool eep = c.load == Load::DataFlash || c.load == Load::Grid;
    std::vector<u8> main(b.MainFlashImage.begin(), b.MainFlashImage.end());
    std::vector<u8> eepImage(b.EepImage.begin(), b.EepImage.end());
    if (c.load == Load::Main) {
      std::fill(main.begin(), main.end(), m.ErasedValue());
      std::fill(eepImage.begin(), eepImage.begin() + EepImageSize - 1, m.ErasedValue());
    }
    if (eep) {
      std::fill(eepImage.begin(), eepImage.begin() + p.EepSize, m.ErasedValue());
      std::copy(data.begin(), data.end(), eepImage.begin() + kDataAt);
    } else {
      std::copy(data.begin(), data.end(), main.begin() + p.MainImageOffset + kDataAt);
    }
    EXPECT_TRUE(std::equal(main.begin(), main.end(), m.MainFlashImage.begin()));
    EXPECT_TRUE(std::equal(eepImage.begin(), eepImage.end(), m.EepImage.begin()));
    EXPECT_TRUE(m.OptionImage == b.OptionImage);
    EXPECT_EQ(m.ObjectLoaded, 1);
    EXPECT_EQ(m.ObjectFileName, c.load == Load::Main ? std::filesystem::path(path).filename().string() : b.ObjectFileName);
    EXPECT_EQ(Control<QCheckBox>("ChkBoxErsEEP").isChecked(), eep || before.eraseDataFlash);
    const std::string loaded = eep ? "EEP Data file of \"" + path + "\" hasn been loaded." : "File \"" + path + "\" has been loaded!";
    EXPECT_EQ(Count(loaded), 1u);
    EXPECT_EQ(Count(NoteOf(c, path)), 1u);
  }
  void Run(Load load, const std::string& path) {
    files.push_back(FileDialogChoice{path, 1});
    switch (load) {
      case Load::Main: Click(&W::FileOpenBtnClick); break;
      case Load::More: Click(&W::SpdBtnLoadMoreClick); break;
      case Load::DataFlash: Click(&W::LoadEepDataFile1Click); break;
      case Load::Grid: Control<QAction>("LoadFileOTP").trigger(); break;
    }
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
  std::string WriteCase(const Case& c, int n) {
    const ChipParams& p = Model().Params;
    const bool eep = c.load == Load::DataFlash || c.load == Load::Grid;
    const u32 address = (eep ? p.EepStart : p.MainFlashStart) + kDataAt;
    const std::string path = rig.dir.File("file" + std::to_string(n) + (c.format == Format::Hex ? ".hex" : ".s19"));
    WriteText(path, TroubledFile(c.format, c.trouble, address));
    return path;
  }
};

std::vector<Case> CasesOf(Load load) {
  std::vector<Case> cases;
  for (const Format format : {Format::Hex, Format::SRec}) {
    for (const Trouble trouble : {Trouble::OutOfChip, Trouble::UnusedType, Trouble::NoEnd, Trouble::Checksum,
                                  Trouble::Digit, Trouble::CutShort, Trouble::TextLine, Trouble::EndOnly,
                                  Trouble::WrongCount, Trouble::Garbage}) {
      if (trouble == Trouble::WrongCount && format == Format::Hex) continue;
      cases.push_back({load, format, trouble, false});
      cases.push_back({load, format, trouble, true});
    }
  }
  return cases;
}

class ThroughEachLoad : public ObjectFileTroubles, public ::testing::WithParamInterface<Load> {};

TEST_P(ThroughEachLoad, TheOperatorDecidesWhatTheChipCannotUseAndDamageIsRefused) {
  Start(1, Maker::Lapis, kDataFlashChip);
  const ChipParams& p = Model().Params;
  ASSERT_NE(p.EepSize, 0u);
  ASSERT_EQ(FindRecordTarget(Model(), kOutsideEveryWindow).Window, RecordWindow::None);
  ASSERT_EQ(FindRecordTarget(Model(), p.MainFlashStart).Window, RecordWindow::Main);
  ASSERT_EQ(FindRecordTarget(Model(), p.EepStart).Window, RecordWindow::Eep);

  int n = 0;
  for (const Case& c : CasesOf(GetParam())) {
    SCOPED_TRACE(NameOf(c));
    rig.boxes.clear();
    rig.answers.clear();
    PreviousJob();
    const std::string path = WriteCase(c, n++);
    const JobState before = Snapshot();
    const std::size_t logBefore = Texts().size();
    // The address box has only OK; the line box and the end-record box ask.
    if (c.trouble == Trouble::OutOfChip) rig.answers.push_back(MsgAnswer::Ok);
    rig.answers.push_back(c.abort ? MsgAnswer::Abort : MsgAnswer::Ok);

    Run(c.load, path);

    EXPECT_EQ(BoxTexts(), BoxesOf(c, path));
    if (Taken(c)) {
      ExpectTaken(c, before, path);
      continue;
    }
    ExpectUnchanged(before);
    // The refusal is logged once, and the file is never called loaded.
    const std::string refusal = c.trouble == Trouble::NoEnd
                                    ? "File \"" + path + "\" has no end record (it may be cut short) and has not been loaded!"
                                    : BoxesOf(c, path).back();
    const auto t = Texts();
    EXPECT_EQ(std::count(t.begin() + static_cast<std::ptrdiff_t>(logBefore), t.end(), refusal), 1);
    EXPECT_EQ(Count("File \"" + path + "\" has been loaded!"), 0u);
    EXPECT_EQ(Count("EEP Data file of \"" + path + "\" hasn been loaded."), 0u);
  }
}

std::string LoadName(const ::testing::TestParamInfo<Load>& info) {
  static const char* names[] = {"Load", "LoadMore", "DataFlashLoad", "GridLoadFile"};
  return names[static_cast<int>(info.param)];
}

INSTANTIATE_TEST_SUITE_P(Loads, ThroughEachLoad, ::testing::Values(Load::Main, Load::More, Load::DataFlash, Load::Grid),
                         LoadName);

// Nobody to ask: the boxes go to the log and the standard error, answered as closed without
// a button, which refuses the file.
TEST_F(ObjectFileTroubles, InARunNobodyWatchesTheBoxesRefuseTheFile) {
  Start(1, Maker::Lapis, kDataFlashChip);
  PreviousJob();
  rig.Core().UnattendedOp().SetActive(true);
  int n = 0;
  for (const Load load : {Load::Main, Load::DataFlash}) {
    for (const Format format : {Format::Hex, Format::SRec}) {
      for (const Trouble trouble : {Trouble::OutOfChip, Trouble::UnusedType, Trouble::NoEnd}) {
        const Case c{load, format, trouble, true};
        SCOPED_TRACE(NameOf(c));
        const std::string path = WriteCase(c, n++);
        const JobState before = Snapshot();
        rig.errorLines.clear();
        Run(c.load, path);
        ExpectUnchanged(before);
        EXPECT_TRUE(rig.boxes.empty()) << rig.boxes.front().text;
        const std::vector<std::string> boxes = BoxesOf(c, path);
        for (const std::string& box : boxes) {
          EXPECT_NE(std::find(rig.errorLines.begin(), rig.errorLines.end(), box), rig.errorLines.end()) << box;
          EXPECT_GE(Count(box), 1u) << box;
        }
        EXPECT_EQ(Count("File \"" + path + "\" has been loaded!"), 0u);
      }
    }
  }
  EXPECT_TRUE(rig.modals.empty());
}

TEST_F(ObjectFileTroubles, WithNothingLoadedTheUnitCommandsStillRefuse) {
  Start(1, Maker::AutoChip, kAutoChip);
  const u32 start = Model().Params.MainFlashStart + kDataAt;
  WriteText(rig.dir.File("aborted.hex"), TroubledFile(Format::Hex, Trouble::Checksum, start));
  WriteText(rig.dir.File("cut.s19"), TroubledFile(Format::SRec, Trouble::NoEnd, start));
  WriteText(rig.dir.File("garbage.hex"), TroubledFile(Format::Hex, Trouble::Garbage, start));
  WriteText(rig.dir.File("end.s19"), TroubledFile(Format::SRec, Trouble::EndOnly, start));
  rig.answers = {MsgAnswer::Abort, MsgAnswer::Ok, MsgAnswer::Abort};
  Run(Load::Main, rig.dir.File("aborted.hex"));
  Run(Load::Main, rig.dir.File("cut.s19"));
  Run(Load::More, rig.dir.File("garbage.hex"));
  Run(Load::Main, rig.dir.File("end.s19"));
  EXPECT_EQ(Model().ObjectLoaded, 0);
  EXPECT_EQ(Model().MainFlashImage[kDataAt], 0xFF);

  for (const W::Handler command : {&W::SpdBtnDownLoadClick, &W::AutoSpdBtnClick, &W::SpdBtnProgClick}) {
    rig.boxes.clear();
    Click(command);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Please load the object file first!"});
    EXPECT_TRUE(rig.AllIdle());
  }
  EXPECT_EQ(rig.sim->Stats(0).DownloadSize, 0u);  // no settings ever reached the unit
}

TEST_F(ObjectFileTroubles, FifoAndFolderAreRefusedAtOnceAndTheUnitsAreStillServed) {
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
