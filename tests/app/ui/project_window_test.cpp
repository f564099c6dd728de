// Project save and load in the real program: the project dialogs, every stored control and
// image back in another window, each maker's project with its family's window, the busy
// refusal, and a batch run shown in the window until it closes.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QStatusBar>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/FileDialogs.h"
#include "app/ProgramSettings.h"
#include "app/ProjectCommands.h"
#include "app/ui/WindowControls.h"
#include "images/IntelHexFile.h"
#include "tests/app/e2e/BatchJob.h"
#include "tests/app/ui/ChipWindowSupport.h"
#include "tests/app/ui/WindowJobFixture.h"
#include "tests/support/StationProbe.h"

namespace qx::test {
namespace {

// The file dialog's requests, answered with the given path (or cancelled when empty).
struct DialogAnswers {
  explicit DialogAnswers(TGenMFrmARM& w) {
    w.ShowFileDialog = [this](const FileDialogRequest& r) -> std::optional<FileDialogChoice> {
      requests.push_back(r);
      if (path.empty()) return std::nullopt;
      return FileDialogChoice{path, 1};
    };
  }
  std::string path;
  std::vector<FileDialogRequest> requests;
};

QString StatusPanel(ChipWindow& w, int i) {
  return w.Find<QStatusBar>("StatusBar1").findChildren<QLabel*>(Qt::FindDirectChildrenOnly).at(i)->text();
}

std::vector<std::string> BoxTexts(const ChipWindow& w) {
  std::vector<std::string> v;
  for (const auto& b : w.rig.boxes) v.push_back(b.text);
  return v;
}

// The enabled states that the loaded boxes' click handlers set.
void ExpectEnabledStatesFollow(ChipWindow& w) {
  const bool autoStart = w.Checked("ChkBoxAuto");
  EXPECT_EQ(w.Find<QWidget>("SpinEditIn").isEnabled(), autoStart);
  EXPECT_EQ(w.Find<QWidget>("SpinEditOut").isEnabled(), autoStart);
  EXPECT_EQ(w.Find<QWidget>("SpinEditNum").isEnabled(), w.Checked("CheckBoxCtrl"));
  const bool sn = w.Checked("CheckBoxSN");
  for (const char* name : {"AddrEdit", "SNEdit1", "GainEdit", "SNOrderChk", "ChkBoxPCSN"}) {
    EXPECT_EQ(w.Find<QWidget>(name).isEnabled(), sn) << name;
  }
}

void ExpectSameImages(const ChipModel& a, const ChipModel& b) {
  const ChipParams& p = a.Params;
  EXPECT_TRUE(std::equal(a.MainFlashImage.begin() + p.MainImageOffset,
                         a.MainFlashImage.begin() + p.MainImageOffset + p.DownloadSize,
                         b.MainFlashImage.begin() + p.MainImageOffset));
  EXPECT_TRUE(std::equal(a.EepImage.begin(), a.EepImage.begin() + p.EepDownloadSize, b.EepImage.begin()));
  EXPECT_TRUE(std::equal(a.OptionImage.begin(), a.OptionImage.begin() + 332, b.OptionImage.begin()));
}

// A window with another job in it, to load into.
void PreviousJob(ChipWindow& w, Maker maker, std::string_view model, bool boxesOn) {
  w.WriteDriver(model);
  w.ChooseProgrammatically(maker, model);
  LoadJob(w.Model(), 99);
  ProgramControls c = StoredControls(false, boxesOn);
  ShowProgramControls(w.Window(), c);
  for (const char* box : {"ChkBoxAuto", "CheckBoxCtrl", "CheckBoxSN"}) {
    // The operator's clicks, so the enabled states match the boxes.
    w.Find<QAbstractButton>(box).click();
    w.Find<QAbstractButton>(box).click();
  }
  w.rig.boxes.clear();
}

class WindowRoundTrip : public ::testing::TestWithParam<bool> {};

// The window saves through its dialog; another window, with another job and the boxes the
// other way, opens the file: every stored control, the enabled states, the images, the
// status bar and the chip come back.
TEST_P(WindowRoundTrip, RestoresEveryStoredControlAndImage) {
  const bool on = GetParam();
  ChipWindow a;
  a.WriteDriver("SA32B14xx");
  a.ChooseProgrammatically(Maker::Silergy, "SA32B14xx");
  LoadJob(a.Model(), 3);
  ShowProgramControls(a.Window(), StoredControls(on, on));
  const ProgramControls saved = ReadProgramControls(a.Window());
  DialogAnswers saveAnswers(a.Window());
  saveAnswers.path = a.rig.dir.File("job.pqz");
  a.Find<QAction>("SavetoProjectFile1").trigger();
  ASSERT_EQ(saveAnswers.requests.size(), 1u);
  EXPECT_EQ(saveAnswers.requests[0].Mode, FileDialogMode::Save);
  EXPECT_EQ(saveAnswers.requests[0].Title, "Save to Nolbin200xx Project File");
  EXPECT_EQ(saveAnswers.requests[0].Design.Filters, ProjectSaveDialog().Filters);
  EXPECT_EQ(BoxTexts(a), std::vector<std::string>{"Created Project File : " + saveAnswers.path});
  ASSERT_TRUE(std::filesystem::exists(saveAnswers.path));

  ChipWindow b;
  PreviousJob(b, Maker::AutoChip, "AC78013xDxx", !on);
  b.WriteDriver("SA32B14xx");
  DialogAnswers openAnswers(b.Window());
  openAnswers.path = saveAnswers.path;
  b.Find<QAbstractButton>("SpdBtnLdPrj").click();
  ASSERT_EQ(openAnswers.requests.size(), 1u);
  EXPECT_EQ(openAnswers.requests[0].Mode, FileDialogMode::Open);
  EXPECT_EQ(openAnswers.requests[0].Title, "Open Nolbin200xx Project File");
  EXPECT_EQ(openAnswers.requests[0].Design.Filters, ProjectOpenDialog().Filters);
  EXPECT_EQ(BoxTexts(b), std::vector<std::string>{"Project File Open Success!"});

  EXPECT_TRUE(ReadProgramControls(b.Window()) == saved);
  EXPECT_EQ(b.TextOf("SNEdit1"), on ? "4294967041" : "0xFFFFFF01");
  ExpectEnabledStatesFollow(b);
  EXPECT_EQ(b.TextOf("MCUNameEdit"), "SA32B14xx");
  EXPECT_EQ(b.rig.Core().Driver().DriverLoaded, 1);
  ExpectSameImages(a.Model(), b.Model());
  EXPECT_EQ(StatusPanel(b, 0).toStdString(), "File CheckSum: " + Hex8(a.Model().Sums.FileChecksum));
  EXPECT_EQ(StatusPanel(b, 1).toStdString(), "Chip CheckSum: " + Hex8(b.Model().Sums.ChipChecksum));
  EXPECT_EQ(StatusPanel(b, 2).toStdString(), a.Model().ObjectFileName);
  // The chip reaction ran once, by the load, not again through the name field.
  const auto& lines = b.LogLines();
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "> 12:34:56 Chip \"SA32B14xx\" has been selected!"), 1);
}

