#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "tests/chips/ChipTestSupport.h"
#include "tests/chips/ui/DialogTestSupport.h"
#include "chips/ChipSelect.h"
#include "chips/ui/ChipSelForm.h"

namespace qx {
namespace {

using test::Find;
using test::Str;

class ChipSelDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    // A project of another maker was loaded before.
    SelectChip(*chip, IndexOf(Maker::Aucu), "AU302NDF51xx", 1);
    chip->ObjectLoaded = 1;
    chip->OptionImage[7] = 0x12;
    before = *chip;
  }

  void ExpectUnchanged() const {
    EXPECT_EQ(chip->Params.ManufacturerIndex, IndexOf(Maker::Aucu));
    EXPECT_EQ(chip->ChipName, "AU302NDF51xx");
    EXPECT_EQ(chip->Params.MainFlashSize, before.Params.MainFlashSize);
    EXPECT_EQ(chip->Params.FamilyCode, before.Params.FamilyCode);
    EXPECT_EQ(chip->Control.InterfaceFlags, before.Control.InterfaceFlags);
    EXPECT_EQ(chip->ObjectLoaded, 1);
    EXPECT_EQ(chip->OptionImage, before.OptionImage);
  }

  QListWidget* Models(const TChipSelForm& dlg) { return Find<QListWidget>(dlg, "ListBoxCP"); }

  std::unique_ptr<ChipModel> chip = test::FreshModel();
  ChipModel before;
};

TEST_F(ChipSelDialog, OpensOnTheSilergyModelsWithoutMakerChoiceAndChangesNothing) {
  TChipSelForm dlg(*chip);
  dlg.show();
  EXPECT_EQ(Str(dlg.windowTitle()), "Chip Select Dialog");
  EXPECT_EQ(dlg.width(), 426);
  QListWidget* models = Models(dlg);
  ASSERT_EQ(models->count(), 3);
  EXPECT_EQ(Str(models->item(0)->text()), "SA32B16xx");
  EXPECT_EQ(Str(models->item(1)->text()), "SA32B14xx");
  EXPECT_EQ(Str(models->item(2)->text()), "SA32B12xx");
  EXPECT_EQ(models->currentRow(), 0);
  EXPECT_TRUE(models->item(0)->isSelected());
  EXPECT_FALSE(Find<QLabel>(dlg, "LabelMFG")->isVisible());
  EXPECT_FALSE(Find<QListWidget>(dlg, "ListBoxMFG")->isVisible());
  EXPECT_FALSE(Find<QGroupBox>(dlg, "RadioGrpSelMF")->isVisible());
  EXPECT_EQ(models->x(), 16);
  EXPECT_EQ(Find<QLabel>(dlg, "LabelCPS")->x(), 16);
  EXPECT_EQ(Find<QPushButton>(dlg, "BitBtnOK")->x(), 266);
  EXPECT_EQ(Find<QPushButton>(dlg, "BitBtnNO")->x(), 266);
  EXPECT_EQ(dlg.ShownMaker(), IndexOf(Maker::Silergy));
  // Every button and list stays inside the narrowed dialog.
  for (QWidget* w : {static_cast<QWidget*>(models), static_cast<QWidget*>(Find<QPushButton>(dlg, "BitBtnOK"))}) {
    EXPECT_LE(w->geometry().right(), dlg.width());
  }
  ExpectUnchanged();
}

