// Project save and load through the core's writer and reader: every stored setting control
// and image comes back, each maker's chip gets its family set-up, a bad file changes
// nothing, and nothing of the previous job is left behind.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <numeric>
#include <string>
#include <vector>

#include "app/FileDialogs.h"
#include "app/ProjectCommands.h"
#include "app/ProjectSettings.h"
#include "base/Errors.h"
#include "chips/ControlChangeMaking.h"
#include "chips/FamilySetup.h"
#include "chips/MainWindowControls.h"
#include "tests/app/ChipJobSupport.h"

namespace qx {
namespace {

using test::Bench;
using test::Info;
using test::kMakerRows;
using test::MakerRow;

#define QX_SAME(field) EXPECT_EQ(a.field, b.field) << #field

void ExpectSameControls(const ProgramControls& a, const ProgramControls& b) {
  QX_SAME(RadioGroupPIF);
  QX_SAME(RadioGpVolt);
  QX_SAME(RadioGrpSpdF);
  QX_SAME(CheckBoxOpt);
  QX_SAME(ChkBoxRDP);
  QX_SAME(ChkBoxErsEEP);
  QX_SAME(ChkBoxPrgEEP);
  QX_SAME(RadioGrpRST);
  QX_SAME(ChkBoxBlkEr);
  QX_SAME(ChkBoxAuto);
  QX_SAME(CheckBoxCtrl);
  QX_SAME(ChkBoxVDD);
  QX_SAME(CheckBoxRun);
  QX_SAME(ChkBoxCpErsM);
  QX_SAME(ChkBoxRunSHT);
  QX_SAME(SpinEditNum);
  QX_SAME(SpinEditIn);
  QX_SAME(SpinEditOut);
  QX_SAME(SpinEditVddTim);
  QX_SAME(SpinEditPWDTim);
  QX_SAME(SpinEditRTM);
  QX_SAME(EditDevAdr);
  QX_SAME(CheckBoxSN);
  QX_SAME(SNOrderChk);
  QX_SAME(SNEdit1);
  QX_SAME(GainEdit);
  QX_SAME(AddrEdit);
  QX_SAME(ChkBoxPCSN);
  QX_SAME(ChkBoxSNDP);
}

// The data-flash end is left out: a load derives it from the stored size.
void ExpectSameParams(const ChipParams& a, const ChipParams& b) {
  QX_SAME(ManufacturerIndex);
  QX_SAME(ProtocolKind);
  QX_SAME(FamilyCode);
  QX_SAME(Subtype);
  QX_SAME(MainFlashSize);
  QX_SAME(EepSize);
  QX_SAME(DownloadSize);
  QX_SAME(EepDownloadSize);
  QX_SAME(MainPageSize);
  QX_SAME(EepPageSize);
  QX_SAME(BlankIsZero);
  QX_SAME(UseFlashDriver);
  QX_SAME(MainImageOffset);
  QX_SAME(EepStart);
  QX_SAME(MainFlashStart);
  QX_SAME(MainFlashEnd);
  QX_SAME(OptionCode);
  QX_SAME(InfoStart);
  QX_SAME(InfoEnd);
  QX_SAME(OptionStart);
  QX_SAME(OptionEnd);
}

// The bytes every command sends: chip control, timing, serial-number settings.
void ExpectSameSettingsBytes(const ChipModel& a, const ChipModel& b) {
  QX_SAME(Control.InterfaceFlags);
  QX_SAME(Control.PowerFlags);
  QX_SAME(Control.ResetFlags);
  QX_SAME(Control.ProgramFlags);
  QX_SAME(Control.EraseFlags);
  QX_SAME(Control.ExtControl1);
  QX_SAME(Control.ExtControl2);
  QX_SAME(Control.ExtControl3);
  QX_SAME(Control.PowerOnTime);
  QX_SAME(Timing.ChipInStableTime);
  QX_SAME(Timing.ChipOutStableTime);
  QX_SAME(Timing.PowerDownTime);
  QX_SAME(Timing.RunShutTime);
  QX_SAME(Timing.AutoStartCode);
  QX_SAME(Sn.SnFlags);
  QX_SAME(Sn.SnLength);
  QX_SAME(Sn.SnGain);
  QX_SAME(Sn.SnValue);
  QX_SAME(Sn.SnAddress);
  QX_SAME(Sn.SnMaxCount);
  QX_SAME(DeviceAddress);
  QX_SAME(ProtectBits);
  QX_SAME(ChipExtraByte);
  QX_SAME(ExtraParamWord);
  QX_SAME(FamilyParam1);
  QX_SAME(FamilyParam2);
  QX_SAME(ProgramEep);
  QX_SAME(ProgramOptionBytes);
}

#undef QX_SAME

bool SameChanges(const WindowChanges& a, const WindowChanges& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const ControlChange& x = a[i];
    const ControlChange& y = b[i];
    if (x.Name != y.Name || x.Visible != y.Visible || x.Enabled != y.Enabled || x.Checked != y.Checked ||
        x.Selected != y.Selected || x.ItemIndex != y.ItemIndex || x.Caption != y.Caption || x.Text != y.Text)
      return false;
  }
  return true;
}

u32 Acc32(std::span<const u8> bytes) { return std::accumulate(bytes.begin(), bytes.end(), 0u); }

void ExpectErasedFrom(std::span<const u8> image, std::size_t from, u8 erased) {
  const auto it = std::find_if(image.begin() + static_cast<std::ptrdiff_t>(from), image.end(),
                               [erased](u8 v) { return v != erased; });
  EXPECT_TRUE(it == image.end()) << "byte " << (it - image.begin()) << " left from before";
}

// A chip with a job whose settings were collected from controls and saved.
struct SavedJob {
  Bench bench;
  std::string path = bench.folder.File("job.pqz");

