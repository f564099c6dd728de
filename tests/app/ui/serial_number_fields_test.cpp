// The "S/N Set" page's number fields in the window: what the operator can type into them,
// what code may show there, and the on-line numbers the Auto command refuses before any
// unit is sent anything.
#include <gtest/gtest.h>

#include <QTest>

#include "tests/app/ui/WindowJobFixture.h"

namespace qx::test {
namespace {

using W = TGenMFrmARM;
constexpr const char* kAutoChip = "AC78016xBxx";  // 32 KiB at 0x08000000

class SerialNumberFields : public WindowJob {
 protected:
  // On-line numbers on, fields as given; Auto, then every unit idle again.
  void AutoWith(const char* value, const char* gain, const char* address) {
    Control<QCheckBox>("CheckBoxSN").click();
    Check("ChkBoxPCSN");
    SetText("SNEdit1", value);
    SetText("GainEdit", gain);
    SetText("AddrEdit", address);
    rig.boxes.clear();
    Click(&W::AutoSpdBtnClick);
    ASSERT_TRUE(Idle());
  }
  // Requests each unit received besides its probes.
  u32 Commands(std::size_t k) const { return rig.sim->Stats(k).Requests - rig.sim->Stats(k).Probes; }
};

// Typing stops at 10, 4 and 10 characters; text shown by code is never cut, may be
// shortened, and takes nothing more typed while too long.
TEST_F(SerialNumberFields, TypingStopsAtTheDesignedLengthsAndTextSetByCodeStands) {
  Start(1, Maker::AutoChip, kAutoChip);
  Control<QCheckBox>("CheckBoxSN").click();
  const struct {
    const char* edit;
    const char* typed;
    const char* shown;
  } typing[] = {
      {"SNEdit1", "0x123456789", "0x12345678"},
      {"GainEdit", "0x10000", "0x10"},
      {"AddrEdit", "0x080010001", "0x08001000"},
      {"GainEdit", "12", "12"},
      {"GainEdit", "0x1001234", "0x10"},  // each refused key leaves the limit as it was
  };
  for (const auto& t : typing) {
    SCOPED_TRACE(t.edit + std::string(" ") + t.typed);
    auto& edit = Control<QLineEdit>(t.edit);
    edit.setText("");
    edit.setFocus();
    QTest::keyClicks(&edit, t.typed);
    EXPECT_EQ(edit.text().toStdString(), t.shown);
  }
  auto& gain = Control<QLineEdit>("GainEdit");
  gain.setText("65535");  // a project's gain, shown in decimal
  EXPECT_EQ(gain.text(), "65535");
  gain.setCursorPosition(5);
  QTest::keyClicks(&gain, "1");
  EXPECT_EQ(gain.text(), "65535");
  QTest::keyClick(&gain, Qt::Key_Backspace);
  EXPECT_EQ(gain.text(), "6553");
}

// Numbers refused before anything is sent: a value beyond its field (which, cut, would be
// another number). No chip: the chip guard speaks first, whatever the S/N address.
TEST_F(SerialNumberFields, AutoRefusesNumbersBeyondTheirFieldsBeforeAnyUnitStarts) {
  Start(2, Maker::AutoChip, kAutoChip);
  Job(5);
  const struct {
    const char* name;
    const char* value;
    const char* gain;
    const char* address;
    bool chip;
    std::string box;
  } cases[] = {
      {"gain beyond 16 bits", "0x00000001", "65536", "0x08001000", true,
       "'65536' is not in the range 0 .. 0x0000FFFF!"},
      {"value beyond 32 bits", "4294967296", "1", "0x08001000", true,
       "'4294967296' is not in the range 0 .. 0xFFFFFFFF!"},
      {"no chip, address outside", "0x00000001", "1", "0x00000010", false, "Please select chip type first!"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Model().ChipSelected = c.chip ? 1 : 0;
    AutoWith(c.value, c.gain, c.address);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{c.box});
    for (std::size_t k = 0; k < 2; ++k) EXPECT_EQ(Commands(k), 0u) << k;
    EXPECT_EQ(Control<QLineEdit>("GainEdit").text(), c.gain) << "never cut";
    Control<QCheckBox>("CheckBoxSN").click();  // off again for the next case
  }
}

// An increment of 0 gives every chip the number as typed, which a line may want: the units
// are programmed with it and the number on screen stays. Other increments number the units
// one after the other.
TEST_F(SerialNumberFields, AutoTakesAnyIncrementThatFitsItsFieldAGainOfZeroIncluded) {
  Start(2, Maker::AutoChip, kAutoChip);
  Job(5);
  const struct {
    const char* gain;
    std::array<u8, 2> lastBytes;  // the big-endian numbers' low bytes on units 1 and 2
    const char* next;
  } cases[] = {
      {"0", {0x41, 0x41}, "0x00000041"},
      {"0x0", {0x41, 0x41}, "0x00000041"},
      {"1", {0x41, 0x42}, "0x00000043"},
      {"0x10", {0x41, 0x51}, "0x00000061"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.gain);
    const u32 before[] = {Commands(0), Commands(1)};
    AutoWith("0x00000041", c.gain, "0x08001000");
    EXPECT_TRUE(rig.boxes.empty()) << BoxTexts().front();
    for (u8 k = 0; k < 2; ++k) {
      EXPECT_GT(Commands(k), before[k]) << k;
      EXPECT_EQ(ChipMain(k, 0x1000, 4), (std::vector<u8>{0x00, 0x00, 0x00, c.lastBytes[k]})) << k;
    }
    EXPECT_EQ(Control<QLineEdit>("SNEdit1").text().toStdString(), c.next);
    Control<QCheckBox>("CheckBoxSN").click();  // off again for the next case
  }
}

}  // namespace
}  // namespace qx::test
