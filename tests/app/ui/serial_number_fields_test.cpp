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

// Numbers refused before anything is sent: a gain of 0 (every chip the same number) and a
// value beyond its field (which, cut, would be another number). No chip: the chip guard
// speaks first, whatever the S/N address.
TEST_F(SerialNumberFields, AutoRefusesAGainOfZeroAndNumbersBeyondTheirFieldsBeforeAnyUnitStarts) {
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
      {"gain 0", "0x00000001", "0", "0x08001000", true,
       "The S/N increment is 0: every chip would get the same number! Set an increment of at least 1."},
      {"gain 0x0", "0x00000001", "0x0", "0x08001000", true,
       "The S/N increment is 0: every chip would get the same number! Set an increment of at least 1."},
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
  // A gain of 1 goes through.
  Model().ChipSelected = 1;
  AutoWith("0x00000001", "1", "0x08001000");
  EXPECT_TRUE(rig.boxes.empty()) << BoxTexts().front();
  for (std::size_t k = 0; k < 2; ++k) EXPECT_GT(Commands(k), 0u) << k;
}

}  // namespace
}  // namespace qx::test
