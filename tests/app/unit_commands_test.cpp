// The unit commands without a window: what each runs before its units start and in which
// order, the guards, the reads on unit 0, and the serial numbers of a gang run.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "app/UnitCommands.h"
#include "app/UnitSerialNumbers.h"
#include "base/Errors.h"
#include "programmer/DownloadChain.h"
#include "tests/app/AppTestSupport.h"
#include "tests/app/ChipJobSupport.h"
#include "tests/app/e2e/station_fixture.h"
#include "tests/support/StationProbe.h"

namespace qx::test {
namespace {

constexpr UnitCommand kAll[] = {UnitCommand::Auto,         UnitCommand::Download,   UnitCommand::BlankCheck,
                                UnitCommand::Erase,        UnitCommand::Program,    UnitCommand::Verify,
                                UnitCommand::WriteOption,  UnitCommand::WriteEep,   UnitCommand::ReadMain,
                                UnitCommand::ReadEep,      UnitCommand::ReadOption, UnitCommand::ReadChecksum,
                                UnitCommand::ReadAddress,  UnitCommand::ReadChipInfo};

bool Writing(UnitCommand c) { return RuleOf(c).Start == UnitStart::AllUnits; }

class UnitCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    StationProbe::Model(st) = *ChosenChip();
    StationProbe::Model(st).ObjectLoaded = 1;
    StationProbe::Sessions(st).UnitCount = 3;
    for (u8 k = 0; k < 3; ++k) StationProbe::Sessions(st).Unit[k].Linked = 1;
  }

  UnitCommandView View() {
    UnitCommandView v;
    v.ChipPageToFront = [this](bool panel) { pages.push_back(panel); };
    v.Controls = [this] { return controls; };
    v.CustomerControls = [this] { return customer; };
    v.Apply = [](const WindowActions&) {};
    v.AskReadAddress = [this] {
      calls.push_back("dialog");
      ++addressDialogs;
    };
    v.ShowSerialNumber = [this](const std::string& t) { shownSerial.push_back(t); };
    return v;
  }
  void Run(UnitCommand c) { st.RunUnitCommand(c, View()); }

  UnitSet Busy() const { return st.BusyUnits(); }
  std::vector<std::string> Boxes() const {
    std::vector<std::string> v;
    for (const auto& m : rig.op.messages) v.push_back(m.text);
    return v;
  }
  bool Logged(const std::string& prefix) const {
    for (const auto& l : rig.op.logLines) {
      if (l.rfind(prefix, 0) == 0) return true;
    }
    return false;
  }
  // Online serial numbers at an address inside the chip.
  void SerialNumbersOn(const std::string& value, const std::string& gain, u32 address) {
    controls.CheckBoxSN = true;
    controls.ChkBoxPCSN = true;
    controls.SNEdit1 = value;
    controls.GainEdit = gain;
    controls.AddrEdit = Hex8(address);
  }

  StationRig rig;
  Station& st = rig.Make();
  ProgramControls controls;
  CustomerInfoControls customer;
  std::vector<bool> pages;
  std::vector<std::string> calls;
  std::vector<std::string> shownSerial;
  int addressDialogs = 0;
};

TEST_F(UnitCommands, WithoutAChipEveryCommandStopsAtTheChipGuard) {
  for (const UnitCommand c : kAll) {
    StationProbe::Model(st).ChipSelected = 0;
    rig.op.messages.clear();
    pages.clear();
    Run(c);
    EXPECT_EQ(Boxes(), std::vector<std::string>{"Please select chip type first!"}) << int(c);
    EXPECT_EQ(pages.size(), c == UnitCommand::ReadEep ? 0u : 1u) << int(c);
    EXPECT_EQ(pages == std::vector<bool>{true}, c == UnitCommand::Verify) << int(c);
  }
  EXPECT_TRUE(Busy().none());
  EXPECT_FALSE(Logged("> Chip Control Settting"));
  EXPECT_EQ(addressDialogs, 0);
}

