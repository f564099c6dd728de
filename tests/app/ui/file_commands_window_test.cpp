// The window's file commands: object files made by the outside tools load through Load and
// show their range and sums, saved images convert back, binary files take the offset
// dialog, data-flash files load and save, and the "S/N Set" page.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <numeric>

#include "app/FileDialogs.h"
#include "images/Checksums.h"
#include "images/IntelHexFile.h"
#include "images/ui/ConfigSNForm.h"
#include "images/ui/FormOfsAddr.h"
#include "tests/app/ui/WindowJobFixture.h"
#include "tests/support/StationProbe.h"

namespace qx::test {
namespace {

using W = TGenMFrmARM;
constexpr const char* kAutoChip = "AC78016xBxx";  // 32 KiB at 0x08000000

std::string Hex8Line(const char* format, u32 v) {
  char b[96];
  std::snprintf(b, sizeof b, format, v);
  return b;
}

class FileCommandsWindow : public WindowJob {
 protected:
  void Open(W::Handler command, const std::string& path, int filter = 1) {
    files.push_back(FileDialogChoice{path, filter});
    Click(command);
  }
  bool StatusShows(const QString& text) {
    for (const QLabel* l : Control<QStatusBar>("StatusBar1").findChildren<QLabel*>()) {
      if (l->text() == text) return true;
    }
    return false;
  }
  // The offset dialog answered with address (or left as preset when empty).
  void AnswerOffset(const QString& address) {
    rig.onModal = [address](QDialog& d) {
      auto* form = qobject_cast<TFormOfsAddr*>(&d);
      if (form == nullptr) return static_cast<int>(QDialog::Rejected);
      form->show();
      if (!address.isEmpty()) form->EditOfsAddr->setText(address);
      form->BitBtnOK->click();
      return form->result();
    };
  }
};

TEST_F(FileCommandsWindow, ObjectFilesOfTheOutsideToolsLoadAndShowTheirRangeAndSums) {
  QX_NEED_TOOL("objcopy");
  QX_NEED_TOOL("srec_cat");
  Start(1, Maker::AutoChip, kAutoChip);
  auto data = RandomBytes(0x2345, 21);
  data.back() = 0x5A;
  WriteFile(rig.dir.File("in.bin"), data);
  const u32 sum = std::accumulate(data.begin(), data.end(), 0u);
  const struct {
    const char* tool;
    const char* command;
    const char* file;
  } cases[] = {
      {"objcopy", "objcopy -I binary -O ihex --change-addresses=0x08000100 %IN %OUT", "objcopy.hex"},
      {"objcopy", "objcopy -I binary -O srec --change-addresses=0x08000100 %IN %OUT", "objcopy.mot"},
      {"srec_cat", "srec_cat %IN -binary -offset 0x08000100 -o %OUT -intel", "srec_cat.HEX"},
      {"srec_cat", "srec_cat %IN -binary -offset 0x08000100 -o %OUT -motorola", "srec_cat.s37"},
  };
  for (const auto& c : cases) {
    std::string command = c.command;
    command.replace(command.find("%IN"), 3, rig.dir.File("in.bin"));
    command.replace(command.find("%OUT"), 4, rig.dir.File(c.file));
    ASSERT_EQ(test::Run(command), 0) << command;
    const std::string path = rig.dir.File(c.file);
    fileRequests.clear();
    Open(&W::FileOpenBtnClick, path);

    ASSERT_EQ(fileRequests.size(), 1u);
    EXPECT_EQ(fileRequests[0].Mode, FileDialogMode::Open);
    EXPECT_EQ(fileRequests[0].Design.Filters, ObjectOpenDialog().Filters);
    EXPECT_EQ(fileRequests[0].Design.SelectedFilter, 5);
    EXPECT_EQ(fileRequests[0].Design.DefaultSuffix, "BIN");
    EXPECT_EQ(Count("File \"" + path + "\" has been loaded!"), 1u) << c.file;
    const auto t = Texts();
    const auto at = std::find(t.rbegin(), t.rend(), "Object File Start Address  = 0x08000100.");
    ASSERT_GE(at - t.rbegin(), 3) << c.file;
    EXPECT_EQ(at[-1], "Object File End Address    = 0x08002444.");
    EXPECT_EQ(at[-2], Hex8Line("Object File ACC32 Checksum = 0x%08X", sum));
    EXPECT_EQ(at[-3], "Chip Actual Programmed Data Size is: 9472Bytes/0x000024FF.");
    EXPECT_EQ(Image(0x100, data.size()), data) << c.file;
    EXPECT_EQ(Image(0, 0x100), std::vector<u8>(0x100, 0xFF));
    EXPECT_EQ(Model().ObjectLoaded, 1);
    EXPECT_EQ(Model().ObjectFileName, c.file);
    EXPECT_TRUE(StatusShows(QString::fromStdString(path))) << c.file;
    EXPECT_EQ(grid->rowCount(), 0x2500 / 16);
    EXPECT_TRUE(rig.boxes.empty()) << BoxTexts().front();
  }
}

TEST_F(FileCommandsWindow, TheSavedMainFlashConvertsBackToTheSameBytes) {
  QX_NEED_TOOL("objcopy");
  Start(1, Maker::AutoChip, kAutoChip);
  Click(&W::FileSaveBtnClick);  // nothing loaded: no dialog
  EXPECT_TRUE(fileRequests.empty());

  Job(22);
  const std::vector<u8> window = Image(0, 0x8000);
  const struct {
    int filter;
    const char* file;
    const char* input;  // objcopy's input format; null: the file is the binary itself
  } cases[] = {{1, "saved.bin", nullptr}, {2, "saved.hex", "ihex"}, {3, "saved.s19", "srec"}};
  for (const auto& c : cases) {
    Open(&W::FileSaveBtnClick, rig.dir.File(c.file), c.filter);
    EXPECT_EQ(fileRequests.back().Mode, FileDialogMode::Save);
    EXPECT_EQ(fileRequests.back().Design.Filters, SaveDialog().Filters);
    std::string back = rig.dir.File(c.file);
    if (c.input != nullptr) {
      back = rig.dir.File(std::string(c.file) + ".bin");
      ASSERT_EQ(test::Run(std::string("objcopy -I ") + c.input + " -O binary " + rig.dir.File(c.file) + " " + back), 0);
    }
    EXPECT_EQ(ReadFile(back), window) << c.file;
  }
  Open(&W::FileSaveBtnClick, rig.dir.File("none.bin"), 4);
  EXPECT_FALSE(std::filesystem::exists(rig.dir.File("none.bin")));
  EXPECT_TRUE(rig.boxes.empty());
}

TEST_F(FileCommandsWindow, BinaryFilesTakeTheOffsetDialogAndLoadMoreKeepsWhatIsThere) {
  Start(1, Maker::AutoChip, kAutoChip);
  const auto app = RandomBytes(0x1000, 23);
  const auto boot = RandomBytes(0x800, 24);
  WriteFile(rig.dir.File("app.bin"), app);
  WriteFile(rig.dir.File("boot.BIN"), boot);
  AnswerOffset("0x08004000");
  Open(&W::FileOpenBtnClick, rig.dir.File("app.bin"));
  EXPECT_EQ(Image(0x4000, app.size()), app);
  EXPECT_EQ(Model().AppInfoEnd, 0x1000u);
  AnswerOffset("");  // the preset: the main-flash start
  Open(&W::SpdBtnLoadMoreClick, rig.dir.File("boot.BIN"));
  EXPECT_EQ(Image(0, boot.size()), boot);
  EXPECT_EQ(Image(0x4000, app.size()), app);
  EXPECT_EQ(Model().BootInfoEnd, 0x800u);
  EXPECT_EQ(Model().ObjectFileName, "app.bin");
  EXPECT_EQ(rig.modals.size(), 2u);

  rig.modals.clear();
  files.push_back(std::nullopt);  // cancelled: nothing changes
  Click(&W::FileOpenBtnClick);
  EXPECT_EQ(Image(0x4000, app.size()), app);
  EXPECT_TRUE(rig.modals.empty());
  EXPECT_TRUE(rig.boxes.empty());
}

TEST_F(FileCommandsWindow, DataFlashFilesLoadAndSave) {
  Start(1, Maker::Lapis, "ML630Q464");  // 2 KiB of data flash at 0x18000000
  const auto eep = RandomBytes(0x800, 25);
  WriteFile(rig.dir.File("data.bin"), eep);
  AnswerOffset("");
  Check("ChkBoxErsEEP", false);
  Open(&W::LoadEepDataFile1Click, rig.dir.File("data.bin"));
  EXPECT_EQ(fileRequests.back().Design.Filters, EepOpenDialog().Filters);
  EXPECT_TRUE(std::equal(eep.begin(), eep.end(), Model().EepImage.begin()));
  EXPECT_TRUE(Control<QCheckBox>("ChkBoxErsEEP").isChecked());
  EXPECT_EQ(Count("Load EEP File Start Address  = 0x00000000."), 1u);
  EXPECT_EQ(Count(Hex8Line("Load EEP File ACC32 Checksum = 0x%08X.", std::accumulate(eep.begin(), eep.end(), 0u))), 1u);

  Model().EepImage[3] = 0x11;
  Open(&W::SaveEepDatatoFile1Click, rig.dir.File("back.hex"), 2);  // always binary
  auto expected = eep;
  expected[3] = 0x11;
  EXPECT_EQ(ReadFile(rig.dir.File("back.hex")), expected);
  EXPECT_TRUE(rig.boxes.empty()) << BoxTexts().front();
}

// A read-back of unit 0 writes the image block by block as its replies come: a save
// meanwhile would write the first blocks of the chip over the rest of the job before it.
class SaveDuringRead : public FileCommandsWindow {
 protected:
  // The read's request number silenced goes unanswered and keeps unit 0 busy.
  void Run(Maker maker, const char* chip, W::Handler read, u32 silenced, W::Handler save, int filter) {
    Start(1, maker, chip);
    Job(21);
    const u32 before = rig.sim->Stats(0).Requests;
    rig.sim->SetFaults(0, {{sim::FaultKind::Silence, before + silenced, 0}});
    Click(read);
    ASSERT_TRUE(rig.RunUntil([&] { return rig.sim->Stats(0).Requests == before + silenced; }));
    ASSERT_EQ(StationProbe::Sessions(rig.Core()).Unit[0].Busy, 1);

    const std::string path = rig.dir.File("during-read.bin");
    files.push_back(FileDialogChoice{path, filter});
    rig.boxes.clear();
    Click(save);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Busy programmers: 1. Please wait until they have finished!"});
    EXPECT_TRUE(fileRequests.empty());
    EXPECT_FALSE(std::filesystem::exists(path));

    // Once the read has ended (here by its time-out) the save goes through.
    ASSERT_TRUE(Idle());
    rig.boxes.clear();
    Click(save);
    EXPECT_EQ(fileRequests.size(), 1u);
    EXPECT_TRUE(std::filesystem::exists(path));
  }
};

TEST_F(SaveDuringRead, MemoryBinary) {
  Run(Maker::AutoChip, kAutoChip, &W::ReadChipMemory1Click, 2, &W::FileSaveBtnClick, 1);
}
TEST_F(SaveDuringRead, MemoryIntelHex) {
  Run(Maker::AutoChip, kAutoChip, &W::ReadChipMemory1Click, 2, &W::FileSaveBtnClick, 2);
}
TEST_F(SaveDuringRead, DataFlash) {
  Run(Maker::Lapis, "ML630Q464", &W::ReadEEPMemory1Click, 1, &W::SaveEepDatatoFile1Click, 1);
}

// The option grid's "Load File" is the data-flash load: for a chip without data flash it
// takes the option records, and neither shows a data-flash page nor ticks the hidden "Erase
// Data Flash", which every later request would carry.
TEST_F(FileCommandsWindow, OptionGridFileOfAChipWithoutDataFlashLeavesTheDataFlashAlone) {
  Start(1, Maker::Lcm, "LCM32F037C8xx");
  ASSERT_EQ(Model().Params.EepSize, 0u);
  SetText("MCUNameEdit", QString::fromStdString(Model().ChipName));  // the chip reaction
  Job(7);
  const std::vector<u8> option{0x5A, 0xA5, 0x12, 0x34};
  WriteText(rig.dir.File("option.hex"), FormatIntelHex(option, 0x1FFFF600));
  Check("ChkBoxErsEEP", false);
  const QTabWidget& pages = Control<QTabWidget>("ViewPageCtrl");
  ASSERT_FALSE(pages.isTabVisible(pages.indexOf(&Control<QWidget>("TabSheetEEP"))));
  Open(&W::LoadEepDataFile1Click, rig.dir.File("option.hex"));
  EXPECT_TRUE(std::equal(option.begin(), option.end(), Model().OptionImage.begin()));
  EXPECT_FALSE(Control<QCheckBox>("ChkBoxErsEEP").isChecked());
  EXPECT_FALSE(pages.isTabVisible(pages.indexOf(&Control<QWidget>("TabSheetEEP"))));
  Click(&W::SpdBtnBlankChkClick);
  ASSERT_TRUE(Idle());
  EXPECT_EQ(Model().Control.EraseFlags & 0x02, 0);
  EXPECT_TRUE(rig.boxes.empty()) << BoxTexts().front();
}

TEST_F(FileCommandsWindow, SerialNumberPageEnablesRedisplaysAndMovesOn) {
  Start(1, Maker::AutoChip, kAutoChip);
  const char* followers[] = {"AddrEdit", "SNEdit1", "GainEdit", "SNOrderChk", "ChkBoxPCSN"};
  for (const bool on : {true, false}) {
    Control<QCheckBox>("CheckBoxSN").click();
    for (const char* name : followers) EXPECT_EQ(Control<QWidget>(name).isEnabled(), on) << name;
  }

  SetText("SNEdit1", "0x000000FF");
  Control<QCheckBox>("ChkBoxSNDP").click();
  EXPECT_EQ(Control<QLineEdit>("SNEdit1").text(), "255");
  Control<QCheckBox>("ChkBoxSNDP").click();
  EXPECT_EQ(Control<QLineEdit>("SNEdit1").text(), "0x000000FF");
  SetText("SNEdit1", "12x");
  Control<QCheckBox>("ChkBoxSNDP").click();
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"'12x' is not a valid integer value"});
  EXPECT_EQ(Control<QLineEdit>("SNEdit1").text(), "12x");

