#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <cstdio>

#include "tests/images/ObjectFileFixture.h"
#include "images/ui/ConfigSNForm.h"
#include "images/ui/FormOfsAddr.h"
#include "images/Checksums.h"
#include "tests/support/QtAppEnvironment.h"

namespace qx {
namespace {

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
    dlg = std::make_unique<TConfigSNForm>(*chip, op, log);
    dlg->show();
  }
  MessageLog log{[] { return std::string("12:00:00"); }};
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

// Clicking the area that is already chosen is no change: the address typed stays.
TEST_F(SnDialog, ClickingTheCheckedAreaAgainKeepsTheTypedAddress) {
  struct Case {
    QRadioButton* area;
    const char* typed;
  };
  for (const Case c : {Case{dlg->RadioSnMain, "0x08000123"}, Case{dlg->RadioSnEep, "0x08080040"}}) {
    QTest::mouseClick(c.area, Qt::LeftButton);
    dlg->AddrEditSN->setText(c.typed);
    QTest::mouseClick(c.area, Qt::LeftButton);
    EXPECT_EQ(dlg->AddrEditSN->text(), c.typed);
  }
  QTest::mouseClick(dlg->RadioSnMain, Qt::LeftButton);  // a real change sets the area's start
  EXPECT_EQ(dlg->AddrEditSN->text(), "0x08000000");
}

TEST_F(SnDialog, TextWithACharacterOfNoOneByteFormIsRefused) {
  dlg->EditDataSN->setText(QString::fromUtf8("A\xC3\xA9\xE4\xB8\xAD"));  // A, e acute, a CJK character
  dlg->BitBtnOK->click();
  EXPECT_EQ(dlg->result(), QDialog::Accepted);
  ASSERT_EQ(op.messages.size(), 1u);
  EXPECT_EQ(op.messages[0].text,
            "The character \"\xE4\xB8\xAD\" has no one-byte form and cannot be stored as S/N data!");
  EXPECT_EQ(chip->MainFlashImage[0], 0xFF);
  EXPECT_TRUE(mainRows.empty());
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
  // The data-flash sums follow the write before the view shows it.
  const u32 eepSum = CalcAcc32(chip->EepImage, 0, test::kEepSize - 1);
  EXPECT_EQ(chip->Sums.EepAcc32, eepSum);
  EXPECT_EQ(chip->Sums.EepCheck16, CalcCheck16(chip->EepImage, 0, test::kEepSize - 1));
  char line[64];
  std::snprintf(line, sizeof line, "> 12:00:00 Chip EEP Data ACC32 CheckSum   = 0x%08X", eepSum);
  ASSERT_EQ(log.Lines().size(), 1u);
  EXPECT_EQ(log.Lines()[0], line);

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