INSTANTIATE_TEST_SUITE_P(BoxesAndDisplay, WindowRoundTrip, ::testing::Values(true, false),
                         [](const auto& p) { return p.param ? "CheckedDecimal" : "ClearHexadecimal"; });

// A project of each maker's chip, written by the core's writer, opened in a window that
// holds the previous row's job: the family's window as choosing that chip gives it, the
// stored settings over it, the images and the driver.
TEST(WindowProjectLoad, EachMakersProjectOpensWithItsFamilysWindowAndItsSettings) {
  // Controls whose state the chip's family decides.
  const char* familyControls[] = {"BtnOptionCfg", "CheckBoxOpt",  "ChkBoxRDP",    "ChkBoxPrgEEP", "ChkBoxErsEEP",
                                  "RadioGroupPIF", "SpdBtnWrtOPB", "AutoSpdBtn",   "SpdBtnErase",  "SpdBtnProg",
                                  "SpdBtnDownLoad", "RadioGpVolt", "LabelDEVA",    "EditDevAdr"};
  const MakerRow* previous = &kMakerRows.back();
  unsigned seed = 10;
  for (const MakerRow& row : kMakerRows) {
    SCOPED_TRACE(row.model);
    // The boxes with click handlers the other way than in the window loaded into.
    const bool on = seed % 2 == 0;
    ProgramControls shown = StoredControls(seed % 3 == 0, on);
    shown.CheckBoxOpt = row.programOption;
    shown.ChkBoxRDP = row.rdpShown;
    shown.ChkBoxPrgEEP = shown.ChkBoxErsEEP = row.dataFlash;
    shown.RadioGroupPIF = row.maker == Maker::Meiren ? 1 : 0;
    Bench src;
    Choose(*src.model, row.maker, row.model);
    LoadJob(*src.model, ++seed);
    ProjectEnv env = src.Env();
    const std::string path = src.folder.File("job.pqz");
    SavetoProjectFile(path, shown, env);

    ChipWindow reference;
    reference.WriteDriver(row.model);
    reference.ChooseProgrammatically(row.maker, row.model);

    ChipWindow w;
    PreviousJob(w, previous->maker, previous->model, !on);
    previous = &row;
    w.WriteDriver(row.model);
    DialogAnswers answers(w.Window());
    answers.path = path;
    w.Find<QAction>("LoadFromProjectFile1").trigger();
    EXPECT_EQ(BoxTexts(w), std::vector<std::string>{"Project File Open Success!"});

    EXPECT_EQ(w.TextOf("MCUNameEdit"), row.model);
    EXPECT_EQ(w.Shown("CheckBoxOpt"), row.programOption);
    EXPECT_EQ(w.Shown("ChkBoxRDP"), row.rdpShown);
    EXPECT_EQ(w.Shown("ChkBoxPrgEEP"), row.dataFlash);
    EXPECT_EQ(w.TabShown("ViewPageCtrl", "TabSheetEEP"), row.dataFlash);
    EXPECT_EQ(w.TabShown("ViewPageCtrl", "TabShtOPB"), src.model->Params.OptionCode != 0);
    EXPECT_EQ(w.TabShown("PageControlSet", "TabSheetSLG"), row.maker == Maker::Silergy);
    for (const char* name : familyControls) {
      EXPECT_EQ(w.Shown(name), reference.Shown(name)) << name;
      // A hidden control keeps what an earlier chip left in it.
      if (reference.Shown(name)) {
        EXPECT_EQ(w.Find<QWidget>(name).isEnabled(), reference.Find<QWidget>(name).isEnabled()) << name;
      }
    }
    EXPECT_EQ(w.Find<QLabel>("DpCpInfX").text(), reference.Find<QLabel>("DpCpInfX").text());

    // Option programming is one bit for both boxes; only Silergy keeps its protection box.
    ProgramControls expected = shown;
    expected.CheckBoxOpt = shown.CheckBoxOpt || shown.ChkBoxRDP;
    expected.ChkBoxRDP = row.maker == Maker::Silergy && shown.ChkBoxRDP;
    EXPECT_TRUE(ReadProgramControls(w.Window()) == expected);
    ExpectEnabledStatesFollow(w);
    // A family without a driver leaves the one loaded before.
    if (src.model->Params.UseFlashDriver) {
      EXPECT_EQ(w.rig.Core().Driver().DriverLoaded, 1);
    }
    ExpectSameImages(*src.model, w.Model());
  }
}

