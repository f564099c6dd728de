#pragma once
// The real program as the operator finds it after start-up, with the flash-driver files of
// every chip family in its folder, and the two ways a chip reaches the window: through the
// chip-selection dialog, and set programmatically as a project load sets it.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/ui/ChipCommands.h"
#include "app/ui/RadioGroup.h"
#include "tests/app/ChipJobSupport.h"
#include "tests/app/ui/ProgramRig.h"
#include "tests/support/StationProbe.h"

namespace qx::test {

class ChipWindow {
 public:
  explicit ChipWindow(std::vector<sim::UnitConfig> units = {}) {
    if (!units.empty()) rig.Units(std::move(units));
    rig.FirmwareFile();
    rig.Make();
    Window().SetRunTimeCaptions();
    rig.Core().StartUp({});
    rig.boxes.clear();
  }

  TGenMFrmARM& Window() { return rig.Window(); }
  MainController& Controller() { return rig.program->Controller(); }
  ChipModel& Model() { return StationProbe::Model(rig.Core()); }
  const std::vector<std::string>& LogLines() { return rig.Core().Log().Lines(); }

  template <class T>
  T& Find(const char* name) {
    T* found = Window().findChild<T*>(QString::fromLatin1(name));
    if (found == nullptr) throw std::runtime_error(std::string("no control ") + name);
    return *found;
  }
  bool Shown(const char* widget) { return !Find<QWidget>(widget).isHidden(); }
  bool Checked(const char* box) { return Find<QAbstractButton>(box).isChecked(); }
  QString TextOf(const char* name) {
    if (auto* e = Window().findChild<QLineEdit*>(QString::fromLatin1(name))) return e->text();
    return Find<QAbstractButton>(name).text();
  }
  bool TabShown(const char* tabs, const char* page) {
    auto& t = Find<QTabWidget>(tabs);
    return t.isTabVisible(t.indexOf(&Find<QWidget>(page)));
  }
  QWidget* CurrentPage(const char* tabs) { return Find<QTabWidget>(tabs).currentWidget(); }

  // A valid driver file for the chip in the program folder (none for a family without one).
  void WriteDriver(std::string_view chip) {
    const std::string_view stem = sim::DriverStemFor(chip);
    if (stem.empty()) return;
    std::filesystem::create_directories(rig.dir.Path() / "DromixDRVs");
    ASSERT_TRUE(sim::WriteBytesFile(rig.dir.Dir() + "DromixDRVs/" + std::string(stem) + ".KDV", sim::MakeDriverFile({})));
  }

  // The operator picks the model in the chip dialog and presses OK.
  void ChooseInDialog(const QString& model) {
    rig.onModal = [model](QDialog& d) {
      d.show();  // its show handler lays it out for the maker it offers
      auto& list = *d.findChild<QListWidget*>(QStringLiteral("ListBoxCP"));
      const auto items = list.findItems(model, Qt::MatchExactly);
      if (items.isEmpty()) {
        ADD_FAILURE() << "the dialog does not offer " << model.toStdString();
        d.reject();
      } else {
        list.setCurrentItem(items.front());
        d.findChild<QPushButton*>(QStringLiteral("BitBtnOK"))->click();
      }
      return d.result();
    };
    Find<QPushButton>("DevButton").click();
    rig.onModal = nullptr;
  }

  // The chip's maker and model put into the chip state directly, then the window's
  // reaction, as a project load brings a chip.
  void ChooseProgrammatically(Maker maker, std::string_view model) {
    test::Choose(Model(), maker, model);
    RunChipReaction(Controller());
  }

  ProgramRig rig;
};

}  // namespace qx::test