  // A chip of an automatic chain done, as the core reports it.
  Check("CheckBoxSN");
  Check("ChkBoxPCSN");
  Check("ChkBoxSNDP", false);
  Model().Sn.SnValue = 5;
  Model().Sn.SnGain = 2;
  rig.Window().AdvanceSerialNumber(1);
  EXPECT_EQ(Control<QLineEdit>("SNEdit1").text(), "0x00000007");
  StationProbe::Wire(rig.Core()).Units[1].Serial.Active = 1;  // numbered when its command started
  rig.Window().AdvanceSerialNumber(1);
  EXPECT_EQ(Control<QLineEdit>("SNEdit1").text(), "0x00000007");
}

TEST_F(FileCommandsWindow, FillSnDataNeedsAnObjectThenRefreshesTheSums) {
  Start(1, Maker::AutoChip, kAutoChip);
  Click(&W::ButtonCfgSNClick);
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Please Select Chip and Load Object File first!"});
  EXPECT_TRUE(rig.modals.empty());

  Job(26);
  rig.boxes.clear();
  rig.onModal = [](QDialog& d) {
    auto* form = qobject_cast<TConfigSNForm*>(&d);
    if (form == nullptr) return static_cast<int>(QDialog::Rejected);
    form->show();
    form->AddrEditSN->setText("0x08007000");
    form->EditDataSN->setText("AB");
    form->BitBtnOK->click();
    return form->result();
  };
  Click(&W::ButtonCfgSNClick);
  EXPECT_EQ(Image(0x7000, 2), (std::vector<u8>{'A', 'B'}));
  const u32 chipSum = Model().Sums.MainAcc32 + Model().Sums.EepAcc32;
  EXPECT_EQ(Model().Sums.MainAcc32, CalcAcc32(Model().MainFlashImage, 0, 0x70FF));
  const auto t = Texts();
  ASSERT_GE(t.size(), 3u);
  EXPECT_EQ(Count("Chip Actual Programmed Data Size is: 28928Bytes/0x000070FF."), 1u);
  EXPECT_EQ(t.back(), Hex8Line("Chip ACC32 CheckSum is : 0x%08X", chipSum));
  EXPECT_TRUE(rig.boxes.empty()) << BoxTexts().front();
}

}  // namespace
}  // namespace qx::test
