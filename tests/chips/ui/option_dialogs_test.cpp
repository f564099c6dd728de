#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>

#include "tests/chips/ChipTestSupport.h"
#include "tests/chips/ui/DialogTestSupport.h"
#include "chips/ChipSelect.h"
#include "chips/ui/AC784xOpbFrm.h"
#include "chips/ui/AC78xOptBForm.h"
#include "chips/ui/AUCUxCfgForm.h"
#include "chips/ui/CfgLCMPxOptForm.h"
#include "chips/ui/CfgSPD117xFRM.h"
#include "chips/ui/SlgyCfgFrm.h"
#include "tests/support/RecordingOperator.h"

namespace qx {
namespace {

using test::Find;
using test::Str;

class OptionDialog : public ::testing::Test {
 protected:
  void Select(Maker maker, std::string_view name) {
    SelectChip(*chip, IndexOf(maker), name, 0);
    defaults = chip->OptionImage;
  }
  void Click(const QDialog& dlg, const char* button) {
    QTest::mouseClick(Find<QPushButton>(dlg, button), Qt::LeftButton);
  }

  std::unique_ptr<ChipModel> chip = test::FreshModel();
  std::array<u8, OptionImageSize> defaults{};
  test::RecordingOperator op;
};

TEST_F(OptionDialog, AC78xShowsTheImageCancelsAndWritesEdits) {
  Select(Maker::AutoChip, "AC78013xDxx");
  {
    TAC78xOptBForm dlg(*chip, op);
    dlg.show();
    EXPECT_EQ(Str(dlg.windowTitle()), "Config Data Wizard --- AC78013xDxx");
    EXPECT_EQ(Find<QComboBox>(dlg, "ComBoxROP")->currentIndex(), 0);
    EXPECT_EQ(Str(Find<QLabel>(dlg, "PanelROP")->text()), "0xFFAC");
    EXPECT_EQ(Str(Find<QLabel>(dlg, "PanelWDT")->text()), "0xFFFF");
    for (const char* name : {"EditERP0", "EditERP1", "EditERP2", "EditERP3", "EditUSER0", "EditUser1"}) {
      EXPECT_EQ(Str(Find<QLineEdit>(dlg, name)->text()), "0xFFFF") << name;
    }
    Find<QComboBox>(dlg, "ComBoxROP")->setCurrentIndex(1);
    EXPECT_EQ(Str(Find<QLabel>(dlg, "PanelROP")->text()), "0xFF00");
    Click(dlg, "BitBtnNG");
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
  }
  EXPECT_EQ(chip->OptionImage, defaults);
  EXPECT_EQ(chip->OptionsChanged, 0);

  TAC78xOptBForm dlg(*chip, op);
  dlg.show();
  Find<QComboBox>(dlg, "ComBoxWDT")->setCurrentIndex(1);
  EXPECT_EQ(Str(Find<QLabel>(dlg, "PanelWDT")->text()), "0xFF33");
  Find<QLineEdit>(dlg, "EditERP0")->setText("0x1234");
  Click(dlg, "BitBtnOK");
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
  EXPECT_EQ(chip->OptionImage[4], 0x33);
  EXPECT_EQ(chip->OptionImage[6], 0xCC);
  EXPECT_EQ(chip->OptionImage[8], 0x34);
  EXPECT_EQ(chip->OptionImage[11], 0xED);
  EXPECT_EQ(chip->OptionsChanged, 1);
  EXPECT_TRUE(op.messages.empty());
}

TEST_F(OptionDialog, AC78xBadFieldKeepsTheDialogOpenAndTheImage) {
  Select(Maker::AutoChip, "AC7811QJxx");
  TAC78xOptBForm dlg(*chip, op);
  dlg.show();
  Find<QComboBox>(dlg, "ComBoxROP")->setCurrentIndex(1);
  Find<QLineEdit>(dlg, "EditERP0")->setText("0x1234");
  QLineEdit* bad = Find<QLineEdit>(dlg, "EditERP2");
  bad->setText("0x12G4");
  Click(dlg, "BitBtnOK");
  EXPECT_TRUE(dlg.isVisible());
  ASSERT_EQ(op.messages.size(), 1u);
  EXPECT_EQ(op.messages[0].text, "'0x12G4' is not a valid integer value");
  EXPECT_EQ(dlg.focusWidget(), bad);
  EXPECT_EQ(chip->OptionImage, defaults);
  EXPECT_EQ(chip->OptionsChanged, 0);
  // Mended, the same OK goes through.
  bad->setText("0x0001");
  Click(dlg, "BitBtnOK");
  EXPECT_FALSE(dlg.isVisible());
  EXPECT_EQ(chip->OptionImage[0], 0x00);
  EXPECT_EQ(chip->OptionImage[16], 0x01);
}

TEST_F(OptionDialog, AC784xShowsTheImageCancelsAndWrites) {
  Select(Maker::AutoChip, "AC78409xGxx");
  chip->OptionsChanged = 1;
  {
    TAC784xOpbFrm dlg(*chip, op);
    dlg.show();
    EXPECT_EQ(Str(dlg.windowTitle()), "Config Data Wizard --- AC78409xGxx");
    EXPECT_FALSE(Find<QCheckBox>(dlg, "ChkBoxROP4X")->isChecked());
    EXPECT_EQ(Str(Find<QLineEdit>(dlg, "EditPWRP1")->text()), "0xFFFF");
    EXPECT_EQ(Str(Find<QLineEdit>(dlg, "EditPWRP2")->text()), "0xFFFF");
    EXPECT_EQ(Str(Find<QLineEdit>(dlg, "EditDWRP")->text()), "0xFF");
    EXPECT_EQ(Find<QLineEdit>(dlg, "EditPWRP1")->maxLength(), 6);
    EXPECT_EQ(Find<QLineEdit>(dlg, "EditDWRP")->maxLength(), 4);
    Find<QCheckBox>(dlg, "ChkBoxROP4X")->setChecked(true);
    Click(dlg, "BitBtnNG");
  }
  EXPECT_EQ(chip->OptionImage, defaults);
  EXPECT_EQ(chip->OptionsChanged, 1);

  TAC784xOpbFrm dlg(*chip, op);
  dlg.show();
  Find<QLineEdit>(dlg, "EditDWRP")->setText("$7");
  Find<QLineEdit>(dlg, "EditPWRP2")->setText("-");
  Click(dlg, "BitBtnOK");
  EXPECT_TRUE(dlg.isVisible());
  ASSERT_EQ(op.messages.size(), 1u);
  EXPECT_EQ(op.messages[0].text, "'-' is not a valid integer value");
  EXPECT_EQ(chip->OptionImage, defaults);
  Find<QLineEdit>(dlg, "EditPWRP2")->setText("0xFFFF");
  Click(dlg, "BitBtnOK");
  EXPECT_FALSE(dlg.isVisible());
  EXPECT_EQ(chip->OptionImage[132], 0x07);
  EXPECT_EQ(chip->OptionsChanged, 1);
}

TEST_F(OptionDialog, AucuShowsLockedBoxesCancelsAndWrites) {
  Select(Maker::Aucu, "AU301LDF51xx");
  chip->OptionImage[20] = 0xFE;
  {
    TAUCUxCfgForm dlg(*chip);
    dlg.show();
    EXPECT_EQ(Str(dlg.windowTitle()), "Config Setting ");
    EXPECT_TRUE(Find<QCheckBox>(dlg, "ChkBoxDnJTAG")->isChecked());
    EXPECT_FALSE(Find<QCheckBox>(dlg, "ChkBoxDnJTAG")->isEnabled());
    EXPECT_FALSE(Find<QCheckBox>(dlg, "ChkBoxDnRGN1")->isEnabled());
    for (const char* name : {"ChkBoxLFC", "ChkBoxDnURT0", "ChkBoxDnURT1", "ChkBoxDnURT2", "ChkBoxDnBOT"}) {
      EXPECT_FALSE(Find<QCheckBox>(dlg, name)->isChecked()) << name;
      EXPECT_TRUE(Find<QCheckBox>(dlg, name)->isEnabled()) << name;
    }
    Find<QCheckBox>(dlg, "ChkBoxDnURT1")->setChecked(true);
    Click(dlg, "BitBtn1");
  }
  EXPECT_EQ(chip->OptionImage[16], 0xFF);
  EXPECT_EQ(chip->OptionImage[20], 0xFE);
  EXPECT_EQ(chip->OptionsChanged, 0);

  TAUCUxCfgForm dlg(*chip);
  dlg.show();
  Find<QCheckBox>(dlg, "ChkBoxDnURT1")->click();
  Click(dlg, "BitBtn2");
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
  EXPECT_EQ(chip->OptionImage[16], 0xFD);
  EXPECT_EQ(chip->OptionImage[20], 0xFF);
  EXPECT_EQ(chip->OptionsChanged, 1);
}

TEST_F(OptionDialog, LcmpOpeningAndCancelKeepTheFlagAndOkWritesTheControls) {
  Select(Maker::Lcm, "LCM32F037K8xx");
  chip->OptionsChanged = 1;  // a project asks for option programming
  {
    TCfgLCMPxOptForm dlg(*chip);
    dlg.show();
    EXPECT_EQ(chip->OptionsChanged, 1);
    EXPECT_EQ(Str(dlg.windowTitle()), "LCM32F037K8xx Option Byte Setup");
    EXPECT_EQ(Find<QComboBox>(dlg, "ComBoxBOT0")->currentIndex(), 1);
    EXPECT_EQ(Find<QComboBox>(dlg, "ComBoxBTSEL")->currentIndex(), 0);
    EXPECT_EQ(Find<QComboBox>(dlg, "ComBoxWDG")->currentIndex(), 1);
    EXPECT_EQ(Find<QSpinBox>(dlg, "SpinEditDAT1")->value(), 255);
    EXPECT_EQ(Find<QTabWidget>(dlg, "PageControl1")->count(), 4);
    EXPECT_EQ(Str(Find<QTabWidget>(dlg, "PageControl1")->tabText(2)), "WRP2 写保护");
    for (int n = 0; n < 4; ++n) {
      for (int k = 0; k < 8; ++k) {
        const std::string name = "ChkBoxWRP" + std::to_string(n) + std::to_string(k);
        EXPECT_FALSE(Find<QCheckBox>(dlg, name.c_str())->isChecked()) << name;
      }
    }
    for (const char* name : {"ComBoxRDP0", "ComBoxRDP9", "ComBoxRDPA", "ComBoxRDPB"}) {
      ASSERT_EQ(Find<QComboBox>(dlg, name)->count(), 2) << name;
      EXPECT_EQ(Find<QComboBox>(dlg, name)->currentIndex(), 1) << name;
    }
    Find<QCheckBox>(dlg, "ChkBoxWRP00")->setChecked(true);
    Click(dlg, "BitBtnNG");
  }
  EXPECT_EQ(chip->OptionsChanged, 1);
  EXPECT_EQ(chip->OptionImage, defaults);

  TCfgLCMPxOptForm dlg(*chip);
  dlg.show();
  Find<QCheckBox>(dlg, "ChkBoxWRP00")->setChecked(true);
  Find<QSpinBox>(dlg, "SpinEditDAT0")->setValue(0x12);
  for (const char* s : {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "A", "B"}) {
    Find<QComboBox>(dlg, (std::string("ComBoxRDP") + s).c_str())->setCurrentIndex(0);
  }
  Click(dlg, "BitBtnOK");
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
  EXPECT_EQ(chip->OptionImage[2], 0x12);
  EXPECT_EQ(chip->OptionImage[3], 0xED);
  EXPECT_EQ(chip->OptionImage[8], 0xFE);
  EXPECT_EQ(chip->OptionImage[9], 0x01);
  EXPECT_EQ(chip->OptionImage[16], 0xAA);
  EXPECT_EQ(chip->OptionImage[39], 0x55);
  EXPECT_EQ(chip->OptionsChanged, 1);
}

TEST_F(OptionDialog, LcmpDataFieldsHoldOneByte) {
  Select(Maker::Lcm, "LCP037BTxxx");
  TCfgLCMPxOptForm dlg(*chip);
  dlg.show();
  QSpinBox* data = Find<QSpinBox>(dlg, "SpinEditDAT2");
  data->setValue(256);
  EXPECT_EQ(data->value(), 255);
  data->setValue(-1);
  EXPECT_EQ(data->value(), 0);
}

TEST_F(OptionDialog, SilergyProtectionCancelsAndWritesProtectBits) {
  Select(Maker::Silergy, "SA32B16xx");
  chip->ProtectBits = 2;
  {
    TSlgyCfgFrm dlg(*chip);
    dlg.show();
    EXPECT_EQ(Str(dlg.windowTitle()), "Silergy Chip Protection Setup");
    EXPECT_FALSE(Find<QCheckBox>(dlg, "ChkBoxSWDRD")->isChecked());
    EXPECT_TRUE(Find<QCheckBox>(dlg, "ChkBoxCpuRD")->isChecked());
    EXPECT_FALSE(Find<QCheckBox>(dlg, "ChkBoxDisCNT")->isEnabled());
    EXPECT_FALSE(Find<QCheckBox>(dlg, "ChkBoxDnERS")->isEnabled());
    Find<QCheckBox>(dlg, "ChkBoxCpuRD")->setChecked(false);
    Click(dlg, "BitBtn1");
  }
  EXPECT_EQ(chip->ProtectBits, 2);
  EXPECT_EQ(chip->OptionsChanged, 0);

  TSlgyCfgFrm dlg(*chip);
  dlg.show();
  Find<QCheckBox>(dlg, "ChkBoxSWDRD")->setChecked(true);
  Click(dlg, "BitBtn2");
  EXPECT_EQ(chip->ProtectBits, 3);
  EXPECT_EQ(chip->OptionsChanged, 1);
}

TEST_F(OptionDialog, Spd117xHasOnlyOkAndTheCloseBoxChangesNothing) {
  Select(Maker::Spintrol, "SPD1179DPW48");
  {
    TCfgSPD117xFRM dlg(*chip);
    dlg.show();
    EXPECT_EQ(Str(dlg.windowTitle()), "SPD117x Chip Configuration");
    EXPECT_EQ(Str(Find<QCheckBox>(dlg, "ChkBoxLckCP")->text()), "Lock Chip Debug Interface");
    EXPECT_EQ(dlg.findChildren<QPushButton*>().size(), 1);
    Find<QCheckBox>(dlg, "ChkBoxLckCP")->setChecked(true);
    QTest::keyClick(&dlg, Qt::Key_Escape);
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
  }
  EXPECT_EQ(chip->OptionImage, defaults);

  TCfgSPD117xFRM dlg(*chip);
  dlg.show();
  Find<QCheckBox>(dlg, "ChkBoxEnWDT")->setChecked(true);
  Click(dlg, "BitBtnOK");
  EXPECT_EQ(chip->OptionImage[4], 0x33);
  EXPECT_EQ(chip->OptionImage[7], 0x33);
  EXPECT_EQ(chip->OptionImage[0], 0xFF);
  EXPECT_EQ(chip->OptionsChanged, 0);
}

}  // namespace
}  // namespace qx