  SavedJob(Maker maker, std::string_view model, const ProgramControls& controls, unsigned seed) {
    test::Choose(*bench.model, maker, model);
    test::LoadJob(*bench.model, seed);
    ProjectEnv env = bench.Env();
    SavetoProjectFile(path, controls, env);
  }
  const ChipModel& Model() const { return *bench.model; }
};

// The window of another job, to load into.
void PreviousJob(Bench& b, Maker maker, std::string_view model) {
  test::Choose(*b.model, maker, model);
  test::LoadJob(*b.model, 99);
  std::fill(b.model->MainFlashImage.begin() + b.model->Params.DownloadSize, b.model->MainFlashImage.end(), 0x5A);
  std::fill(b.model->EepImage.begin(), b.model->EepImage.end(), 0xA5);
  b.model->OptionImage.fill(0x3C);
  b.log.Clear();
}

TEST(ProjectSave, ChecksTheChipBeforeTheObject) {
  const struct {
    u8 chipSelected, objectLoaded;
    std::vector<std::string> messages;
  } cases[] = {
      {0, 0, {"Please select chip type first!"}},
      {0, 1, {"Please select chip type first!"}},
      {1, 0, {"Please load the object file first!"}},
      {1, 1, {}},
  };
  for (const auto& c : cases) {
    Bench b;
    b.model->ChipSelected = c.chipSelected;
    b.model->ObjectLoaded = c.objectLoaded;
    EXPECT_EQ(ProjectSaveAllowed(*b.model, b.op), c.messages.empty());
    EXPECT_EQ(b.MessageTexts(), c.messages);
    for (const auto& m : b.op.messages) EXPECT_EQ(m.kind, MsgKind::Information);
  }
}

TEST(ProjectSave, ABadNumberFieldWritesNoFile) {
  Bench b;
  test::Choose(*b.model, Maker::Silergy, "SA32B14xx");
  test::LoadJob(*b.model, 1);
  ProgramControls c;
  c.AddrEdit = "0x12G";
  ProjectEnv env = b.Env();
  const std::string path = b.folder.File("job.pqz");
  EXPECT_THROW(SavetoProjectFile(path, c, env), EConvertError);
  EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(ProjectDialogs, DesignedTitlesFiltersAndExtension) {
  const FileDialogDesign save = ProjectSaveDialog();
  const FileDialogDesign open = ProjectOpenDialog();
  EXPECT_EQ(save.Filters, (std::vector<std::string>{"Nolbinxx Project File (*.pqz)", "All FIles (*)"}));
  EXPECT_EQ(open.Filters, (std::vector<std::string>{"Nolbinxx Project Files (*.pqz)", "All FIles (*)"}));
  EXPECT_EQ(save.SelectedFilter, 1);
  EXPECT_EQ(save.DefaultSuffix, "pqz");
  EXPECT_EQ(open.DefaultSuffix, "pqz");
  EXPECT_EQ(ProjectSaveDialogTitle(), "Save to Nolbin200xx Project File");
  EXPECT_EQ(ProjectOpenDialogTitle(), "Open Nolbin200xx Project File");
}

class ProjectRoundTrip : public ::testing::TestWithParam<bool> {};

TEST_P(ProjectRoundTrip, RestoresEveryStoredControlAndImage) {
  const bool decimal = GetParam();
  const ProgramControls stored = test::StoredControls(decimal);
  SavedJob job(Maker::Silergy, "SA32B14xx", stored, 3);
  const ChipModel& src = job.Model();
  EXPECT_EQ(src.ProjectFlags, decimal ? 7 : 6);

  Bench b;
  PreviousJob(b, Maker::AutoChip, "AC78013xDxx");
  b.WriteDriver("SA32B14xx");
  ProjectEnv env = b.Env();
  const ProgramControls before;
  const ProjectLoadResult r = LoadProjectFile(job.path, before, env);
  ChipModel& m = *b.model;

  ASSERT_EQ(r.Read, ProjectReadResult::PrjOk);
  EXPECT_EQ(b.log.Lines()[0], Info("Load Dromix Project file of \"" + job.path + "\".2024/05/17"));
  EXPECT_EQ(b.log.Lines()[1], Info("Project File Open Success!"));
  ExpectSameControls(r.Controls, stored);
  EXPECT_EQ(r.Controls.SNEdit1, decimal ? "4294967041" : "0xFFFFFF01");
  ExpectSameParams(m.Params, src.Params);
  EXPECT_EQ(m.ChipName, "SA32B14xx");
  EXPECT_EQ(m.ObjectFileName, src.ObjectFileName);
  EXPECT_EQ(m.ChipSelected, 1);
  EXPECT_EQ(m.ObjectLoaded, 1);
  EXPECT_EQ(b.driver.DriverLoaded, 1);
  EXPECT_EQ(b.hexResets, 1);
  EXPECT_EQ(b.op.optionViews, 1);
  EXPECT_TRUE(SameChanges(r.Changes, ChipChosenChanges(src)));

  // The images as saved; beyond what the file holds, erased rather than the old job's.
  const u32 n = src.Params.DownloadSize;
  const u32 e = src.Params.EepDownloadSize;
  EXPECT_TRUE(std::equal(m.MainFlashImage.begin(), m.MainFlashImage.begin() + n, src.MainFlashImage.begin()));
  ExpectErasedFrom(m.MainFlashImage, n, 0xFF);
  EXPECT_TRUE(std::equal(m.EepImage.begin(), m.EepImage.begin() + e, src.EepImage.begin()));
  ExpectErasedFrom(m.EepImage, e, 0xFF);
  EXPECT_TRUE(std::equal(m.OptionImage.begin(), m.OptionImage.begin() + 332, src.OptionImage.begin()));
  ExpectErasedFrom(m.OptionImage, 332, 0xFF);

  // A batch download programs the data flash without a settings collection.
  EXPECT_EQ(m.ProgramEep, 1);
  EXPECT_EQ(m.ProgramOptionBytes, 1);

  EXPECT_EQ(r.Actions.StatusFilePath, src.ObjectFileName);
  EXPECT_EQ(r.StatusFileChecksum, "File CheckSum: " + test::Hex8(src.Sums.FileChecksum));
  const u32 chipSum = Acc32(std::span<const u8>(src.MainFlashImage).first(n)) +
                      Acc32(std::span<const u8>(src.EepImage).first(src.Params.EepSize));
  EXPECT_EQ(r.StatusChipChecksum, "Chip CheckSum: " + test::Hex8(chipSum));

  std::vector<ReactingBox> boxes = {ReactingBox::ChkBoxAuto, ReactingBox::CheckBoxCtrl, ReactingBox::CheckBoxSN};
  if (decimal) boxes.push_back(ReactingBox::ChkBoxSNDP);
  EXPECT_EQ(ChangedReactingBoxes(before, r.Controls), boxes);

  // The next command sends exactly the bytes that were saved.
  CollectProgramSettings(r.Controls, m, b.log);
  ExpectSameSettingsBytes(m, src);
}

INSTANTIATE_TEST_SUITE_P(SnDisplay, ProjectRoundTrip, ::testing::Values(true, false),
                         [](const auto& p) { return p.param ? "Decimal" : "Hexadecimal"; });

// One chip of every maker, each loaded over the previous row's job.
TEST(ProjectLoad, EveryMakersChipComesBackWithItsFamilySetUp) {
  const MakerRow* previous = &kMakerRows.back();
  unsigned seed = 10;
  for (const MakerRow& row : kMakerRows) {
    SCOPED_TRACE(row.model);
    // The controls as the family's window shows them: hidden boxes clear, the hidden
    // interface group on SWD.
    ProgramControls shown = test::StoredControls(seed % 2 == 0);
    shown.CheckBoxOpt = row.programOption;
    shown.ChkBoxRDP = row.rdpShown;
    shown.ChkBoxPrgEEP = shown.ChkBoxErsEEP = row.dataFlash;
    shown.RadioGroupPIF = row.maker == Maker::Meiren ? 1 : 0;
    SavedJob job(row.maker, row.model, shown, ++seed);
    const ChipModel& src = job.Model();

    Bench b;
    PreviousJob(b, previous->maker, previous->model);
    previous = &row;
    b.WriteDriver(row.model);
    ProjectEnv env = b.Env();
    const ProjectLoadResult r = LoadProjectFile(job.path, ProgramControls{}, env);
    ASSERT_EQ(r.Read, ProjectReadResult::PrjOk);
    const ChipModel& m = *b.model;

    WindowChanges family = ChipChosenChanges(src);
    if (src.Params.OptionCode == 0) family.push_back(change::Visible(ctl::TabShtOPB, false));
    EXPECT_TRUE(SameChanges(r.Changes, family));
    EXPECT_EQ(b.op.optionViews, src.Params.OptionCode != 0 ? 1 : 0);
    EXPECT_EQ(b.driver.DriverLoaded, src.Params.UseFlashDriver);
    EXPECT_EQ(b.MessageTexts(), std::vector<std::string>{"Project File Open Success!"});

    // Option programming is one bit for both boxes; only Silergy keeps its protection box.
    ProgramControls expected = shown;
    expected.CheckBoxOpt = shown.CheckBoxOpt || shown.ChkBoxRDP;
    expected.ChkBoxRDP = row.maker == Maker::Silergy && shown.ChkBoxRDP;
    ExpectSameControls(r.Controls, expected);
    ExpectSameParams(m.Params, src.Params);
    EXPECT_EQ(m.Params.EepEnd, src.Params.EepStart + src.Params.EepSize - 1);

    const u8 erased = src.ErasedValue();
    EXPECT_TRUE(std::equal(m.MainFlashImage.begin(), m.MainFlashImage.begin() + src.Params.DownloadSize,
                           src.MainFlashImage.begin()));
    ExpectErasedFrom(m.MainFlashImage, src.Params.DownloadSize, erased);
    ExpectErasedFrom(m.EepImage, src.Params.EepDownloadSize, erased);
    EXPECT_TRUE(std::equal(m.OptionImage.begin(), m.OptionImage.begin() + 332, src.OptionImage.begin()));

    ChipModel& loaded = *b.model;
    CollectProgramSettings(r.Controls, loaded, b.log);
    ExpectSameSettingsBytes(loaded, src);
  }
}

// The reader checks the whole file before it changes anything; the load then stops with
// its result, so the batch mode can refuse the job.
TEST(ProjectLoad, AFileThatFailsItsChecksChangesNothing) {
  SavedJob job(Maker::Silergy, "SA32B14xx", test::StoredControls(true), 5);
  const std::vector<u8> good = test::ReadFile(job.path);
  const struct {
    const char* name;
    std::function<void(std::vector<u8>&)> damage;
    ProjectReadResult result;
    const char* message;
  } cases[] = {
      {"bad magic", [](std::vector<u8>& f) { f[0] = 'd'; }, ProjectReadResult::PrjBadMagic,
       "Not Valid Dromix Project File!"},
      {"byte of the main image", [](std::vector<u8>& f) { f[ProjectMfmTagOffset + 100] ^= 1; },
       ProjectReadResult::PrjSumMismatch, "Project File Data Has Been Corrupted!"},
      {"cut short", [](std::vector<u8>& f) { f.resize(f.size() - 4000); }, ProjectReadResult::PrjSumMismatch,
       "Project File Data Has Been Corrupted!"},
      // A key byte and its 1024 data bytes each: the byte sum stays, the check word does not.
      {"main-image blocks 1 and 2 swapped",
       [](std::vector<u8>& f) {
         const auto at = f.begin() + static_cast<std::ptrdiff_t>(ProjectMfmTagOffset + 3 + 1025);
         std::swap_ranges(at, at + 1025, at + 1025);
       },
       ProjectReadResult::PrjSumMismatch, "Project File Data Has Been Corrupted!"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<u8> bytes = good;
    c.damage(bytes);
    const std::string path = job.bench.folder.File(std::string(c.name) + ".pqz");
    test::WriteFile(path, bytes);

    Bench b;
    PreviousJob(b, Maker::AutoChip, "AC78013xDxx");
    b.driver.DriverLoaded = 1;
    const auto before = std::make_unique<ChipModel>(*b.model);
    ProgramControls shown;
    shown.SNEdit1 = "0x00000042";
    ProjectEnv env = b.Env();
    const ProjectLoadResult r = LoadProjectFile(path, shown, env);

    EXPECT_EQ(r.Read, c.result);
    EXPECT_TRUE(r.Changes.empty());
    EXPECT_TRUE(ChangedReactingBoxes(shown, r.Controls).empty());
    ExpectSameControls(r.Controls, shown);
    EXPECT_EQ(b.log.Lines(), (std::vector<std::string>{Info("Load Dromix Project file of \"" + path + "\".2024/05/17"),
                                                       Info(c.message)}));
    EXPECT_EQ(b.MessageTexts(), std::vector<std::string>{c.message});
    EXPECT_EQ(b.hexResets, 0);
    EXPECT_EQ(b.driver.DriverLoaded, 1);
    const ChipModel& m = *b.model;
    ExpectSameParams(m.Params, before->Params);
    ExpectSameSettingsBytes(m, *before);
    EXPECT_EQ(m.ChipName, before->ChipName);
    EXPECT_EQ(m.ProjectFlags, before->ProjectFlags);
    EXPECT_TRUE(m.MainFlashImage == before->MainFlashImage);
    EXPECT_TRUE(m.EepImage == before->EepImage);
    EXPECT_TRUE(m.OptionImage == before->OptionImage);
  }
}

// Opening the same project again runs the chip reaction again, and the loaded settings
// stand over what the family set-up gives: the LCM set-up ticks "Program Option Byte".
TEST(ProjectLoad, OpeningTheSameProjectAgainRunsTheChipReactionAgain) {
  ProgramControls stored = test::StoredControls(false);
  stored.CheckBoxOpt = false;
  stored.ChkBoxRDP = false;
  stored.ChkBoxPrgEEP = stored.ChkBoxErsEEP = false;
  SavedJob job(Maker::Lcm, "LCM32F037K8xx", stored, 6);

  Bench b;
  const std::string driver = b.WriteDriver("LCM32F037K8xx");
  ProjectEnv env = b.Env();
  const ProjectLoadResult first = LoadProjectFile(job.path, ProgramControls{}, env);
  ASSERT_EQ(first.Read, ProjectReadResult::PrjOk);
  EXPECT_EQ(b.driver.DriverLoaded, 1);
  std::filesystem::remove(driver);

  const ProjectLoadResult again = LoadProjectFile(job.path, first.Controls, env);
  ASSERT_EQ(again.Read, ProjectReadResult::PrjOk);
  EXPECT_EQ(b.hexResets, 2);
  EXPECT_EQ(std::count(b.log.Lines().begin(), b.log.Lines().end(), Info("Chip \"LCM32F037K8xx\" has been selected!")), 2);
  EXPECT_EQ(b.driver.DriverLoaded, 0);
  EXPECT_EQ(b.MessageTexts().back(), "File \"" + driver + "\" is not exists, please check it!");
  EXPECT_TRUE(SameChanges(again.Changes, first.Changes));
  const auto box = std::find_if(again.Changes.begin(), again.Changes.end(),
                                [](const ControlChange& c) { return c.Name == ctl::CheckBoxOpt && c.Checked; });
  ASSERT_NE(box, again.Changes.end());
  EXPECT_TRUE(*box->Checked);
  EXPECT_FALSE(again.Controls.CheckBoxOpt);
  ExpectSameControls(again.Controls, stored);
  EXPECT_TRUE(ChangedReactingBoxes(first.Controls, again.Controls).empty());
}

// Every option byte the writer stores comes back, whatever the family: the AC7840x bytes
// lie above 127. The file keeps bytes 0..331 and the option write sends 1024: the bytes the
// file does not keep are 0xFF, as the units have always been sent for a stored job, not the
// family's default a chip chosen in the dialog has (0x00 for Silergy and TEA). The option
// window is the family's, not the previous chip's.
TEST(ProjectLoad, OptionBytesComeBackWith0xFFPastWhatTheFileKeepsAndTheFamilysOptionWindow) {
  const struct {
    Maker maker;
    const char* model;
    std::size_t first, count;  // the option bytes set before the save
    Maker previousMaker;
    const char* previous;
  } rows[] = {
      {Maker::AutoChip, "AC78406xFxx", 0, 332, Maker::Aucu, "AU301LDF51xx"},
      {Maker::Silergy, "SA32B14xx", 16, 100, Maker::Aucu, "AU301LDF51xx"},
      {Maker::Tea, "TEA32G5800TLF256", 16, 100, Maker::Aucu, "AU301LDF51xx"},
      {Maker::Aucu, "AU301LDF51xx", 16, 100, Maker::AutoChip, "AC78406xFxx"},
      {Maker::Lcm, "LCM32F037K8xx", 16, 100, Maker::Aucu, "AU301LDF51xx"},
      {Maker::AutoChip, "AC78013xDxx", 16, 100, Maker::Aucu, "AU301LDF51xx"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.model);
    Bench src;
    test::Choose(*src.model, row.maker, row.model);
    test::LoadJob(*src.model, 12);
    const auto options = test::RandomBytes(row.count, 12);
    std::copy(options.begin(), options.end(), src.model->OptionImage.begin() + static_cast<std::ptrdiff_t>(row.first));
    test::TakeLoadSums(*src.model);  // as the option dialog's close takes them
    ProjectEnv srcEnv = src.Env();
    const std::string path = src.folder.File("job.pqz");
    SavetoProjectFile(path, ProgramControls{}, srcEnv);

    Bench b;
    PreviousJob(b, row.previousMaker, row.previous);
    ProjectEnv env = b.Env();
    ASSERT_EQ(LoadProjectFile(path, ProgramControls{}, env).Read, ProjectReadResult::PrjOk);
    const auto& got = b.model->OptionImage;
    const auto& saved = src.model->OptionImage;
    const auto diff = std::mismatch(got.begin(), got.begin() + 332, saved.begin());
    EXPECT_TRUE(diff.first == got.begin() + 332) << "option byte " << (diff.first - got.begin()) << " is "
                                                 << int(*diff.first) << ", was " << int(*diff.second);
    ExpectErasedFrom(got, 332, 0xFF);
    EXPECT_EQ(b.model->Params.OptionStart, src.model->Params.OptionStart);
    EXPECT_EQ(b.model->Params.OptionEnd, src.model->Params.OptionEnd);
    EXPECT_EQ(b.model->Params.InfoEnd, NoWindow);
  }
  // The AC7840x window, which the previous chip's does not match.
  Bench ac;
  test::Choose(*ac.model, Maker::AutoChip, "AC78406xFxx");
  EXPECT_EQ(ac.model->Params.OptionStart, 0x00200000u);
  EXPECT_EQ(ac.model->Params.OptionEnd, 0x00200FFFu);
}

// "None selected" is stored as an index past the group's items and reads back as none;
// a chip without main flash or data flash gets areas that hold no address.
TEST(ProjectLoad, IndexesOutsideTheirGroupsAndEmptyAreasHoldNothing) {
  Bench src;
  test::Choose(*src.model, Maker::Indie, "IND83209xx");
  test::LoadJob(*src.model, 9);
  ChipParams& p = src.model->Params;
  p.MainFlashStart = 0;
  p.MainFlashSize = 0;
  p.DownloadSize = 0;
  test::TakeLoadSums(*src.model);
  ASSERT_EQ(p.EepStart, NoWindow);
  ProgramControls c;
  c.RadioGpVolt = -1;
  c.RadioGrpRST = 3;
  ProjectEnv srcEnv = src.Env();
  const std::string path = src.folder.File("empty.pqz");
  SavetoProjectFile(path, c, srcEnv);
  EXPECT_EQ(src.model->Control.PowerFlags & 3, 2);
  EXPECT_EQ(src.model->Control.ResetFlags & 3, 3);

  Bench b;
  PreviousJob(b, Maker::Silergy, "SA32B14xx");
  ProjectEnv env = b.Env();
  const ProjectLoadResult r = LoadProjectFile(path, ProgramControls{}, env);
  ASSERT_EQ(r.Read, ProjectReadResult::PrjOk);
  EXPECT_EQ(r.Controls.RadioGpVolt, -1);
  EXPECT_EQ(r.Controls.RadioGrpRST, -1);
  const ChipParams& q = b.model->Params;
  for (const u32 a : {0u, 0x1000u, 0xFFFFFFFFu}) {
    EXPECT_FALSE(MainWindow(q).Contains(a)) << a;
    EXPECT_FALSE(EepWindow(q).Contains(a)) << a;
  }
  EXPECT_EQ(q.EepEnd, 0xFFFFFFFEu);
  EXPECT_EQ(q.MainImageOffset, 0u);
  ExpectErasedFrom(b.model->MainFlashImage, 0, 0xFF);
  EXPECT_EQ(b.log.Lines().back(), Info("Chip ACC32 CheckSum is : 0x00000000"));

  // The next collection keeps "none selected".
  CollectProgramSettings(r.Controls, *b.model, b.log);
  EXPECT_EQ(b.model->Control.PowerFlags & 3, 2);
}

}  // namespace
}  // namespace qx