// A Silergy set-up restored without the chip chosen: the customer block runs before the
// guard stops the command, as designed; the serial numbers come after it, so no S/N
// address is checked (or the programmed range widened) against a chip that is not chosen.
TEST_F(UnitCommands, CustomerBlockComesBeforeTheChipGuardAndSerialNumbersAfterIt) {
  Choose(StationProbe::Model(st), Maker::Silergy, "SA32B14xx");
  StationProbe::Model(st).ChipSelected = 0;
  const u32 start = StationProbe::Model(st).Params.MainFlashStart;
  SerialNumbersOn("0x10", "1", start + 0x1000);
  const struct {
    UnitCommand command;
    bool block;
  } cases[] = {{UnitCommand::Auto, true},
               {UnitCommand::Download, true},
               {UnitCommand::Program, true},
               {UnitCommand::Verify, false},
               {UnitCommand::BlankCheck, false}};
  for (const auto& c : cases) {
    rig.op.logLines.clear();
    rig.op.messages.clear();
    StationProbe::Model(st).Params.DownloadSize = 0x100;
    Run(c.command);
    EXPECT_EQ(Logged("> 12:34:56 No Summary Data need to be Setup!"), c.block) << int(c.command);
    EXPECT_EQ(StationProbe::Model(st).Params.DownloadSize, 0x100u) << int(c.command);
    EXPECT_EQ(Boxes(), std::vector<std::string>{"Please select chip type first!"});
  }
  EXPECT_TRUE(Busy().none());
}

// A block that cannot be placed stops the command; a good one is written before the units start.
TEST_F(UnitCommands, TheCustomerBlocksAddressErrorStopsTheCommand) {
  Choose(StationProbe::Model(st), Maker::Silergy, "SA32B14xx");
  LoadJob(StationProbe::Model(st), 3);
  customer.ChkBoxPrgInf = true;
  for (const UnitCommand c : {UnitCommand::Download, UnitCommand::Auto, UnitCommand::Program}) {
    rig.op.messages.clear();
    Run(c);
    EXPECT_EQ(Boxes(), (std::vector<std::string>{"Address Set Eror!please Checked", "Info Address Set Eror! Please Checked"}))
        << int(c);
  }
  EXPECT_TRUE(Busy().none());

  const u32 size = StationProbe::Model(st).Params.MainFlashSize;
  customer.EditSumy = Hex8(size - CustomerInfoBlockSize);
  customer.EditBTAS = "0";
  customer.EditBTAE = "0x9FFF";
  customer.EditAPAS = "0xA000";
  customer.EditAPAE = Hex8(size - CustomerInfoBlockSize - 1);
  rig.op.messages.clear();
  Run(UnitCommand::Download);
  EXPECT_TRUE(Boxes().empty()) << Boxes().front();
  EXPECT_EQ(StationProbe::Model(st).MainFlashImage[size - CustomerInfoBlockSize + 8], 'C');
  EXPECT_TRUE(Logged("> 12:34:56 C3 : Start to Download Chip Data......"));
}

// A Silergy command writes its customer block again and drops the units' numbers placed
// over the image before; a unit still busy with its run keeps its own, or its chip would get
// the image's bytes in place of its number and still pass.
TEST_F(UnitCommands, TheCustomerBlockOfALaterCommandLeavesTheNumbersOfBusyUnits) {
  Choose(StationProbe::Model(st), Maker::Silergy, "SA32B14xx");
  LoadJob(StationProbe::Model(st), 3);
  StationProbe::Wire(st).Driver.DriverLoaded = 1;
  const u32 size = StationProbe::Model(st).Params.MainFlashSize;
  const u32 start = StationProbe::Model(st).Params.MainFlashStart;
  customer.ChkBoxPrgInf = true;
  customer.EditSumy = Hex8(size - CustomerInfoBlockSize);
  customer.EditBTAS = "0";
  customer.EditBTAE = "0x9FFF";
  customer.EditAPAS = "0xA000";
  customer.EditAPAE = Hex8(size - CustomerInfoBlockSize - 1);
  SerialNumbersOn("0x100", "1", start + 0x40);
  auto& s = StationProbe::Sessions(st);

  // Unit 0 is busy with something else: units 1 and 2 take 0x101 and 0x102.
  s.Unit[0].Busy = 1;
  Run(UnitCommand::Program);
  ASSERT_EQ(Busy(), UnitSet(0b111));
  ASSERT_EQ(st.UnitSerial(1).Bytes, (std::array<u8, 4>{0, 0, 1, 1}));

  // Unit 0 is done; the next command starts it alone, with the number on screen.
  s.Unit[0].Busy = 0;
  controls.SNEdit1 = shownSerial.back();
  Run(UnitCommand::Program);
  EXPECT_TRUE(Boxes().empty());
  EXPECT_EQ(st.UnitSerial(0).Active, 1);
  EXPECT_EQ(st.UnitSerial(0).Bytes, (std::array<u8, 4>{0, 0, 1, 3}));
  for (const u8 k : {u8{1}, u8{2}}) {
    SCOPED_TRACE(int(k));
    EXPECT_EQ(st.UnitSerial(k).Active, 1);
    EXPECT_EQ(st.UnitSerial(k).Bytes, (std::array<u8, 4>{0, 0, 1, static_cast<u8>(k)}));
  }
}

