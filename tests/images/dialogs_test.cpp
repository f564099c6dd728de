#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "ObjectFileFixture.h"
#include "images/ui/ConfigSNForm.h"
#include "images/ui/FormOfsAddr.h"

namespace qx {
namespace {

// The application lives from before the first test to after the last one; a static one
// would outlive Qt's own globals at exit.
class QtEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { app_ = std::make_unique<QApplication>(argc_, argv_); }
  void TearDown() override { app_.reset(); }

 private:
  int argc_ = 1;
  char name_[13] = "images_tests";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QApplication> app_;
};

// gtest takes ownership of the environment.
[[maybe_unused]] ::testing::Environment* const qtEnvironment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

class Dialogs : public ::testing::Test {
 protected:
  std::unique_ptr<ChipModel> chip = test::MakeChip();
  test::RecordingOperator op;
};

TEST_F(Dialogs, OfsAddrShowsPresetAndReadsTheEdit) {
  TFormOfsAddr dlg(*chip, op);
  ASSERT_EQ(dlg.findChild<QLineEdit*>("EditOfsAddr"), dlg.EditOfsAddr);
  EXPECT_EQ(dlg.EditOfsAddr->text(), "0x00008000");
  chip->BinOffset = 0x08000000;
  dlg.show();
  EXPECT_EQ(dlg.windowTitle(), "Set Binary Offset Address");
  EXPECT_EQ(dlg.EditOfsAddr->text(), "0x08000000");
  dlg.EditOfsAddr->setText("0x08004000");
  QTest::mouseClick(dlg.findChild<QPushButton*>("BitBtnOK"), Qt::LeftButton);
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
  EXPECT_EQ(chip->BinOffset - chip->Params.MainFlashStart, 0x4000u);
  EXPECT_TRUE(op.messages.empty());
}

TEST_F(Dialogs, OfsAddrBadNumberReportsKeepsPresetAndCloses) {
  TFormOfsAddr dlg(*chip, op);
  chip->BinOffset = 0x08000000;
  dlg.show();
  dlg.EditOfsAddr->setText("0x8000G");
  dlg.BitBtnOK->click();
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
  EXPECT_FALSE(dlg.isVisible());
  EXPECT_EQ(chip->BinOffset, 0x08000000u);
  ASSERT_EQ(op.messages.size(), 1u);
  EXPECT_EQ(op.messages[0].text, "'0x8000G' is not a valid integer value");
}

class SnDialog : public Dialogs {
 protected:
  void SetUp() override {
    Dialogs::SetUp();
    dlg = std::make_unique<TConfigSNForm>(*chip, op);
    dlg->show();
  }
  std::unique_ptr<TConfigSNForm> dlg;
  const std::vector<std::pair<u32, u32>>& mainRows = op.mainHexRows;
  const int& eepRefreshes = op.eepShows;
};

TEST_F(SnDialog, ShowAndAreaChoiceSetTheAddress) {
  EXPECT_EQ(dlg->windowTitle(), "Config S/N Constant");
  EXPECT_EQ(dlg->AddrEditSN->text(), "0x08000000");
  EXPECT_FALSE(dlg->findChild<QCheckBox*>("ChkBoxSNEndin")->isVisible());
  EXPECT_EQ(dlg->AddrEditSN->maxLength(), 10);
  QTest::mouseClick(dlg->RadioSnEep, Qt::LeftButton);
  EXPECT_EQ(dlg->AddrEditSN->text(), "0x08080000");
  QTest::mouseClick(dlg->RadioSnMain, Qt::LeftButton);
  EXPECT_EQ(dlg->AddrEditSN->text(), "0x08000000");
}

TEST_F(SnDialog, AsciiInMainFlashIsUpperCasedAndRefreshesRows) {
  dlg->EditDataSN->setFocus();
  QTest::keyClicks(dlg->EditDataSN, "ab12");
  EXPECT_EQ(dlg->EditDataSN->text(), "AB12");
  dlg->AddrEditSN->setText("0x08000010");
  dlg->BitBtnOK->click();
  EXPECT_EQ(dlg->result(), QDialog::Accepted);
  EXPECT_EQ(chip->MainFlashImage[0x10], 0x41);
  EXPECT_EQ(chip->MainFlashImage[0x13], 0x32);
  ASSERT_EQ(mainRows.size(), 1u);
  EXPECT_EQ(mainRows[0], std::make_pair(0x08000010u, 0x08000020u));
}

TEST_F(SnDialog, HexInDataFlashAtItsEndAndRefusedAboveIt) {
  QTest::mouseClick(dlg->RadioSnEep, Qt::LeftButton);
  dlg->RadioFmHex->setChecked(true);
  dlg->EditDataSN->setText("12 3 ABC");
  dlg->AddrEditSN->setText("$08080FFF");
  dlg->BitBtnOK->click();
  EXPECT_EQ(chip->EepImage[0xFFF], 0x12);
  EXPECT_EQ(chip->EepImage[0x1001], 0xBC);
  EXPECT_EQ(eepRefreshes, 1);

  dlg->show();  // opening again keeps text and format, resets the area
  EXPECT_EQ(dlg->EditDataSN->text(), "12 3 ABC");
  EXPECT_TRUE(dlg->RadioFmHex->isChecked());
  EXPECT_TRUE(dlg->RadioSnMain->isChecked());
  QTest::mouseClick(dlg->RadioSnEep, Qt::LeftButton);
  dlg->AddrEditSN->setText("0x08081000");
  dlg->EditDataSN->setText("77");
  dlg->BitBtnOK->click();
  EXPECT_EQ(dlg->result(), QDialog::Accepted);
  ASSERT_EQ(op.messages.size(), 1u);
  EXPECT_EQ(op.messages[0].text, "Address is out of Chip Memory!");
  EXPECT_EQ(chip->EepImage[0x1000], 0x03);
  EXPECT_EQ(eepRefreshes, 1);
}

TEST_F(SnDialog, EmptyDataKeepsTheDialogOpenAndBadAddressIsReported) {
  dlg->EditDataSN->clear();
  dlg->BitBtnOK->click();
  EXPECT_TRUE(dlg->isVisible());
  ASSERT_EQ(op.messages.size(), 1u);
  EXPECT_EQ(op.messages[0].text, "Please input valid Serial No. Data!");

  dlg->EditDataSN->setText("A");
  dlg->AddrEditSN->setText("hello");
  dlg->BitBtnOK->click();
  EXPECT_FALSE(dlg->isVisible());
  ASSERT_EQ(op.messages.size(), 2u);
  EXPECT_EQ(op.messages[1].text, "'hello' is not a valid integer value");
  EXPECT_TRUE(mainRows.empty());
}

}  // namespace
}  // namespace qx