// "None selected" comes back as none in the window's radio groups, not as the last item.
TEST(WindowProjectLoad, IndexesOutsideTheirGroupsSelectNothing) {
  Bench src;
  Choose(*src.model, Maker::Indie, "IND83209xx");
  LoadJob(*src.model, 9);
  ProgramControls c;
  c.RadioGpVolt = -1;
  c.RadioGrpRST = 3;
  ProjectEnv env = src.Env();
  const std::string path = src.folder.File("none.pqz");
  SavetoProjectFile(path, c, env);

  ChipWindow w;
  PreviousJob(w, Maker::Lcm, "LCM32F037K8xx", true);
  DialogAnswers answers(w.Window());
  answers.path = path;
  w.Find<QAction>("LoadFromProjectFile1").trigger();
  EXPECT_EQ(w.Find<TRadioGroup>("RadioGpVolt").ItemIndex(), -1);
  EXPECT_EQ(w.Find<TRadioGroup>("RadioGrpRST").ItemIndex(), -1);
  EXPECT_EQ(w.Find<TRadioGroup>("RadioGrpSpdF").ItemIndex(), 0);
}

TEST(WindowProjectLoad, RefusedWhileAUnitIsBusyAndACancelledDialogChangesNothing) {
  ChipWindow w(std::vector<sim::UnitConfig>(2));
  ASSERT_TRUE(w.rig.LinkUnits());
  PreviousJob(w, Maker::Lcm, "LCM32F037K8xx", true);
  const ProgramControls before = ReadProgramControls(w.Window());
  DialogAnswers answers(w.Window());
  answers.path = w.rig.dir.File("never-read.pqz");
  StationProbe::Sessions(w.rig.Core()).Unit[1].Busy = 1;
  w.Find<QAbstractButton>("SpdBtnLdPrj").click();
  EXPECT_EQ(BoxTexts(w), std::vector<std::string>{"Busy programmers: 2. Please wait until they have finished!"});
  EXPECT_TRUE(answers.requests.empty());

  StationProbe::Sessions(w.rig.Core()).Unit[1].Busy = 0;
  w.rig.boxes.clear();
  answers.path.clear();
  w.Find<QAction>("LoadFromProjectFile1").trigger();
  EXPECT_EQ(answers.requests.size(), 1u);
  EXPECT_TRUE(w.rig.boxes.empty());
  EXPECT_TRUE(ReadProgramControls(w.Window()) == before);
  EXPECT_EQ(w.TextOf("MCUNameEdit"), "LCM32F037K8xx");
}