TEST_F(UnitCommands, WithoutAnImageOnlyBlankEraseAndOptionWriteStart) {
  StationProbe::Model(st).ObjectLoaded = 0;
  for (const UnitCommand c : kAll) {
    if (!Writing(c)) continue;
    rig.op.messages.clear();
    for (u8 k = 0; k < 3; ++k) StationProbe::Sessions(st).Unit[k].Busy = 0;
    Run(c);
    const bool starts = c == UnitCommand::BlankCheck || c == UnitCommand::Erase || c == UnitCommand::WriteOption;
    EXPECT_EQ(Busy(), starts ? UnitSet(0b111) : UnitSet()) << int(c);
    EXPECT_EQ(Boxes(), starts ? std::vector<std::string>{} : std::vector<std::string>{"Please load the object file first!"})
        << int(c);
  }
}

// A read-back of unit 0 writes the images block by block as its replies come. A command
// that sends or compares the images meanwhile would give the other units a mix of the old
// job and the chip being read; it is refused like a command on busy units. The others
// (blank check, erase, option write) still start the idle units.
TEST_F(UnitCommands, CommandsThatSendTheImagesWaitForAReadBackOfUnitZero) {
  auto& units = StationProbe::Sessions(st).Unit;
  for (const UnitCommand read : {UnitCommand::ReadMain, UnitCommand::ReadEep}) {
    for (const UnitCommand c : kAll) {
      if (!Writing(c)) continue;
      SCOPED_TRACE(testing::Message() << "read " << int(read) << ", command " << int(c));
      for (u8 k = 0; k < 3; ++k) units[k] = UnitSession{};
      for (u8 k = 0; k < 3; ++k) units[k].Linked = 1;
      Run(read);
      ASSERT_EQ(Busy(), UnitSet(0b001));
      rig.op.messages.clear();
      Run(c);
      if (RuleOf(c).NeedsImage) {
        EXPECT_EQ(Boxes(), std::vector<std::string>{"Busy programmers: 1. Please wait until they have finished!"});
        EXPECT_EQ(Busy(), UnitSet(0b001));
      } else {
        EXPECT_TRUE(Boxes().empty());
        EXPECT_EQ(Busy(), UnitSet(0b111));
      }
    }
  }
}

TEST_F(UnitCommands, WritingCommandsLogAnEmptyLineTheSettingsAndForAutoChipTheOptions) {
  Run(UnitCommand::Download);
  const auto& l = rig.op.logLines;
  ASSERT_GE(l.size(), 4u);
  EXPECT_EQ(l[0], "");
  EXPECT_EQ(l[1].rfind("> Chip Control Settting : ", 0), 0u) << l[1];
  EXPECT_EQ(l[2].rfind("> 12:34:56 Current Option:", 0), 0u) << l[2];
  EXPECT_EQ(l[3], "> 12:34:56 C1 : Start to Download Chip Data......");
  EXPECT_EQ(st.Unit(0).StepState, StepDownloadChipData);

  // The data-flash write has no empty line; blank check lists no options.
  for (const UnitCommand c : {UnitCommand::WriteEep, UnitCommand::BlankCheck}) {
    for (u8 k = 0; k < 3; ++k) StationProbe::Sessions(st).Unit[k].Busy = 0;
    rig.op.logLines.clear();
    Run(c);
    ASSERT_GE(l.size(), 2u);
    EXPECT_EQ(l[0] == "", c == UnitCommand::BlankCheck) << int(c);
    EXPECT_FALSE(Logged("> 12:34:56 Current Option:"));
  }
}

