// The read-address dialog: what it shows when opened, what OK stores, and that any other
// close or a bad address leaves the previous values.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include "tests/app/AppTestSupport.h"
#include "tests/support/QtAppEnvironment.h"
#include "app/ReadAddress.h"
#include "app/ui/SetAddressForm.h"
#include "base/Errors.h"

namespace qx {
namespace {

TEST(ReadAddressRule, LengthLimitsAndStartAlignment) {
  struct Case {
    std::optional<int> value;
    u16 stored;
  } cases[] = {{100, 100}, {2000, 1024}, {8, 16}, {std::nullopt, 16}, {1024, 1024}, {16, 16}, {-5, 16}};
  for (const Case& c : cases) EXPECT_EQ(ReadLengthOf(c.value), c.stored) << c.value.value_or(-1);

  ChipModel chip;
  StoreReadAddress(chip, " 0x20000005", 100);
  EXPECT_EQ(chip.ReadStart, 0x20000000u);
  EXPECT_EQ(chip.ReadLength, 100);
  EXPECT_EQ(ReadStartText(chip), "0x20000000");
  EXPECT_THROW(StoreReadAddress(chip, "0x2000000G", 512), EConvertError);
  EXPECT_EQ(chip.ReadStart, 0x20000000u);
  EXPECT_EQ(chip.ReadLength, 100);
}

class ReadAddressDialog : public ::testing::Test {
 protected:
  ChipModel chip;
  test::RecordingOperator op;
};

TEST_F(ReadAddressDialog, FirstUseShowsTheStartUpValuesAndOkKeepsThem) {
  TSetAddressForm dlg(chip, op);
  EXPECT_EQ(dlg.objectName(), "SetAddressForm");
  for (const char* name : {"LabelAD", "EditAddr", "LabelLL", "SpinEditRD", "BitBtnOK"}) {
    EXPECT_NE(dlg.findChild<QWidget*>(name), nullptr) << name;
  }
  dlg.show();
  EXPECT_EQ(dlg.windowTitle(), "Specify Read Address");
  EXPECT_EQ(dlg.LabelAD->text(), "Set the Start Read Address: ");
  EXPECT_EQ(dlg.LabelLL->text(), "Set the Length to be read: ");
  EXPECT_EQ(dlg.EditAddr->text(), "0x00000000");
  EXPECT_EQ(dlg.SpinEditRD->value(), 64);
  EXPECT_EQ(dlg.SpinEditRD->maximum(), 1024);
  EXPECT_EQ(dlg.SpinEditRD->minimum(), 16);
  EXPECT_EQ(dlg.SpinEditRD->singleStep(), 16);
  EXPECT_EQ(dlg.BitBtnOK->text(), "OK");
  QTest::mouseClick(dlg.BitBtnOK, Qt::LeftButton);
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
  EXPECT_FALSE(dlg.isVisible());
  EXPECT_EQ(chip.ReadStart, 0u);
  EXPECT_EQ(chip.ReadLength, 64);
  EXPECT_TRUE(op.messages.empty());
}

TEST_F(ReadAddressDialog, OkStoresTheTypedValues) {
  TSetAddressForm dlg(chip, op);
  dlg.show();
  dlg.EditAddr->clear();
  QTest::keyClicks(dlg.EditAddr, "0x20000005");
  dlg.SpinEditRD->selectAll();
  QTest::keyClicks(dlg.SpinEditRD, "100");
  dlg.BitBtnOK->click();
  EXPECT_EQ(chip.ReadStart, 0x20000000u);
  EXPECT_EQ(chip.ReadLength, 100);

  TSetAddressForm again(chip, op);  // a new dialog each time shows the stored values
  again.show();
  EXPECT_EQ(again.EditAddr->text(), "0x20000000");
  EXPECT_EQ(again.SpinEditRD->value(), 100);
}

TEST_F(ReadAddressDialog, BadAddressIsReportedClosesAndKeepsBothValues) {
  chip.ReadStart = 0x100;
  chip.ReadLength = 32;
  TSetAddressForm dlg(chip, op);
  dlg.show();
  dlg.EditAddr->setText("0x1000z");
  dlg.SpinEditRD->setValue(512);
  dlg.BitBtnOK->click();
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
  EXPECT_FALSE(dlg.isVisible());
  ASSERT_EQ(op.messages.size(), 1u);
  EXPECT_EQ(op.messages[0].text, "'0x1000z' is not a valid integer value");
  EXPECT_EQ(chip.ReadStart, 0x100u);
  EXPECT_EQ(chip.ReadLength, 32);
}

TEST_F(ReadAddressDialog, ClosingWithoutOkStoresNothing) {
  TSetAddressForm dlg(chip, op);
  dlg.show();
  dlg.EditAddr->setText("0x300");
  dlg.SpinEditRD->setValue(256);
  QTest::keyClick(&dlg, Qt::Key_Escape);
  EXPECT_EQ(dlg.result(), QDialog::Rejected);
  EXPECT_FALSE(dlg.isVisible());
  EXPECT_EQ(chip.ReadStart, 0u);
  EXPECT_EQ(chip.ReadLength, 64);
}

}  // namespace
}  // namespace qx