// The device address is shown by no family: only a project puts a value into its hidden
// field. A chip chosen after that project has its family's address (0), not the project's.
TEST(WindowProjectLoad, TheNextChipDoesNotTakeTheProjectsHiddenDeviceAddress) {
  Bench src;
  Choose(*src.model, Maker::Lcm, "LCM32F037K8xx");
  LoadJob(*src.model, 5);
  ProgramControls shown = StoredControls(false);
  shown.EditDevAdr = "0x50";
  ProjectEnv env = src.Env();
  const std::string path = src.folder.File("address.pqz");
  SavetoProjectFile(path, shown, env);
  ASSERT_EQ(src.model->DeviceAddress, 0x50);

  ChipWindow w;
  w.WriteDriver("LCM32F037K8xx");
  DialogAnswers answers(w.Window());
  answers.path = path;
  w.Find<QAction>("LoadFromProjectFile1").trigger();
  ASSERT_EQ(BoxTexts(w), std::vector<std::string>{"Project File Open Success!"});
  CollectProgramSettings(ReadProgramControls(w.Window()), w.Model(), w.rig.Core().Log());
  EXPECT_EQ(w.Model().DeviceAddress, 0x50);  // the project's own chip keeps it

  w.rig.boxes.clear();
  w.WriteDriver("SA32B14xx");
  w.ChooseInDialog("SA32B14xx");
  ASSERT_EQ(w.Model().ChipName, "SA32B14xx");
  EXPECT_EQ(w.Model().DeviceAddress, 0);
  CollectProgramSettings(ReadProgramControls(w.Window()), w.Model(), w.rig.Core().Log());
  EXPECT_EQ(w.Model().DeviceAddress, 0);
}

// Two units and the batch job in the folder; the program started with the job's path and
// the words after it on its command line, as the start-up reads them.
BatchJob StartBatch(ProgramRig& rig, const std::vector<std::string>& after) {
  rig.Units(std::vector<sim::UnitConfig>(2));
  rig.FirmwareFile();
  BatchJob job = WriteBatchJob(rig.dir.Dir());
  rig.Make();
  rig.Start();
  std::vector<std::string> args{job.Path};
  args.insert(args.end(), after.begin(), after.end());
  rig.Core().ReadCommandLine(args);
  return job;
}