TEST_F(UnitCommands, ReadsRunOnUnitZeroOnlyWhenItIsLinkedAndNoUnitIsBusy) {
  const struct {
    UnitCommand command;
    u8 step;
    bool collects;
  } reads[] = {{UnitCommand::ReadMain, StepReadMain, true},      {UnitCommand::ReadEep, StepReadEep, true},
               {UnitCommand::ReadOption, StepReadOption, true},  {UnitCommand::ReadChecksum, StepReadChecksum, true},
               {UnitCommand::ReadAddress, StepReadAddress, true}, {UnitCommand::ReadChipInfo, StepReadChipInfo, false}};
  auto& units = StationProbe::Sessions(st).Unit;
  for (const auto& r : reads) {
    for (u8 k = 0; k < 3; ++k) units[k] = UnitSession{};
    units[1].Linked = units[2].Linked = 1;
    rig.op.messages.clear();
    Run(r.command);
    EXPECT_EQ(Boxes(), std::vector<std::string>{"Please connect the device!"});

    units[0].Linked = 1;
    units[2].Busy = 1;
    rig.op.messages.clear();
    Run(r.command);
    EXPECT_EQ(Boxes(), std::vector<std::string>{"Busy programmers: 3. Please wait until they have finished!"});
    EXPECT_EQ(units[0].Busy, 0);

    units[2].Busy = 0;
    rig.op.messages.clear();
    rig.op.logLines.clear();
    addressDialogs = 0;
    Run(r.command);
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(units[0].StepState, r.step) << int(r.command);
    EXPECT_EQ(Busy(), UnitSet(0b001));
    EXPECT_EQ(Logged("> Chip Control Settting"), r.collects) << int(r.command);
    EXPECT_EQ(addressDialogs, r.command == UnitCommand::ReadAddress ? 1 : 0);
  }
}

// The read-address dialog is modal: its loop serves the ports and both timers, so by the
// time it closes unit 0 may have gone (a hang-up) or begun a step (the batch start). The
// read then is refused as it would have been before the dialog, and a running step keeps
// its replies.
TEST_F(UnitCommands, TheAddressReadChecksUnitZeroAgainAfterItsDialog) {
  auto& units = StationProbe::Sessions(st).Unit;
  const struct {
    const char* name;
    std::function<void()> meanwhile;
    std::string box;
    u8 step;
  } cases[] = {
      {"a step began", [&] { st.StartChain(0, StartDownloadChipData, AutoChainRule::Keep); },
       "Busy programmers: 1. Please wait until they have finished!", StepDownloadChipData},
      {"unit 0 hung up", [&] { units[0].Linked = 0; }, "Please connect the device!", StepIdle},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    for (u8 k = 0; k < 3; ++k) units[k] = UnitSession{};
    for (u8 k = 0; k < 3; ++k) units[k].Linked = 1;
    rig.op.messages.clear();
    UnitCommandView v = View();
    v.AskReadAddress = c.meanwhile;
    st.RunUnitCommand(UnitCommand::ReadAddress, v);
    EXPECT_EQ(Boxes(), std::vector<std::string>{c.box});
    EXPECT_EQ(units[0].StepState, c.step);
  }
}

