#pragma once
// The real program over simulated units with a chip set up as a project load leaves it (its
// chip fields and its flash driver), an image in the model, the file dialogs answered from a
// queue, and a grid model on the main grid the view refreshes reach.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <deque>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/ui/GridRefresh.h"
#include "app/ui/HexGridModel.h"
#include "tests/app/ui/NamedControl.h"
#include "programmer/FlashDriver.h"
#include "tests/app/ChipJobSupport.h"
#include "tests/app/ui/ProgramRig.h"
#include "tests/support/StationProbe.h"

namespace qx::test {

class TestGrid : public HexGridModel {
 public:
  using HexGridModel::HexGridModel;
  QString Cell(int row, int column) const { return index(row, column).data().toString(); }
};

class WindowJob : public ::testing::Test {
 protected:
  // units linked simulated units and the chip chosen with its driver.
  void Start(std::vector<sim::UnitConfig> units, Maker maker, std::string_view chip) {
    rig.Units(std::move(units));
    rig.Make();
    TGenMFrmARM& w = rig.Window();
    w.ShowFileDialog = [this](const FileDialogRequest& r) {
      fileRequests.push_back(r);
      if (files.empty()) return std::optional<FileDialogChoice>();
      auto f = files.front();
      files.pop_front();
      return f;
    };
    grid = std::make_unique<TestGrid>(Model(), HexGrid::Main);
    w.AttachGridModel(HexGrid::Main, *grid, *grid);
    ASSERT_TRUE(rig.LinkUnits());
    Choose(Model(), maker, chip);
    const std::filesystem::path drivers = rig.dir.Path() / "DromixDRVs";
    std::filesystem::create_directories(drivers);
    ASSERT_TRUE(sim::WriteBytesFile((drivers / (std::string(sim::DriverStemFor(chip)) + ".KDV")).string(),
                                    sim::MakeDriverFile({})));
    LoadFlashDriver(StationProbe::Wire(rig.Core()).Driver, chip, Model().Params.FamilyCode, rig.Core().AppDir(), w);
    ASSERT_EQ(rig.Core().Driver().DriverLoaded, 1);
  }
  void Start(std::size_t units, Maker maker, std::string_view chip) {
    Start(std::vector<sim::UnitConfig>(units), maker, chip);
  }
  // An image as a loaded object leaves it, on the main grid.
  void Job(unsigned seed) {
    LoadJob(Model(), seed);
    const ChipParams& p = Model().Params;
    rig.Window().ShowMainHex(p.MainImageOffset, p.MainImageOffset + p.DownloadSize - 1);
  }

  ChipModel& Model() { return StationProbe::Model(rig.Core()); }
  void Click(TGenMFrmARM::Handler handler) { rig.Window().Run(handler); }
  bool Idle() {
    return rig.RunUntil([this] { return rig.AllIdle(); });
  }
  template <class T>
  T& Control(const char* name) {
    return NamedControl<T>(rig.Window(), name);
  }
  void Check(const char* name, bool on = true) { Control<QCheckBox>(name).setChecked(on); }
  void SetText(const char* name, const QString& text) { Control<QLineEdit>(name).setText(text); }

  // The log lines without their "> 12:34:56 " stamp.
  std::vector<std::string> Texts() const {
    std::vector<std::string> out;
    for (const auto& l : rig.program->Core().Log().Lines()) out.push_back(l.rfind("> 12:34:56 ", 0) == 0 ? l.substr(11) : l);
    return out;
  }
  std::size_t Count(const std::string& text) const {
    const auto t = Texts();
    return static_cast<std::size_t>(std::count(t.begin(), t.end(), text));
  }
  std::vector<std::string> BoxTexts() const {
    std::vector<std::string> v;
    for (const auto& b : rig.boxes) v.push_back(b.text);
    return v;
  }
  // Bytes of unit k's simulated chip memory.
  std::vector<u8> ChipMain(std::size_t k, std::size_t from, std::size_t n) {
    std::vector<u8> v;
    rig.sim->WithUnit(k, [&](sim::SimUnit& u) { v.assign(u.Main().begin() + from, u.Main().begin() + from + n); });
    return v;
  }
  std::vector<u8> Image(std::size_t from, std::size_t n) {
    return std::vector<u8>(Model().MainFlashImage.begin() + from, Model().MainFlashImage.begin() + from + n);
  }

  ProgramRig rig;
  std::deque<std::optional<FileDialogChoice>> files;
  std::vector<FileDialogRequest> fileRequests;
  std::unique_ptr<TestGrid> grid;  // goes before the window
};

}  // namespace qx::test
