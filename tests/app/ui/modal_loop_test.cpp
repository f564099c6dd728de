// One rule for every modal loop of the window: a dialog or box open while the batch start
// comes due sees its job stay as it was, and the batch goes on once it has closed. Each row
// opens one dialog or box the way the operator does and waits inside it, as its own loop
// would, until the station says the batch start is waiting.
#include <gtest/gtest.h>

#include <QDialog>
#include <QTimer>
#include <array>
#include <cctype>
#include <chrono>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "app/ui/ChipCommands.h"
#include "programmer/FlashDriver.h"
#include "tests/app/ChipJobSupport.h"
#include "tests/app/e2e/BatchJob.h"
#include "tests/app/ui/ProgramRig.h"
#include "tests/support/StationProbe.h"

namespace qx::test {
namespace {

using W = TGenMFrmARM;

// What a dialog shows of the job and what the units would be sent.
struct JobShown {
  std::string Chip;
  u32 DownloadSize = 0;
  std::vector<u8> Main;
  std::array<u8, OptionImageSize> Option{};
  bool operator==(const JobShown&) const = default;
};

JobShown Shown(const ChipModel& m) {
  const auto first = m.MainFlashImage.begin() + m.Params.MainImageOffset;
  return {m.ChipName, m.Params.DownloadSize, std::vector<u8>(first, first + 0x1000), m.OptionImage};
}

enum class Seam : u8 { Dialog, FileDialog, Box, RealDialog };

struct Row {
  const char* name;
  Maker maker;  // the chip of the job before the batch's
  const char* chip;
  W::Handler command;
  Seam waitsIn;
  bool linkedFirst = false;  // the command needs linked units: the batch start is due at its next tick
  const char* file = nullptr;  // the file dialog's answer (in the program folder)
};

const Row kRows[] = {
    {"chip dialog", Maker::Silergy, "SA32B14xx", &W::DevButtonClick, Seam::Dialog},
    {"AC78x option dialog", Maker::AutoChip, "AC78013xDxx", &W::BtnOptionCfgClick, Seam::Dialog},
    {"AC784x option dialog", Maker::AutoChip, "AC78406xFxx", &W::BtnOptionCfgClick, Seam::Dialog},
    {"AUCU configuration dialog", Maker::Aucu, "AU302NDF51xx", &W::BtnOptionCfgClick, Seam::Dialog},
    {"LCM option dialog", Maker::Lcm, "LCM32F037K8xx", &W::BtnOptionCfgClick, Seam::Dialog},
    {"SPD117x configuration dialog", Maker::Spintrol, "SPD1176ZAPW48", &W::BtnOptionCfgClick, Seam::Dialog},
    {"Silergy configuration dialog", Maker::Silergy, "SA32B14xx", &W::BtnOptionCfgClick, Seam::Dialog},
    {"object file dialog", Maker::AutoChip, "AC78016xBxx", &W::FileOpenBtnClick, Seam::FileDialog},
    {"offset dialog of a binary file", Maker::AutoChip, "AC78016xBxx", &W::FileOpenBtnClick, Seam::Dialog, false,
     "other.bin"},
    {"project open dialog", Maker::AutoChip, "AC78016xBxx", &W::SpdBtnLdPrjClick, Seam::FileDialog},
    {"log settings dialog", Maker::AutoChip, "AC78016xBxx", &W::ConfigLogFile1Click, Seam::Dialog},
    {"address dialog", Maker::AutoChip, "AC78016xBxx", &W::ReadSpcAddressClick, Seam::Dialog, true},
    {"verify-mismatch box", Maker::AutoChip, "AC78016xBxx", &W::SpdBtnVerifyClick, Seam::Box, true},
    {"a dialog shown with its own exec()", Maker::AutoChip, "AC78016xBxx", nullptr, Seam::RealDialog},
};

void PrintTo(const Row& row, std::ostream* out) { *out << row.name; }

class ModalLoop : public ::testing::TestWithParam<Row> {};

TEST_P(ModalLoop, TheBatchStartWaitsUntilItClosesAndTheJobStaysUnderIt) {
  const Row& row = GetParam();
  ProgramRig rig;
  rig.Units(std::vector<sim::UnitConfig>(1));
  rig.FirmwareFile();
  const BatchJob job = WriteBatchJob(rig.dir.Dir());
  rig.Make();
  rig.Start();
  rig.Core().ReadCommandLine(std::vector<std::string>{job.Path});
  TGenMFrmARM& w = rig.Window();
  ChipModel& m = StationProbe::Model(rig.Core());

  // The job in the window before the batch's: its chip, its driver, an image on the chip's
  // unit that the image does not match.
  Choose(m, row.maker, row.chip);
  std::filesystem::create_directories(rig.dir.Path() / "DromixDRVs");
  ASSERT_TRUE(sim::WriteBytesFile(rig.dir.Dir() + "DromixDRVs/" + std::string(sim::DriverStemFor(row.chip)) + ".KDV",
                                  sim::MakeDriverFile({})));
  LoadFlashDriver(StationProbe::Wire(rig.Core()).Driver, row.chip, m.Params.FamilyCode, rig.Core().AppDir(), w);
  LoadJob(m, 7);
  if (row.file != nullptr) WriteFile(rig.dir.File(row.file), std::vector<u8>(0x100, 0x3C));
  if (row.linkedFirst) {
    ASSERT_TRUE(rig.RunUntil([&] { return rig.Core().LinkedCount() == 1; }));
  }
  ASSERT_TRUE(rig.Core().BatchUnits().none());
  const JobShown before = Shown(m);

  int waited = 0;
  const auto waitInside = [&] {
    ++waited;
    // Until it waits, or (a dialog outside the rule) has started.
    ASSERT_TRUE(rig.RunUntil([&] { return rig.Core().BatchStartHeld() || rig.Core().BatchUnits().any(); }));
    EXPECT_TRUE(rig.Core().BatchStartHeld());
    EXPECT_EQ(Shown(m), before);
    EXPECT_TRUE(rig.Core().BatchUnits().none());
  };
  rig.onModal = [&](QDialog&) {
    if (row.waitsIn == Seam::Dialog) waitInside();
    return static_cast<int>(QDialog::Rejected);
  };
  w.ShowFileDialog = [&](const FileDialogRequest&) -> std::optional<FileDialogChoice> {
    if (row.file != nullptr) return FileDialogChoice{rig.dir.File(row.file), 5};
    if (row.waitsIn == Seam::FileDialog) waitInside();
    return std::nullopt;
  };
  rig.onBox = [&](const ProgramRig::Box& b) {
    if (row.waitsIn == Seam::Box && b.text.rfind("Chip 1: Address=", 0) == 0 && waited == 0) waitInside();
  };
  if (row.waitsIn == Seam::Box) rig.answers = {MsgAnswer::Abort};

  if (row.waitsIn == Seam::RealDialog) {
    // A dialog a new command might show without the window's helpers: a real modal loop.
    w.Run([&] {
      QDialog d(&w);
      QTimer::singleShot(0, &d, [&] {
        waitInside();
        d.reject();
      });
      d.exec();
    });
  } else {
    w.Run(row.command);
  }
  if (row.waitsIn == Seam::Box) {
    // The box comes with a reply. No timer ticks meanwhile: the batch start's tick would
    // find the unit verifying and refuse, as it always has.
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (waited == 0 && std::chrono::steady_clock::now() < until) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
  }
  ASSERT_EQ(waited, 1);

  // Closed: the batch loads its project and every unit takes it.
  ASSERT_TRUE(rig.RunUntil([&] { return rig.Core().BatchUnits().any() && rig.AllIdle(); }));
  EXPECT_FALSE(rig.Core().BatchStartHeld());
  EXPECT_EQ(m.ChipName, job.Model->ChipName);
  ExpectUnitHoldsTheJob(*rig.sim, 0, 1, job);
}

INSTANTIATE_TEST_SUITE_P(EachDialogAndBox, ModalLoop, ::testing::ValuesIn(kRows),
                         [](const ::testing::TestParamInfo<Row>& param) {
                           std::string name;
                           for (const char* c = param.param.name; *c != '\0'; ++c) {
                             if (std::isalnum(static_cast<unsigned char>(*c))) name += *c;
                           }
                           return name;
                         });

}  // namespace
}  // namespace qx::test