TEST_F(ChipSelDialog, OkStoresTheSelectedModelAndReportsTheChoice) {
  TChipSelForm dlg(*chip);
  dlg.show();
  QListWidget* models = Models(dlg);
  QTest::mouseClick(models->viewport(), Qt::LeftButton, {}, models->visualItemRect(models->item(1)).center());
  QTest::mouseClick(Find<QPushButton>(dlg, "BitBtnOK"), Qt::LeftButton);
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
  EXPECT_TRUE(dlg.ChipChosen());
  EXPECT_FALSE(dlg.isVisible());
  EXPECT_EQ(chip->Params.ManufacturerIndex, IndexOf(Maker::Silergy));
  EXPECT_EQ(chip->ChipName, "SA32B14xx");
  EXPECT_EQ(chip->Params.Subtype, 1);
  EXPECT_EQ(chip->Params.DownloadSize, 0x40000u);
  EXPECT_EQ(chip->Params.EepDownloadSize, 0x20000u);
  EXPECT_EQ(chip->ObjectLoaded, 0);
  EXPECT_EQ(chip->ChipSelected, 1);
}

TEST_F(ChipSelDialog, NoAndTheCloseKeyLeaveEverythingAsItWas) {
  for (const bool useKey : {false, true}) {
    TChipSelForm dlg(*chip);
    dlg.show();
    Models(dlg)->setCurrentRow(2);
    if (useKey) {
      QTest::keyClick(&dlg, Qt::Key_Escape);
    } else {
      QTest::mouseClick(Find<QPushButton>(dlg, "BitBtnNO"), Qt::LeftButton);
    }
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_FALSE(dlg.ChipChosen());
    ExpectUnchanged();
  }
}

TEST_F(ChipSelDialog, TheSameModelAgainRunsTheSelectAgainAndIsReported) {
  SelectChip(*chip, IndexOf(Maker::Silergy), "SA32B16xx", 0);
  chip->ObjectLoaded = 1;
  chip->OptionImage[3] = 0x77;
  TChipSelForm dlg(*chip);
  // The caller learns of the choice from exec(), not from a changed name.
  QTimer::singleShot(0, &dlg, [&dlg] { Find<QPushButton>(dlg, "BitBtnOK")->click(); });
  EXPECT_EQ(dlg.exec(), QDialog::Accepted);
  EXPECT_TRUE(dlg.ChipChosen());
  EXPECT_EQ(chip->ChipName, "SA32B16xx");
  EXPECT_EQ(chip->ObjectLoaded, 0);
  EXPECT_EQ(chip->OptionImage[3], 0x00);
}

TEST_F(ChipSelDialog, OkWithoutASelectedModelDoesNothing) {
  TChipSelForm dlg(*chip);
  dlg.show();
  Models(dlg)->clearSelection();
  Find<QPushButton>(dlg, "BitBtnOK")->click();
  EXPECT_TRUE(dlg.isVisible());
  EXPECT_FALSE(dlg.ChipChosen());
  ExpectUnchanged();
  // A model chosen afterwards is taken.
  Models(dlg)->setCurrentRow(2);
  Find<QPushButton>(dlg, "BitBtnOK")->click();
  EXPECT_TRUE(dlg.ChipChosen());
  EXPECT_EQ(chip->ChipName, "SA32B12xx");
}

TEST_F(ChipSelDialog, OkTakesTheMakerWhoseModelsAreShown) {
  TChipSelForm dlg(*chip);
  dlg.show();
  dlg.ShowVendorModels(IndexOf(Maker::Tea));
  EXPECT_EQ(Models(dlg)->count(), 5);
  EXPECT_EQ(Find<QListWidget>(dlg, "ListBoxMFG")->currentRow(), IndexOf(Maker::Tea));
  Models(dlg)->setCurrentRow(3);
  Find<QPushButton>(dlg, "BitBtnOK")->click();
  EXPECT_EQ(chip->Params.ManufacturerIndex, IndexOf(Maker::Tea));
  EXPECT_EQ(chip->ChipName, "TEA32G5800TLF256");
  EXPECT_EQ(chip->Params.Subtype, 3);

  TChipSelForm other(*chip);
  other.show();
  other.ShowVendorModels(200);
  EXPECT_EQ(other.ShownMaker(), IndexOf(Maker::Silergy));
  EXPECT_EQ(Str(Models(other)->item(0)->text()), "SA32B16xx");
}

}  // namespace
}  // namespace qx
