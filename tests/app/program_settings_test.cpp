// The window's settings reach the chip-control, timing and serial-number bytes as the
// controls show them; family bits stay; a bad number text stops at its conversion.
#include <gtest/gtest.h>

#include <functional>
#include <ostream>

#include "tests/app/AppTestSupport.h"
#include "app/ProgramSettings.h"
#include "base/Errors.h"

namespace qx {
namespace {

struct ControlBytesCase {
  const char* name;
  u8 maker;
  ChipControl before;
  std::function<void(ProgramControls&)> set;
  ChipControl after;  // PowerOnTime is not compared here
  u8 programEep;
  u8 programOptionBytes;
  u8 protectBits;
};
// Cases print as their name, not as their bytes.
void PrintTo(const ControlBytesCase& c, std::ostream* os) { *os << c.name; }

ChipControl Bytes(u8 interfaceFlags, u8 power, u8 reset, u8 program, u8 erase) {
  ChipControl c;
  c.InterfaceFlags = interfaceFlags;
  c.PowerFlags = power;
  c.ResetFlags = reset;
  c.ProgramFlags = program;
  c.EraseFlags = erase;
  return c;
}

class ControlBytes : public ::testing::TestWithParam<ControlBytesCase> {};

TEST_P(ControlBytes, FollowTheControls) {
  const ControlBytesCase& c = GetParam();
  auto chip = test::ChosenChip();
  chip->Params.ManufacturerIndex = c.maker;
  chip->Control = c.before;
  chip->Control.ExtControl1 = 0x5A;
  ProgramControls controls;
  if (c.set) c.set(controls);
  MessageLog log = test::FixedClockLog();
  CollectProgramSettings(controls, *chip, log);
  const ChipControl& got = chip->Control;
  EXPECT_EQ(got.InterfaceFlags, c.after.InterfaceFlags);
  EXPECT_EQ(got.PowerFlags, c.after.PowerFlags);
  EXPECT_EQ(got.ResetFlags, c.after.ResetFlags);
  EXPECT_EQ(got.ProgramFlags, c.after.ProgramFlags);
  EXPECT_EQ(got.EraseFlags, c.after.EraseFlags);
  EXPECT_EQ(got.ExtControl1, 0x5A);
  EXPECT_EQ(chip->ProgramEep, c.programEep);
  EXPECT_EQ(chip->ProgramOptionBytes, c.programOptionBytes);
  EXPECT_EQ(chip->ProtectBits, c.protectBits);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, ControlBytes,
    ::testing::Values(
        ControlBytesCase{"design_state", 0, Bytes(0, 0, 0, 0, 0), nullptr, Bytes(0x00, 0x01, 0x80, 0x17, 0x01), 0, 0,
                         0},
        ControlBytesCase{"data_flash_and_options", 0, Bytes(0, 0, 0, 0, 0),
                         [](ProgramControls& c) { c.ChkBoxPrgEEP = c.CheckBoxOpt = true; },
                         Bytes(0x00, 0x01, 0x80, 0x7F, 0x01), 1, 1, 0},
        ControlBytesCase{"silergy_options_without_protection", 10, Bytes(0, 0, 0, 0, 0),
                         [](ProgramControls& c) { c.CheckBoxOpt = true; }, Bytes(0x00, 0x01, 0x80, 0x17, 0x01), 0, 0,
                         0},
        ControlBytesCase{"silergy_protection", 10, Bytes(0, 0, 0, 0, 0),
                         [](ProgramControls& c) { c.ChkBoxRDP = true; }, Bytes(0x00, 0x01, 0x80, 0x57, 0x01), 0, 1, 3},
        ControlBytesCase{"meiren_interface_on", 4, Bytes(0x80, 0, 0, 0, 0),
                         [](ProgramControls& c) { c.RadioGroupPIF = 1; }, Bytes(0x81, 0x01, 0x80, 0x17, 0x01), 0, 0, 0},
        ControlBytesCase{"meiren_interface_off", 4, Bytes(0x81, 0, 0, 0, 0), nullptr,
                         Bytes(0x80, 0x01, 0x80, 0x17, 0x01), 0, 0, 0},
        // The group is hidden for other makers: the family's bit 0 stays either way.
        ControlBytesCase{"hidden_interface_keeps_family_bit_set", 1, Bytes(0x81, 0, 0, 0, 0), nullptr,
                         Bytes(0x81, 0x01, 0x80, 0x17, 0x01), 0, 0, 0},
        ControlBytesCase{"hidden_interface_keeps_family_bit_clear", 0, Bytes(0x80, 0, 0, 0, 0),
                         [](ProgramControls& c) { c.RadioGroupPIF = 1; }, Bytes(0x80, 0x01, 0x80, 0x17, 0x01), 0, 0,
                         0},
        ControlBytesCase{"every_box_and_family_bits", 0, Bytes(0x8A, 0x80, 0x40, 0xFF, 0x90),
                         [](ProgramControls& c) {
                           c.RadioGpVolt = -1;
                           c.ChkBoxBlkEr = true;
                           c.RadioGrpRST = 2;
                           c.ChkBoxVDD = true;
                           c.CheckBoxRun = true;
                           c.ChkBoxCpErsM = true;
                           c.ChkBoxErsEEP = true;
                           c.RadioGrpSpdF = 1;
                           c.ChkBoxRunSHT = true;
                         },
                         Bytes(0xBA, 0x8A, 0x46, 0x17, 0x92), 0, 0, 0}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(CollectProgramSettings, TimingAndSerialNumberFields) {
  auto chip = test::ChosenChip();
  chip->Params.BlankIsZero = 1;
  ProgramControls c;
  c.SpinEditIn = 520;
  c.SpinEditOut = 1500;
  c.SpinEditVddTim = 100;
  c.SpinEditPWDTim = 2000;
  c.SpinEditRTM = 1990;
  c.ChkBoxAuto = true;
  c.CheckBoxCtrl = true;
  c.CheckBoxSN = true;
  c.SNOrderChk = true;
  c.SpinEditNum = 999999999;
  c.GainEdit = "65535";
  c.SNEdit1 = "4294967295";
  c.AddrEdit = "$0800FFF0";
  c.EditDevAdr = "0x1A5";
  MessageLog log = test::FixedClockLog();
  CollectProgramSettings(c, *chip, log);
  EXPECT_EQ(chip->Timing.ChipInStableTime, 17);
  EXPECT_EQ(chip->Timing.ChipOutStableTime, 50);
  EXPECT_EQ(chip->Control.PowerOnTime, 10);
  EXPECT_EQ(chip->Timing.PowerDownTime, 200);
  EXPECT_EQ(chip->Timing.RunShutTime, 199);
  EXPECT_EQ(chip->Timing.AutoStartCode, 15);
  EXPECT_EQ(chip->Control.PowerFlags & 0x10, 0x10);
  EXPECT_EQ(chip->Sn.SnFlags, 0x45);
  EXPECT_EQ(chip->Sn.SnMaxCount, 999999999u);
  EXPECT_EQ(chip->Sn.SnLength, 4);
  EXPECT_EQ(chip->Sn.SnGain, 0xFFFF);
  EXPECT_EQ(chip->Sn.SnValue, 0xFFFFFFFFu);
  EXPECT_EQ(chip->Sn.SnAddress, 0x0800FFF0u);
  EXPECT_EQ(chip->DeviceAddress, 0xA5);

  c.ChkBoxAuto = c.CheckBoxCtrl = c.CheckBoxSN = c.SNOrderChk = false;
  c.SNEdit1 = "123";
  CollectProgramSettings(c, *chip, log);
  EXPECT_EQ(chip->Timing.AutoStartCode, 0);
  EXPECT_EQ(chip->Sn.SnFlags, 0x00);
  EXPECT_EQ(chip->Sn.SnValue, 123u);
}

TEST(CollectProgramSettings, LogsTheControlBytesAsOnePlainLine) {
  auto chip = test::ChosenChip();
  chip->Params.FamilyCode = 0x14;
  chip->Params.OptionCode = 1;
  chip->Params.DownloadSize = 0x8000;
  chip->Control.InterfaceFlags = 0x80;
  ProgramControls c;
  c.RadioGpVolt = 0;
  MessageLog log = test::FixedClockLog();
  CollectProgramSettings(c, *chip, log);
  ASSERT_EQ(log.Lines().size(), 1u);
  EXPECT_EQ(log.Lines()[0], "> Chip Control Settting : 14,00,01, 00,00,8000, 80,00,80, 17,01,00, 00,00.");

  chip->Params.DownloadSize = 0x20000;  // more digits than four when needed
  chip->Control.ExtControl3 = 0xAB;
  CollectProgramSettings(c, *chip, log);
  EXPECT_EQ(log.Lines()[1], "> Chip Control Settting : 14,00,01, 00,00,20000, 80,00,80, 17,01,00, 00,AB.");
}

struct BadTextCase {
  const char* name;
  std::function<void(ProgramControls&)> spoil;
  bool gainNew, valueNew, addressNew;
};
// Cases print as their name, not as their bytes.
void PrintTo(const BadTextCase& c, std::ostream* os) { *os << c.name; }

class BadNumberText : public ::testing::TestWithParam<BadTextCase> {};

TEST_P(BadNumberText, StopsAtItsConversionWithoutALogLine) {
  const BadTextCase& t = GetParam();
  auto chip = test::ChosenChip();
  chip->Sn.SnGain = 7;
  chip->Sn.SnValue = 7;
  chip->Sn.SnAddress = 7;
  chip->DeviceAddress = 7;
  ProgramControls c;
  c.ChkBoxPrgEEP = true;
  c.SpinEditIn = 300;
  c.GainEdit = "2";
  c.SNEdit1 = "3";
  c.AddrEdit = "4";
  c.EditDevAdr = "5";
  t.spoil(c);
  MessageLog log = test::FixedClockLog();
  try {
    CollectProgramSettings(c, *chip, log);
    FAIL() << "no conversion error";
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.what(), "'1 2' is not a valid integer value");
  }
  EXPECT_EQ(chip->Control.ProgramFlags, 0x3F);  // steps before the texts are done
  EXPECT_EQ(chip->Timing.ChipInStableTime, 10);
  EXPECT_EQ(chip->Sn.SnGain, t.gainNew ? 2 : 7);
  EXPECT_EQ(chip->Sn.SnValue, t.valueNew ? 3u : 7u);
  EXPECT_EQ(chip->Sn.SnAddress, t.addressNew ? 4u : 7u);
  EXPECT_EQ(chip->DeviceAddress, 7);
  EXPECT_TRUE(log.Lines().empty());
}

// A number beyond its field is refused as a whole: its low bits would be another number.
TEST(CollectProgramSettings, NumbersBeyondTheirFieldAreRefusedNotCut) {
  struct Case {
    std::string ProgramControls::*field;
    std::string text;
    const char* message;  // empty: taken
  };
  const Case cases[] = {
      {&ProgramControls::GainEdit, "0x10000", "'0x10000' is not in the range 0 .. 0x0000FFFF!"},
      {&ProgramControls::GainEdit, "-1", "'-1' is not in the range 0 .. 0x0000FFFF!"},
      {&ProgramControls::GainEdit, "0xFFFF", ""},
      {&ProgramControls::SNEdit1, "4294967296", "'4294967296' is not in the range 0 .. 0xFFFFFFFF!"},
      {&ProgramControls::SNEdit1, "4294967295", ""},
      {&ProgramControls::AddrEdit, "$100000000", "'$100000000' is not in the range 0 .. 0xFFFFFFFF!"},
      {&ProgramControls::AddrEdit, "0xFFFFFFFF", ""},
  };
  for (const Case& t : cases) {
    SCOPED_TRACE(t.text);
    auto chip = test::ChosenChip();
    chip->Sn.SnGain = 7;
    ProgramControls c;
    c.*t.field = t.text;
    MessageLog log = test::FixedClockLog();
    if (*t.message == 0) {
      EXPECT_NO_THROW(CollectProgramSettings(c, *chip, log));
      continue;
    }
    try {
      CollectProgramSettings(c, *chip, log);
      ADD_FAILURE() << "taken";
    } catch (const EConvertError& e) {
      EXPECT_STREQ(e.what(), t.message);
    }
    EXPECT_TRUE(log.Lines().empty());
    if (t.field == &ProgramControls::GainEdit) {
      EXPECT_EQ(chip->Sn.SnGain, 7);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Settings, BadNumberText,
    ::testing::Values(BadTextCase{"gain", [](ProgramControls& c) { c.GainEdit = "1 2"; }, false, false, false},
                      BadTextCase{"value", [](ProgramControls& c) { c.SNEdit1 = "1 2"; }, true, false, false},
                      BadTextCase{"address", [](ProgramControls& c) { c.AddrEdit = "1 2"; }, true, true, false},
                      BadTextCase{"device", [](ProgramControls& c) { c.EditDevAdr = "1 2"; }, true, true, true}),
    [](const auto& p) { return std::string(p.param.name); });

}  // namespace
}  // namespace qx
