// Every maker module of the registry, held against the rest of the program: its models
// select, its window set-up names only controls the window has, its name is its own, its
// driver rows are not shadowed by another maker's, and its chips come back from a project
// file as its chips.
#include <QListWidget>
#include <memory>
#include <set>
#include <string>

#include "base/MessageLog.h"
#include "chips/ChipSelect.h"
#include "chips/FamilyRequests.h"
#include "chips/FamilySetup.h"
#include "chips/MakerRegistry.h"
#include "chips/ui/ChipSelForm.h"
#include "programmer/FlashDriver.h"
#include "programmer/RandomSource.h"
#include "programmer/SettingsBlock.h"
#include "project/ProjectFile.h"
#include "project/ProjectFileFormat.h"
#include "tests/app/ChipJobSupport.h"
#include "tests/app/ui/WindowFixture.h"
#include "tests/support/RecordingOperator.h"
#include "texts/Texts.h"

namespace qx {
namespace {

using test::WindowTest;

std::string MakerLabel(std::size_t index) { return "maker " + std::to_string(index); }

TEST_F(WindowTest, EveryListedModelOfEveryMakerSelectsAndItsSetUpNamesOnlyWindowControls) {
  for (std::size_t i = 0; i < MakerCount; ++i) {
    const MakerModule& maker = *MakerModules[i];
    const auto index = static_cast<u8>(i);
    EXPECT_EQ(int{IndexOf(maker.maker)}, int{index}) << "the module registered for " << MakerLabel(i);
    ASSERT_FALSE(maker.models.empty()) << MakerLabel(i);
    for (std::size_t pos = 0; pos < maker.models.size(); ++pos) {
      const std::string_view name = maker.models[pos];
      auto chip = std::make_unique<ChipModel>();
      EXPECT_TRUE(SelectListedChip(*chip, index, static_cast<u8>(pos))) << name;
      EXPECT_NE(chip->Params.MainFlashSize, 0u) << name;
      EXPECT_EQ(int{chip->Params.ManufacturerIndex}, int{index}) << name;
      EXPECT_EQ(chip->ChipName, name);
      const std::vector<std::string> unknown = window.ApplyWindowChanges(ChipChosenChanges(*chip));
      EXPECT_TRUE(unknown.empty()) << name << ": no control " << (unknown.empty() ? "" : unknown.front());
    }
  }
}

TEST(MakerModules, EachMakerHasANameOfItsOwn) {
  std::set<std::string_view> names;
  for (const MakerModule* maker : MakerModules) {
    const std::string_view name = Text(maker->name);
    EXPECT_FALSE(name.empty());
    EXPECT_TRUE(names.insert(name).second) << name;
  }
  EXPECT_EQ(names.size(), MakerCount);
}

// The programming commands list the option data only through the module's own listing.
TEST(MakerModules, AMakerListingItsOptionsBeforeAStartHasAListing) {
  for (std::size_t i = 0; i < MakerCount; ++i) {
    const MakerModule& maker = *MakerModules[i];
    if (maker.differs.optionListingBeforeStart) {
      EXPECT_NE(maker.currentOptionListing, nullptr) << MakerLabel(i);
    }
  }
}

// The requests go by the chip's family code: every chip a module selects must find that
// module's requests there, also where two makers share a family.
TEST(MakerModules, EveryChipsFamilyHasItsMakersRequests) {
  const auto same = [](const FamilyRequests& a, const FamilyRequests& b) {
    return a.commonInChipCommands.on == b.commonInChipCommands.on &&
           a.commonInProgramBlocks.on == b.commonInProgramBlocks.on && a.longOptionWrite.on == b.longOptionWrite.on;
  };
  for (std::size_t i = 0; i < MakerCount; ++i) {
    const MakerModule& maker = *MakerModules[i];
    for (std::size_t pos = 0; pos < maker.models.size(); ++pos) {
      auto chip = std::make_unique<ChipModel>();
      ASSERT_TRUE(SelectListedChip(*chip, static_cast<u8>(i), static_cast<u8>(pos))) << maker.models[pos];
      EXPECT_TRUE(same(RequestsOfFamily(chip->Params.FamilyCode), maker.requests))
          << MakerLabel(i) << ", " << maker.models[pos] << ", family " << int{chip->Params.FamilyCode};
    }
  }
}

TEST(MakerModules, TheChipDialogListsEveryMakerWithItsModels) {
  auto chip = std::make_unique<ChipModel>();
  TChipSelForm dialog(*chip);
  auto* makers = dialog.findChild<QListWidget*>("ListBoxMFG");
  auto* models = dialog.findChild<QListWidget*>("ListBoxCP");
  ASSERT_NE(makers, nullptr);
  ASSERT_NE(models, nullptr);
  ASSERT_EQ(static_cast<std::size_t>(makers->count()), MakerCount);
  for (std::size_t i = 0; i < MakerCount; ++i) {
    const MakerModule& maker = *MakerModules[i];
    EXPECT_EQ(makers->item(static_cast<int>(i))->text().toStdString(), Text(maker.name));
    dialog.ShowVendorModels(static_cast<u8>(i));
    ASSERT_EQ(static_cast<std::size_t>(models->count()), maker.models.size()) << MakerLabel(i);
    for (std::size_t pos = 0; pos < maker.models.size(); ++pos) {
      EXPECT_EQ(models->item(static_cast<int>(pos))->text().toStdString(), maker.models[pos]);
    }
  }
}

// The driver lookup goes by chip name over every maker in turn: no row of one maker may
// take a name that a row of a later maker is there for.
TEST(MakerModules, NoMakersDriverRowIsShadowedByAnotherMakers) {
  for (std::size_t i = 0; i < MakerCount; ++i) {
    for (const DriverFileRow& row : MakerModules[i]->driverFiles) {
      std::string_view own;
      for (const DriverFileRow& r : MakerModules[i]->driverFiles) {
        if (row.Prefix.starts_with(r.Prefix)) {
          own = r.Stem;
          break;
        }
      }
      EXPECT_EQ(DriverStemOf(row.Prefix), own) << MakerLabel(i) << " " << row.Prefix;
    }
  }
  std::size_t rows = 0;
  for (const MakerModule* maker : MakerModules) rows += maker->driverFiles.size();
  EXPECT_EQ(DriverFileTable().size(), rows);
}

TEST(MakerModules, AChipOfEveryMakerComesBackFromAProjectFileAsThatMakersChip) {
  MessageLog log{[] { return std::string("12:00:00"); }};
  test::RecordingOperator op;
  DefaultRandom random{99};
  ProjectSectionBuffer section{};
  std::array<u8, SettingsBlockSize> block{};
  for (std::size_t i = 0; i < MakerCount; ++i) {
    const auto index = static_cast<u8>(i);
    const auto& models = MakerModules[i]->models;
    ASSERT_FALSE(models.empty()) << MakerLabel(i);
    for (const std::size_t pos : {std::size_t{0}, models.size() - 1}) {
      auto saved = std::make_unique<ChipModel>();
      ASSERT_TRUE(SelectListedChip(*saved, index, static_cast<u8>(pos))) << models[pos];
      test::TakeLoadSums(*saved);  // a job is saved after a load or a read-back took them
      BuildSettingsBlock(*saved, random, 0, 1, block);
      const std::vector<u8> file = BuildProjectFile(*saved, 85, block, random);

      auto loaded = std::make_unique<ChipModel>();
      ProjectFileEnv env{*loaded, log, op, random, section, 1, true};
      ASSERT_EQ(ReadProjectFile(file, env), ProjectReadResult::PrjOk) << models[pos];
      EXPECT_EQ(int{loaded->Params.ManufacturerIndex}, int{index}) << models[pos];
      EXPECT_EQ(loaded->ChipName, models[pos]);
      EXPECT_EQ(&ModuleOf(MakerOf(loaded->Params.ManufacturerIndex)), MakerModules[i]) << models[pos];
      EXPECT_EQ(loaded->Params.MainFlashSize, saved->Params.MainFlashSize) << models[pos];
    }
  }
}

}  // namespace
}  // namespace qx