// Batch mode in the window: the batch start's load shows in the controls like the window's
// own, and with "OFF" the window closes once the units have the job, after the result file
// is written; the log file is written by the close.
TEST(WindowBatch, TheBatchLoadShowsInTheWindowWhichClosesWithOff) {
  ProgramRig rig;
  const BatchJob job = StartBatch(rig, {"OFF"});
  TGenMFrmARM& w = rig.Window();
  ASSERT_TRUE(w.isVisible());
  ASSERT_TRUE(rig.RunUntil([&] { return !w.isVisible(); }));

  std::ifstream result(rig.dir.File("ResDW.Txt"), std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(result), {}), "Download Success\r\n");
  EXPECT_TRUE(rig.boxes.empty()) << rig.boxes.front().text;
  const auto checked = [&w](const char* name) { return w.findChild<QAbstractButton*>(name)->isChecked(); };
  EXPECT_EQ(w.findChild<QLineEdit*>("MCUNameEdit")->text(), "SA32B12xx");
  EXPECT_TRUE(checked("ChkBoxPrgEEP"));
  EXPECT_TRUE(checked("CheckBoxSN"));
  EXPECT_TRUE(checked("ChkBoxSNDP"));
  EXPECT_EQ(w.findChild<QLineEdit*>("SNEdit1")->text(), "1000");
  EXPECT_TRUE(w.findChild<QWidget*>("AddrEdit")->isEnabled());
  for (u8 k = 0; k < 2; ++k) ExpectUnitHoldsTheJob(*rig.sim, k, 2, job);
  const std::filesystem::path logs = rig.dir.Path() / "KVTxLogS";
  ASSERT_TRUE(std::filesystem::is_directory(logs));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(logs), std::filesystem::directory_iterator()), 1);
}

// A port that cannot be opened in a run nobody watches: the search's error is logged, and
// no box waits for a click.
TEST(WindowBatch, AnUnattendedSearchLogsItsOpenErrorInsteadOfWaitingInABox) {
  ProgramRig rig;
  rig.FirmwareFile();
  rig.dir.Write("ConfigQlt.ini", "[Connection]\r\nTOTDEV=1\r\nDEV1=/dev/qx-no-such-port\r\n");
  const BatchJob job = WriteBatchJob(rig.dir.Dir());
  rig.Make();
  rig.Start();
  rig.Core().ReadCommandLine(std::vector<std::string>{job.Path, "off"});
  const auto logged = [&] {
    for (const auto& line : rig.Core().Log().Lines()) {
      if (line.find("Error opening serial port:") != std::string::npos) return true;
    }
    return false;
  };
  ASSERT_TRUE(rig.RunUntil(logged));
  EXPECT_TRUE(rig.boxes.empty()) << rig.boxes.front().text;
  EXPECT_TRUE(rig.Window().isVisible());
  EXPECT_FALSE(std::filesystem::exists(rig.dir.File("ResDW.Txt")));
}


class ProjectSaveWindow : public WindowJob {};

// A main-flash read-back of unit 0 writes the image block by block as its replies come: a
// project saved meanwhile would hold the first blocks of the chip and the rest of the job
// loaded before. The save waits for the read as the writing commands do.
TEST_F(ProjectSaveWindow, WaitsForAReadBackOfUnitZero) {
  Start(1, Maker::AutoChip, "AC78016xBxx");  // 32 KiB: eight read packets
  Job(21);
  rig.sim->WithUnit(0, [](sim::SimUnit& u) { std::fill(u.Main().begin(), u.Main().end(), u8{0x00}); });
  // The third read request goes unanswered: two packets of the chip are in the image.
  const u32 before = rig.sim->Stats(0).Requests;
  rig.sim->SetFaults(0, {{sim::FaultKind::Silence, before + 3, 0}});
  Click(&TGenMFrmARM::ReadChipMemory1Click);
  auto& s = StationProbe::Sessions(rig.Core());
  ASSERT_TRUE(rig.RunUntil([&] { return rig.sim->Stats(0).Requests == before + 3; }));
  ASSERT_EQ(s.Unit[0].Busy, 1);
  ASSERT_EQ(Image(0, 4), std::vector<u8>(4, 0x00));

  const std::string path = rig.dir.File("during-read.pqz");
  files.push_back(FileDialogChoice{path, 1});
  rig.boxes.clear();
  Click(&TGenMFrmARM::SavetoProjectFile1Click);
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Busy programmers: 1. Please wait until they have finished!"});
  EXPECT_TRUE(fileRequests.empty());
  EXPECT_FALSE(std::filesystem::exists(path));

  // Once the read has ended (here by its time-out) the save goes through.
  ASSERT_TRUE(Idle());
  rig.boxes.clear();
  Click(&TGenMFrmARM::SavetoProjectFile1Click);
  EXPECT_EQ(fileRequests.size(), 1u);
  EXPECT_TRUE(std::filesystem::exists(path));
}

}  // namespace
}  // namespace qx::test