TEST_F(UnitCommands, OnlineSerialNumbersGiveEveryStartedUnitItsOwnAndMoveOnPastThem) {
  auto& s = StationProbe::Sessions(st);
  s.UnitCount = 4;
  s.Unit[3].Linked = 1;
  s.Unit[2].Linked = 0;  // skipped: its number goes unused
  ChipModel& m = StationProbe::Model(st);
  const u32 index = 0x3FFE;
  SerialNumbersOn("0xFFFFFFFE", "2", kMainStart + index);
  const std::vector<u8> image(m.MainFlashImage.begin(), m.MainFlashImage.begin() + 0x8000);

  Run(UnitCommand::Program);
  EXPECT_EQ(Busy(), UnitSet(0b1011));
  const struct {
    u8 unit;
    std::array<u8, 4> bytes;
  } expected[] = {{0, {0xFF, 0xFF, 0xFF, 0xFE}}, {1, {0x00, 0x00, 0x00, 0x00}}, {3, {0x00, 0x00, 0x00, 0x04}}};
  for (const auto& e : expected) {
    const UnitSerialPatch& p = st.UnitSerial(e.unit);
    EXPECT_EQ(p.Active, 1) << int(e.unit);
    EXPECT_EQ(p.Index, index);
    EXPECT_EQ(p.Bytes, e.bytes) << int(e.unit);
  }
  EXPECT_EQ(st.UnitSerial(2).Active, 0);
  EXPECT_EQ(m.Sn.SnValue, 0x00000006u);
  EXPECT_EQ(shownSerial, std::vector<std::string>{"0x00000006"});
  EXPECT_TRUE(std::equal(image.begin(), image.end(), m.MainFlashImage.begin()));
  // The grid shows unit 0's number where the image holds its own bytes.
  ASSERT_FALSE(rig.op.mainHexRows.empty());
  EXPECT_EQ(rig.op.mainHexRows.back(), std::make_pair(kMainStart + index, kMainStart + index + 3));

  // The next run starts where the last one ended; decimal display follows the box.
  for (u8 k = 0; k < 4; ++k) s.Unit[k].Busy = 0;
  controls.SNEdit1 = shownSerial.back();
  controls.ChkBoxSNDP = true;
  Run(UnitCommand::Auto);
  EXPECT_EQ(st.UnitSerial(0).Bytes, (std::array<u8, 4>{0, 0, 0, 6}));
  EXPECT_EQ(shownSerial.back(), "14");

  // Without on-line numbers the units started program the image as it is.
  for (u8 k = 0; k < 4; ++k) s.Unit[k].Busy = 0;
  s.Unit[3].Busy = 1;
  controls.ChkBoxPCSN = false;
  Run(UnitCommand::Program);
  EXPECT_EQ(st.UnitSerial(0).Active, 0);
  EXPECT_EQ(st.UnitSerial(3).Active, 1);  // busy: its run keeps its number
  EXPECT_EQ(shownSerial.size(), 2u);
}

struct RunCase {
  u8 units;       // UnitCount
  UnitSet unlinked;
};

class SerialNumbersOfARun : public UnitCommands, public ::testing::WithParamInterface<RunCase> {};

// However many units a run starts, unit k gets the start number + k x gain and the next run
// begins past the last unit started: no number goes to two chips.
TEST_P(SerialNumbersOfARun, TheNextRunBeginsPastTheLastUnitStarted) {
  const RunCase& c = GetParam();
  auto& s = StationProbe::Sessions(st);
  s.UnitCount = c.units;
  for (u8 k = 0; k < UnitMax; ++k) s.Unit[k].Linked = (k < c.units && !c.unlinked.test(k)) ? 1 : 0;
  constexpr u32 kFirst = 0x00012340, kGain = 3, kIndex = 0x200;
  SerialNumbersOn(Hex8(kFirst), std::to_string(kGain), kMainStart + kIndex);
  const auto bigEndian = [](u32 v) {
    return std::array<u8, 4>{static_cast<u8>(v >> 24), static_cast<u8>(v >> 16), static_cast<u8>(v >> 8),
                             static_cast<u8>(v)};
  };

  Run(UnitCommand::Program);
  std::vector<std::array<u8, 4>> given;
  u32 next = kFirst;
  for (u8 k = 0; k < UnitMax; ++k) {
    const UnitSerialPatch& p = st.UnitSerial(k);
    const bool started = s.Unit[k].Linked == 1;
    EXPECT_EQ(Busy().test(k), started) << int(k);
    EXPECT_EQ(p.Active, started ? 1 : 0) << int(k);
    if (!started) continue;
    EXPECT_EQ(p.Bytes, bigEndian(kFirst + k * kGain)) << int(k);
    given.push_back(p.Bytes);
    next = kFirst + (k + 1u) * kGain;
  }
  EXPECT_EQ(StationProbe::Model(st).Sn.SnValue, next);
  ASSERT_EQ(shownSerial.size(), 1u);
  EXPECT_EQ(shownSerial[0], Hex8(next));

  // The next run, from the number on screen.
  for (u8 k = 0; k < UnitMax; ++k) s.Unit[k].Busy = 0;
  controls.SNEdit1 = shownSerial.back();
  Run(UnitCommand::Program);
  for (u8 k = 0; k < UnitMax; ++k) {
    const UnitSerialPatch& p = st.UnitSerial(k);
    if (!p.Active) continue;
    EXPECT_EQ(std::count(given.begin(), given.end(), p.Bytes), 0) << int(k);
  }
  EXPECT_EQ(st.UnitSerial(0).Active == 1, s.Unit[0].Linked == 1);
  if (s.Unit[0].Linked) {
    EXPECT_EQ(st.UnitSerial(0).Bytes, bigEndian(next));
  }
}

