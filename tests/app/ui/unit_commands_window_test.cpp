// The window's unit commands against simulated units: what the chips end up holding, the
// log lines, the boxes, and the units a command leaves alone.
#include <gtest/gtest.h>

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>

#include "app/ui/SetAddressForm.h"
#include "images/Checksums.h"
#include "programmer/CommandCodes.h"
#include "programmer/UnitStep.h"
#include "tests/app/ui/WindowJobFixture.h"
#include "tests/support/StationProbe.h"

namespace qx::test {
namespace {

using W = TGenMFrmARM;
constexpr const char* kAutoChip = "AC78016xBxx";  // 32 KiB at 0x08000000, option bytes, no data flash
constexpr u32 kStart = 0x08000000;

class UnitCommandsWindow : public WindowJob {};

TEST_F(UnitCommandsWindow, DownloadLogsTheSettingsAndOptionsAndReachesEveryUnit) {
  Start(2, Maker::AutoChip, kAutoChip);
  Job(1);
  Control<QTabWidget>("ViewPageCtrl").setCurrentIndex(1);
  const std::size_t before = Texts().size();
  Click(&W::SpdBtnDownLoadClick);
  ASSERT_TRUE(Idle());
  EXPECT_EQ(Control<QTabWidget>("ViewPageCtrl").currentWidget(), &Control<QWidget>("ChipSett"));
  const auto t = Texts();
  ASSERT_GT(t.size(), before + 3);
  EXPECT_EQ(t[before], "");
  EXPECT_EQ(t[before + 1].rfind("> Chip Control Settting : 00,00,08, 00,00,4003, ", 0), 0u) << t[before + 1];
  EXPECT_EQ(t[before + 2].rfind("Current Option:", 0), 0u) << t[before + 2];
  EXPECT_EQ(t[before + 3], "C1 : Start to Download Chip Data......");
  EXPECT_EQ(Count("C1 : Data Donwload Success!"), 1u);
  EXPECT_EQ(Count("C2 : Data Donwload Success!"), 1u);
  for (std::size_t k = 0; k < 2; ++k) {
    EXPECT_TRUE(rig.sim->Stats(k).SettingsValid);
    EXPECT_EQ(rig.sim->Stats(k).DownloadSize, 0x4003u);
  }
  EXPECT_TRUE(rig.boxes.empty()) << BoxTexts().front();
}

TEST_F(UnitCommandsWindow, AutoWithOptionBytesProgramsVerifiesAndWritesTheOptions) {
  Start(2, Maker::AutoChip, kAutoChip);
  Job(2);
  for (std::size_t i = 0; i < 64; ++i) Model().OptionImage[i] = static_cast<u8>(0xA0 + i);
  Check("CheckBoxOpt");
  rig.sim->WithUnit(1, [](sim::SimUnit& u) { u.Main()[0x100] = 0x00; });  // not blank: erased first
  Click(&W::AutoSpdBtnClick);
  ASSERT_TRUE(Idle());
  for (std::size_t k = 0; k < 2; ++k) {
    EXPECT_EQ(ChipMain(k, 0, 0x4003), Image(0, 0x4003)) << k;
    std::vector<u8> options;
    rig.sim->WithUnit(k, [&](sim::SimUnit& u) { options.assign(u.Option().begin(), u.Option().begin() + 64); });
    EXPECT_EQ(options, std::vector<u8>(Model().OptionImage.begin(), Model().OptionImage.begin() + 64));
    const std::string c = "C" + std::to_string(k + 1) + " : ";
    EXPECT_EQ(Count(c + "Main Flash Data Verify Successed!"), 1u);
    EXPECT_EQ(Count(c + "Write Option Byte Successed!"), 1u);
    EXPECT_EQ(rig.Core().Unit(static_cast<u8>(k)).Gauge.State, GaugeState::Ok);
  }
  EXPECT_EQ(Count("C1 : Chip is Blank!"), 1u);
  EXPECT_EQ(Count("C2 : Chip is not blank, do erasing......"), 1u);
}

// Three units, three numbers; the image keeps its bytes, the grid shows unit 0's number, and
// the next run goes on after the last number given.
TEST_F(UnitCommandsWindow, AutoWithOnlineSerialNumbersGivesEveryChipItsOwnNumber) {
  Start(3, Maker::AutoChip, kAutoChip);
  Job(3);
  Check("CheckBoxOpt");  // the chain ends with the option step, which reports each chip done
  Control<QCheckBox>("CheckBoxSN").click();
  EXPECT_TRUE(Control<QLineEdit>("SNEdit1").isEnabled());
  Check("ChkBoxPCSN");
  SetText("SNEdit1", "0x000000FE");
  SetText("GainEdit", "0x01");
  SetText("AddrEdit", "0x08001000");
  const std::vector<u8> loaded = Image(0x1000, 4);

  Click(&W::AutoSpdBtnClick);
  ASSERT_TRUE(Idle());
  const std::vector<std::vector<u8>> first = {{0, 0, 0, 0xFE}, {0, 0, 0, 0xFF}, {0, 0, 1, 0x00}};
  for (std::size_t k = 0; k < 3; ++k) {
    EXPECT_EQ(ChipMain(k, 0x1000, 4), first[k]) << k;
    EXPECT_EQ(ChipMain(k, 0, 0x1000), Image(0, 0x1000)) << k;
    EXPECT_EQ(Count("C" + std::to_string(k + 1) + " : Write Option Byte Successed!"), 1u);
  }
  EXPECT_EQ(Image(0x1000, 4), loaded);
  EXPECT_EQ(Control<QLineEdit>("SNEdit1").text(), "0x00000101");
  EXPECT_EQ(grid->Cell(0x100, 4), "FE");  // row of 0x08001000, fourth byte
  EXPECT_TRUE(rig.boxes.empty());

  Click(&W::AutoSpdBtnClick);
  ASSERT_TRUE(Idle());
  const std::vector<std::vector<u8>> second = {{0, 0, 1, 0x01}, {0, 0, 1, 0x02}, {0, 0, 1, 0x03}};
  for (std::size_t k = 0; k < 3; ++k) EXPECT_EQ(ChipMain(k, 0x1000, 4), second[k]) << k;
  EXPECT_EQ(Control<QLineEdit>("SNEdit1").text(), "0x00000104");
  EXPECT_EQ(grid->Cell(0x100, 4), "01");
}

TEST_F(UnitCommandsWindow, BlankEraseAndProgramOnEveryUnit) {
  Start(2, Maker::AutoChip, kAutoChip);
  Job(4);
  struct Case {
    W::Handler command;
    bool blankBefore;
    std::string line;
    bool imageAfter;  // else erased
  } cases[] = {
      {&W::SpdBtnBlankChkClick, true, "Chip is Blank!", false},
      {&W::SpdBtnProgClick, true, "Main Flash Programming Success!", true},
      {&W::SpdBtnBlankChkClick, false, "Chip is not blank!", true},
      {&W::SpdBtnEraseClick, false, "Chip has been erased!", false},
  };
  for (const Case& c : cases) {
    const std::size_t before = Texts().size();
    Click(c.command);
    ASSERT_TRUE(Idle());
    const auto t = Texts();
    for (std::size_t k = 0; k < 2; ++k) {
      const std::string line = "C" + std::to_string(k + 1) + " : " + c.line;
      EXPECT_NE(std::find(t.begin() + static_cast<std::ptrdiff_t>(before), t.end(), line), t.end()) << line;
      EXPECT_EQ(ChipMain(k, 0, 0x4003), c.imageAfter ? Image(0, 0x4003) : std::vector<u8>(0x4003, 0xFF)) << c.line;
    }
  }
}

TEST_F(UnitCommandsWindow, VerifyMismatchAsksPerByteUntilAbort) {
  Start(1, Maker::AutoChip, kAutoChip);
  Job(5);
  rig.sim->WithUnit(0, [this](sim::SimUnit& u) {
    std::copy_n(Model().MainFlashImage.begin(), 0x4003, u.Main().begin());
    for (std::size_t at : {0x10, 0x20, 0x30}) u.Main()[at] = static_cast<u8>(~Model().MainFlashImage[at]);
  });
  rig.answers = {MsgAnswer::Yes, MsgAnswer::Abort};
  Click(&W::SpdBtnVerifyClick);
  ASSERT_TRUE(Idle());
  ASSERT_EQ(rig.boxes.size(), 2u);
  for (std::size_t i = 0; i < 2; ++i) {
    const u32 at = 0x10 * static_cast<u32>(i + 1);
    char text[80];
    std::snprintf(text, sizeof text, "Chip 1: Address=0x%08X,Buffer=0x%02X,Chip=0x%02X", at, Model().MainFlashImage[at],
                  static_cast<u8>(~Model().MainFlashImage[at]));
    EXPECT_EQ(rig.boxes[i].text, text);
    EXPECT_EQ(rig.boxes[i].buttons, MsgButtons::YesAbort);
  }
  EXPECT_EQ(Count("C1 : Data Verify error!"), 1u);
  EXPECT_EQ(rig.Core().Unit(0).Gauge.State, GaugeState::Failed);
  EXPECT_EQ(rig.Window().focusWidget(), &Control<QFrame>("PanelBtns"));
}

// Reads on unit 0 of a chip with data flash.
TEST_F(UnitCommandsWindow, ReadsOfMainDataFlashChecksumChipInformationAndAnAddress) {
  Start(2, Maker::Lapis, "ML630Q464");  // 32 KiB at 0x10000000, 2 KiB of data flash
  const ChipParams& p = Model().Params;
  const auto main = RandomBytes(p.MainFlashSize, 11);
  const auto eep = RandomBytes(p.EepSize, 12);
  rig.sim->WithUnit(0, [&](sim::SimUnit& u) {
    std::copy(main.begin(), main.end(), u.Main().begin());
    std::copy(eep.begin(), eep.end(), u.Eep().begin());
  });

  rig.Window().SetStatusPanel(2, "before.bin");  // a file loaded before the read
  Click(&W::ReadChipMemory1Click);
  ASSERT_TRUE(Idle());
  EXPECT_EQ(Image(0, p.MainFlashSize), main);
  EXPECT_EQ(Model().ObjectLoaded, 1);
  EXPECT_EQ(p.DownloadSize, p.MainFlashSize);
  EXPECT_EQ(Count("C1 : Main Flash Has been read out!"), 1u);
  // The status bar describes the bytes read: their sum with the data flash, no file name.
  const auto panels = Control<QStatusBar>("StatusBar1").findChildren<QLabel*>(Qt::FindDirectChildrenOnly);
  ASSERT_EQ(panels.size(), 3);
  char chipSum[40];
  std::snprintf(chipSum, sizeof chipSum, "Chip CheckSum: 0x%08X",
                CalcAcc32(main, 0, p.MainFlashSize - 1) + CalcAcc32(Model().EepImage, 0, p.EepSize - 1));
  EXPECT_EQ(panels[1]->text().toStdString(), chipSum);
  EXPECT_EQ(panels[2]->text(), "");

  Click(&W::ReadEEPMemory1Click);
  ASSERT_TRUE(Idle());
  EXPECT_TRUE(std::equal(eep.begin(), eep.end(), Model().EepImage.begin()));
  EXPECT_EQ(Count("C1 : EEP Data has been read out!"), 1u);

  Click(&W::ReadChipCheckSum1Click);
  ASSERT_TRUE(Idle());
  char line[80];
  std::snprintf(line, sizeof line, "C1 : Read Chip CRC16/ACC32 CheckSum:  0x%04X/0x%08X.",
                CalcCheck16(std::span<const u8>(main)), CalcAcc32(main, 0, p.MainFlashSize - 1));
  EXPECT_EQ(Count(line), 1u);

  const std::size_t beforeInfo = Texts().size();
  Click(&W::ReadMG32xxChipID1Click);
  ASSERT_TRUE(Idle());
  auto t = Texts();
  EXPECT_EQ(t[beforeInfo], "Read Chip Information Data......");
  EXPECT_EQ(Count(">     Chip Information Data as Below: "), 1u);
  EXPECT_EQ(t.back().rfind("  0x038001F0 :", 0), 0u) << t.back();

  rig.onModal = [](QDialog& d) {
    auto* form = qobject_cast<TSetAddressForm*>(&d);
    if (form == nullptr) return static_cast<int>(QDialog::Rejected);
    form->show();
    form->EditAddr->setText("0x10000105");
    form->SpinEditRD->setValue(32);
    form->BitBtnOK->click();
    return form->result();
  };
  Click(&W::ReadSpcAddressClick);
  ASSERT_TRUE(Idle());
  EXPECT_EQ(Model().ReadStart, 0x10000100u);
  t = Texts();
  ASSERT_GE(t.size(), 3u);
  EXPECT_EQ(t[t.size() - 3], "> Read Address Memory Data below: ");
  std::string row = "0x10000110 : ";
  for (std::size_t i = 0; i < 16; ++i) {
    char b[4];
    std::snprintf(b, sizeof b, "%02X ", main[0x110 + i]);
    row += b;
  }
  EXPECT_EQ(t.back(), row);
  EXPECT_TRUE(rig.boxes.empty()) << BoxTexts().front();
}

// A unit that does not answer stays busy: a second command starts the others only, leaves
// that unit's step, chain flag and bytes alone, and the loads and reads wait for it.
TEST_F(UnitCommandsWindow, ABusyUnitIsLeftAloneAndLoadsAndReadsAreRefused) {
  std::vector<sim::UnitConfig> units(2);
  Start(units, Maker::AutoChip, kAutoChip);
  Job(6);
  rig.sim->SetFaults(1, {{sim::FaultKind::Silence, 0, 0}});
  Click(&W::SpdBtnEraseClick);
  auto& s = StationProbe::Sessions(rig.Core());
  ASSERT_TRUE(rig.RunUntil([&] { return s.Unit[0].Busy == 0; }));
  ASSERT_EQ(s.Unit[1].Busy, 1);
  ASSERT_EQ(s.Unit[1].StepState, StepErase);
  StationProbe::Wire(rig.Core()).Units[1].RxCount = 3;  // part of a reply on its way
  const auto erases = [this] {
    const auto by = rig.sim->Stats(1).ByCommand;
    return by.count(CmdChipOperation) != 0 ? by.at(CmdChipOperation) : 0u;
  };
  ASSERT_TRUE(rig.RunUntil([&] { return erases() == 1; }));
  const u32 requests = rig.sim->Stats(1).Requests;

  Click(&W::AutoSpdBtnClick);
  EXPECT_EQ(s.Unit[0].AutoChain, 1);
  EXPECT_EQ(s.Unit[0].StepState, StepBlankCheck);
  EXPECT_EQ(s.Unit[1].AutoChain, 0);
  EXPECT_EQ(s.Unit[1].StepState, StepErase);
  EXPECT_EQ(rig.Core().ReceivedCount(1), 3);
  ASSERT_TRUE(rig.RunUntil([&] { return s.Unit[0].Busy == 0; }));
  EXPECT_EQ(rig.sim->Stats(1).Requests, requests);

  const std::string refusal = "Busy programmers: 2. Please wait until they have finished!";
  for (const W::Handler h : {&W::FileOpenBtnClick, &W::SpdBtnLoadMoreClick, &W::LoadEepDataFile1Click,
                             &W::ButtonCfgSNClick, &W::ReadChipMemory1Click, &W::ReadSpcAddressClick}) {
    rig.boxes.clear();
    Click(h);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{refusal});
  }
  EXPECT_TRUE(fileRequests.empty());
  EXPECT_TRUE(rig.modals.empty());
  EXPECT_EQ(s.Unit[0].Busy, 0);
}

}  // namespace
}  // namespace qx::test