INSTANTIATE_TEST_SUITE_P(UnitCounts, SerialNumbersOfARun,
                         ::testing::Values(RunCase{1, {}}, RunCase{4, {}}, RunCase{9, {}}, RunCase{10, {}},
                                           RunCase{10, UnitSet(0b0000010100)},   // gaps at units 3 and 5
                                           RunCase{10, UnitSet(0b1000000001)},   // first and tenth unlinked
                                           RunCase{10, UnitSet(0b0111111110)}),  // only the first and tenth
                         [](const ::testing::TestParamInfo<RunCase>& i) {
                           return "Units" + std::to_string(i.param.units) + "Unlinked" +
                                  std::to_string(i.param.unlinked.to_ulong());
                         });

TEST_F(UnitCommands, ASerialNumberOutsideTheFlashOrNotANumberStartsNothing) {
  SerialNumbersOn("0x10", "1", kMainStart + kMainSize - 2);
  Run(UnitCommand::Auto);
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0], "S/N address 0x0803FFFE is outside the main flash, command stopped!");
  SerialNumbersOn("0x1G", "1", kMainStart);
  EXPECT_THROW(Run(UnitCommand::Program), EConvertError);
  EXPECT_TRUE(Busy().none());
  EXPECT_TRUE(shownSerial.empty());
  EXPECT_EQ(StationProbe::Model(st).Sn.SnValue, 0x10u);  // read from the page, not moved on
}

TEST_F(UnitCommands, AChipDoneAdvancesOnlyANumberNotCountedAtItsStart) {
  SnSettings sn;
  sn.SnValue = 7;
  sn.SnGain = 3;
  EXPECT_FALSE(SerialNumberAfterChip(sn, {true, true, false}, true).has_value());
  EXPECT_EQ(sn.SnValue, 7u);
  EXPECT_EQ(SerialNumberAfterChip(sn, {true, true, false}, false), "0x0000000A");
  EXPECT_FALSE(SerialNumberAfterChip(sn, {true, false, false}, false).has_value());
  EXPECT_EQ(sn.SnValue, 10u);
}

TEST_F(UnitCommands, ForgettingTheNumbersShowsTheImageAgain) {
  SerialNumbersOn("0x10", "1", kMainStart + 0x40);
  Run(UnitCommand::Program);
  // The runs have ended: the numbers of idle units are dropped.
  for (u8 k = 0; k < 3; ++k) StationProbe::Sessions(st).Unit[k].Busy = 0;
  rig.op.mainHexRows.clear();
  ForgetSerialNumbers(st);
  for (u8 k = 0; k < 3; ++k) EXPECT_EQ(st.UnitSerial(k).Active, 0);
  EXPECT_EQ(rig.op.mainHexRows, (std::vector<std::pair<u32, u32>>{{kMainStart + 0x40, kMainStart + 0x43}}));
}

}  // namespace
}  // namespace qx::test
