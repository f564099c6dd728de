// The window's frame over simulated units: start-up and its timers, the device search, the
// ports' events, the off-line start, the menu commands' messages and the orderly end, as the
// window shows them.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>
#include <algorithm>
#include <fstream>

#include "app/ImageViews.h"
#include "app/ui/ProgressGauges.h"
#include "images/ViewChecksums.h"
#include "programmer/CommandCodes.h"
#include "tests/app/ui/ProgramRig.h"
#include "tests/support/StationProbe.h"

namespace qx::test {
namespace {

constexpr char kStamp[] = "> 12:34:56 ";

template <class T>
T& Find(ProgramRig& rig, const QString& name) {
  T* found = rig.Window().findChild<T*>(name);
  if (found == nullptr) throw std::runtime_error("no control " + name.toStdString());
  return *found;
}

// The memo's lines once the window has caught up, the time stamp taken off those that
// carry it.
std::vector<std::string> MemoLines(ProgramRig& rig) {
  rig.Window().RepaintViews();
  std::vector<std::string> lines;
  const QStringList memo = Find<QPlainTextEdit>(rig, "InfoMemo").toPlainText().split('\n');
  for (const QString& l : memo) {
    std::string s = l.toStdString();
    if (s.rfind(kStamp, 0) == 0) s = s.substr(sizeof(kStamp) - 1);
    lines.push_back(s);
  }
  return lines;
}

std::size_t Count(const std::vector<std::string>& lines, const std::string& line) {
  return static_cast<std::size_t>(std::count(lines.begin(), lines.end(), line));
}

std::vector<std::string> ComboEntries(ProgramRig& rig) {
  auto& combo = Find<QComboBox>(rig, "ComboBoxCOM");
  std::vector<std::string> entries;
  for (int i = 0; i < combo.count(); ++i) entries.push_back(combo.itemText(i).toStdString());
  return entries;
}

// A gauge once the window has caught up.
QProgressBar& Gauge(ProgramRig& rig, int k) {
  rig.Window().RepaintViews();
  return Find<QProgressBar>(rig, QStringLiteral("Gauge%1").arg(k + 1));
}

int GaugesShownOnWindow(ProgramRig& rig) {
  int shown = 0;
  for (int k = 0; k < GaugeCount; ++k) shown += Gauge(rig, k).isHidden() ? 0 : 1;
  return shown;
}

QColor GaugeColourOf(ProgramRig& rig, int k) { return Gauge(rig, k).palette().color(QPalette::Highlight); }

QString StatusPanel(ProgramRig& rig, int i) {
  return Find<QStatusBar>(rig, "StatusBar1").findChildren<QLabel*>(Qt::FindDirectChildrenOnly).at(i)->text();
}

bool TabShown(ProgramRig& rig, const char* page) {
  auto& pages = Find<QTabWidget>(rig, "ViewPageCtrl");
  return pages.isTabVisible(pages.indexOf(&Find<QWidget>(rig, page)));
}

std::vector<std::string> Paths(ProgramRig& rig, std::size_t n) {
  std::vector<std::string> paths;
  for (std::size_t k = 0; k < n; ++k) paths.push_back(rig.sim->Path(k));
  return paths;
}

// A connection file naming the given ports, as the operator would write it.
void WriteConnectionFile(ProgramRig& rig, const std::vector<std::string>& ports) {
  std::string text = "[Connection]\r\nTOTDEV=" + std::to_string(ports.size()) + "\r\n";
  for (std::size_t k = 0; k < ports.size(); ++k) text += "DEV" + std::to_string(k + 1) + "=" + ports[k] + "\r\n";
  rig.dir.Write("ConfigQlt.ini", text);
}

void Click(ProgramRig& rig, const char* button) { Find<QAbstractButton>(rig, button).click(); }
void Trigger(ProgramRig& rig, const char* action) { Find<QAction>(rig, action).trigger(); }

TEST(FrameStation, StartUpLinksTheListedUnitsAndTheWindowShowsItThenTimer2Stops) {
  ProgramRig rig;
  rig.Units(std::vector<sim::UnitConfig>(3));
  rig.FirmwareFile();
  rig.Make();
  EXPECT_EQ(rig.Frame().Timer1().interval(), 10);
  EXPECT_EQ(rig.Frame().Timer1().timerType(), Qt::PreciseTimer);
  EXPECT_FALSE(rig.Timer2Running());
  rig.Start();
  EXPECT_TRUE(rig.Timer2Running());
  EXPECT_EQ(rig.Frame().Timer2().objectName(), "Timer2");
  ASSERT_TRUE(rig.RunUntil([&] { return !rig.Timer2Running(); }));
  EXPECT_EQ(rig.Core().LinkedCount(), 3);

  const auto lines = MemoLines(rig);
  const std::vector<std::string> first = {"Hello NolbinGenX-KVT User! ------ ",
                                          "Checking Device 1 In " + rig.sim->Path(0) + "............",
                                          "Checking Device 2 In " + rig.sim->Path(1) + "............",
                                          "Checking Device 3 In " + rig.sim->Path(2) + "............"};
  ASSERT_EQ(lines.size(), 7u);
  EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 4), first);
  std::vector<std::string> ids;
  for (u8 k = 0; k < 3; ++k) {
    ids.push_back(rig.sim->IdText(k));
    EXPECT_EQ(Count(lines, "C" + std::to_string(k + 1) + " : Find Device: " + rig.sim->IdText(k) + "!"), 1u)
        << static_cast<int>(k);
  }
  EXPECT_TRUE(rig.boxes.empty());
  EXPECT_EQ(ComboEntries(rig), Paths(rig, 3));
  // The panel shows the identification of the unit that answered last.
  const std::string panel = Find<QLabel>(rig, "InfoPanel").text().toStdString();
  EXPECT_NE(std::find(ids.begin(), ids.end(), panel), ids.end()) << panel;
  EXPECT_EQ(GaugesShownOnWindow(rig), 4);
  EXPECT_EQ(StatusPanel(rig, 0), "File CheckSum: ");
  EXPECT_EQ(StatusPanel(rig, 1), "Chip CheckSum: ");
  EXPECT_EQ(Find<QTabWidget>(rig, "ViewPageCtrl").currentWidget(), &Find<QWidget>(rig, "ChipSett"));
  EXPECT_FALSE(TabShown(rig, "TabSheetEEP"));
  EXPECT_FALSE(TabShown(rig, "TabShtOPB"));
  EXPECT_EQ(Find<QLineEdit>(rig, "MCUNameEdit").text(), "Please select Chip....");
  for (const char* name : {"HexViewer", "EEPDataView", "OptionView"}) {
    SCOPED_TRACE(name);
    auto& grid = Find<QTableView>(rig, name);
    ASSERT_NE(grid.model(), nullptr);
    EXPECT_EQ(grid.model()->columnCount(), 18);
    EXPECT_GE(grid.columnWidth(0), 73);
    EXPECT_GE(grid.columnWidth(17), 130);
    for (int c = 1; c <= 16; ++c) {
      EXPECT_GE(grid.columnWidth(c), 25) << c;
      EXPECT_EQ(grid.model()->headerData(c, Qt::Horizontal).toString(), QStringLiteral("  %1").arg(c - 1, 0, 16).toUpper());
    }
  }
}

TEST(FrameStation, AMissingFirmwareFileIsShownBeforeTimer2StartsAndTheUnitsStillLink) {
  ProgramRig rig;
  rig.Units(std::vector<sim::UnitConfig>(1));
  rig.Make();
  bool timer2RanDuringTheBox = true;
  rig.onBox = [&](const ProgramRig::Box&) { timer2RanDuringTheBox = rig.Timer2Running(); };
  rig.Start();
  const std::string missing = "File \"" + rig.dir.File("QX740VRD.FWR") + "\" not found, Please confirm!";
  ASSERT_EQ(rig.boxes.size(), 1u);
  EXPECT_EQ(rig.boxes[0].text, missing);
  EXPECT_FALSE(timer2RanDuringTheBox);
  EXPECT_EQ(MemoLines(rig), (std::vector<std::string>{"Hello NolbinGenX-KVT User! ------ ", missing}));
  ASSERT_TRUE(rig.RunUntil([&] { return !rig.Timer2Running(); }));
  EXPECT_EQ(rig.Core().Unit(0).Linked, 1);
}

TEST(FrameStation, UnitsUpgradedWhileLinkingAreLinkedAfterTheReSearchAndOnlyThenTimer2Stops) {
  ProgramRig rig;
  std::vector<sim::UnitConfig> configs(3);
  configs[1].OldFirmware = true;
  configs[2].BootLoader = true;
  rig.Units(configs);
  rig.FirmwareFile("V2.4");
  rig.Make();
  // Every re-search waits for the upgrades, with Timer2 still running. (A unit slow to
  // answer the first probe may see a second re-search; the rule holds for each.)
  int reSearches = 0;
  bool runningAndFreeAtEachReSearch = true;
  rig.onSleep = [&](int ms) {
    if (ms != 500) return;
    ++reSearches;
    auto& s = StationProbe::Sessions(rig.Core());
    runningAndFreeAtEachReSearch =
        runningAndFreeAtEachReSearch && rig.Timer2Running() && !s.Unit[1].UpgradeBusy && !s.Unit[2].UpgradeBusy;
  };
  rig.Start();
  ASSERT_TRUE(rig.RunUntil([&] { return !rig.Timer2Running(); }));
  EXPECT_GE(reSearches, 1);
  EXPECT_TRUE(runningAndFreeAtEachReSearch);
  EXPECT_EQ(rig.Core().LinkedCount(), 3);
  const auto lines = MemoLines(rig);
  for (int unit : {2, 3}) {
    SCOPED_TRACE(unit);
    const std::string tag = "C" + std::to_string(unit) + " : ";
    EXPECT_EQ(Count(lines, tag + "Start to Upgrade Programmer " + std::to_string(unit) + "s Firmware......"), 1u);
    EXPECT_EQ(Count(lines, tag + "Programmer " + std::to_string(unit) + "s Firmware Fpgrade Completed!"), 1u);
    EXPECT_EQ(GaugeColourOf(rig, unit - 1), GaugeColour(GaugeState::Ok));
    EXPECT_TRUE(rig.sim->Stats(static_cast<std::size_t>(unit - 1)).FirmwareEnded);
  }
  // Linked with the new firmware: the identification now carries V2.4.
  EXPECT_EQ(Count(lines, "C2 : Find Device: " + rig.sim->IdText(1) + "!"), 1u);
  EXPECT_TRUE(rig.boxes.empty());
}

TEST(FrameStation, AUnitWhoseUpgradeFailsDoesNotKeepTheOthersFromLinking) {
  ProgramRig rig;
  std::vector<sim::UnitConfig> configs(3);
  configs[1].OldFirmware = true;
  // Its first firmware block: the only upgrade, so its second request is that block.
  configs[1].Faults = {{sim::FaultKind::Silence, 2, 0}};
  rig.Units(configs);
  rig.FirmwareFile("V2.4");
  rig.Make();
  rig.Start();
  ASSERT_TRUE(rig.RunUntil([&] { return !rig.Timer2Running(); }));
  for (u8 k = 0; k < 3; ++k) EXPECT_EQ(rig.Core().Unit(k).Linked, 1) << static_cast<int>(k);
  const auto lines = MemoLines(rig);
  EXPECT_EQ(Count(lines, "C2 : Command Executed Time Out!"), 1u);
  EXPECT_EQ(GaugeColourOf(rig, 1), GaugeColour(GaugeState::Failed));
  EXPECT_FALSE(rig.sim->Stats(1).FirmwareEnded);
  // Not started a second time: it works on with its old firmware.
  EXPECT_EQ(Count(lines, "C2 : Start to Upgrade Programmer 2s Firmware......"), 1u);
  EXPECT_EQ(rig.sim->Stats(1).Probes, 2u);  // the search and the re-search
}

TEST(FrameStation, TheSearchShowsOneGaugePerUnitInWholeGroups) {
  ProgramRig rig;
  rig.Units(std::vector<sim::UnitConfig>(10));
  rig.FirmwareFile();
  rig.Make();
  rig.Start();
  ASSERT_TRUE(rig.RunUntil([&] { return !rig.Timer2Running(); }));
  EXPECT_EQ(GaugesShownOnWindow(rig), 10);
  const struct {
    std::size_t units;
    int shown;
  } table[] = {{1, 1}, {3, 4}, {5, 6}, {7, 8}, {10, 10}, {3, 4}};
  for (const auto& row : table) {
    SCOPED_TRACE(row.units);
    WriteConnectionFile(rig, Paths(rig, row.units));
    Click(rig, "BitBtnFindDev");
    EXPECT_EQ(GaugesShownOnWindow(rig), row.shown);
    EXPECT_EQ(ComboEntries(rig), Paths(rig, row.units));
    EXPECT_EQ(Find<QLabel>(rig, "InfoPanel").text(), "Searching Devices............");
    ASSERT_TRUE(rig.RunUntil([&] { return rig.Core().LinkedCount() == row.units; }));
    for (std::size_t k = 0; k < 10; ++k) EXPECT_EQ(rig.Core().PortOpen(static_cast<u8>(k)), k < row.units) << k;
  }
  EXPECT_TRUE(rig.boxes.empty());
}

TEST(FrameStation, ExitClosesEveryOpenPortAndWritesTheLogOnceWithTheSettingsInForce) {
  ProgramRig rig;
  rig.Units(std::vector<sim::UnitConfig>(4));
  WriteConnectionFile(rig, Paths(rig, 3));
  rig.FirmwareFile();
  // Read at start-up: the customer's file, appended to.
  rig.dir.Write("GenLogX.cfg", "[ConfigLog]\r\nEnLog\r\nCustomer\r\nCusDef2\r\nSpcFile=first.log\r\n[EndCfg]\r\n");
  rig.Make();
  rig.Start();
  ASSERT_TRUE(rig.RunUntil([&] { return !rig.Timer2Running(); }));
  EXPECT_EQ(rig.Core().LogConfig().FileName, "first.log");
  EXPECT_EQ(rig.Core().LogConfig().Mode, LogModeAppend);

  // The dialog shows what the start-up read, and what the operator changes there is in force.
  std::string shownName;
  rig.onModal = [&](QDialog& dialog) {
    auto* name = dialog.findChild<QLineEdit*>("EditLogName");
    shownName = name->text().toStdString();
    name->setText("run.log");
    return static_cast<int>(QDialog::Accepted);
  };
  Trigger(rig, "ConfigLogFile1");
  EXPECT_EQ(shownName, "first.log");
  EXPECT_EQ(rig.Core().LogConfig().FileName, "run.log");

  // A port beyond the units in use, opened by hand, is closed as well.
  TComm& extra = StationProbe::Comm(rig.Core(), 7);
  extra.SetCommName(rig.sim->Path(3));
  extra.OpenPort();
  rig.Core().Log().AddInfoLine("marker");
  Click(rig, "SpdBtnExit");
  EXPECT_FALSE(rig.Window().isVisible());
  rig.Window().close();  // a second close writes nothing more
  for (u8 k = 0; k < UnitMax; ++k) EXPECT_FALSE(rig.Core().PortOpen(k)) << static_cast<int>(k);
  std::ifstream in(rig.dir.File("run.log"), std::ios::binary);
  const std::string written((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::string expected = "Dromix Log File!\r\n";
  for (const auto& line : rig.Core().Log().Lines()) expected += line + "\r\n";
  EXPECT_EQ(written, expected);
  EXPECT_FALSE(std::filesystem::exists(rig.dir.File("first.log")));
  EXPECT_TRUE(rig.boxes.empty());
}

// The log that cannot be written at close: a box for the operator; in a run nobody watches
// ("OFF") a log line and the standard error instead, so the close does not wait for ever.
TEST(FrameStation, ALogThatCannotBeWrittenAtCloseIsABoxOnlyWhenSomeoneWatches) {
  for (const bool unattended : {false, true}) {
    SCOPED_TRACE(unattended ? "OFF" : "attended");
    ProgramRig rig;
    rig.Units(std::vector<sim::UnitConfig>(1));
    rig.FirmwareFile();
    rig.dir.Write("GenLogX.cfg", "[ConfigLog]\r\nEnLog\r\nCustomer\r\nCusDef2\r\nSpcFile=none/x.log\r\n[EndCfg]\r\n");
    rig.Make();
    rig.Start();
    ASSERT_TRUE(rig.RunUntil([&] { return !rig.Timer2Running(); }));
    if (unattended) {
      const std::vector<std::string> args = {rig.dir.File("job.pqz"), "OFF"};
      rig.Core().ReadCommandLine(args);
    }
    rig.boxes.clear();
    rig.Window().close();
    const std::string text =
        "Write Log File error! Cannot open file " + rig.dir.File("none/x.log") + " (No such file or directory)";
    std::vector<std::string> boxes;
    for (const auto& b : rig.boxes) boxes.push_back(b.text);
    EXPECT_EQ(boxes, unattended ? std::vector<std::string>{} : std::vector<std::string>{text});
    EXPECT_EQ(rig.errorLines, unattended ? std::vector<std::string>{text} : std::vector<std::string>{});
    const auto& lines = rig.Core().Log().Lines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "> 12:34:56 " + text), unattended ? 1 : 0);
  }
}

TEST(FrameStation, OffLineStartSendsExactlyOneRestartToEveryUnit) {
  ProgramRig rig;
  rig.Units(std::vector<sim::UnitConfig>(3));
  rig.FirmwareFile();
  rig.Make();
  rig.Start();
  ASSERT_TRUE(rig.RunUntil([&] { return !rig.Timer2Running(); }));
  rig.sleeps.clear();
  Trigger(rig, "StartOfflineProgrm1");
  EXPECT_EQ(rig.sleeps, (std::vector<int>{30, 30, 30}));
  EXPECT_EQ(MemoLines(rig).back(), "Start Off-Line Programming......");
  EXPECT_EQ(ComboEntries(rig), Paths(rig, 3));
  ASSERT_TRUE(rig.RunUntil([&] {
    for (std::size_t k = 0; k < 3; ++k) {
      if (!rig.sim->Stats(k).Restarted) return false;
    }
    return true;
  }));
  rig.RunUntil([] { return false; }, 20);  // anything more would arrive meanwhile
  for (std::size_t k = 0; k < 3; ++k) {
    SCOPED_TRACE(k);
    EXPECT_EQ(rig.sim->Stats(k).ByCommand.at(CmdRestart), 1u);
    EXPECT_EQ(rig.sim->Stats(k).Requests, 2u);  // the probe and the restart
  }
  EXPECT_TRUE(rig.boxes.empty());
}

TEST(FrameStation, AHangUpRemovesItsComboEntryAndTheLastOneAsksForADevice) {
  ProgramRig rig;
  rig.Units(std::vector<sim::UnitConfig>(3));
  rig.FirmwareFile();
  rig.Make();
  rig.Start();
  ASSERT_TRUE(rig.RunUntil([&] { return !rig.Timer2Running(); }));
  rig.sim->HangUp(1);
  ASSERT_TRUE(rig.RunUntil([&] { return !rig.Core().PortOpen(1); }));
  EXPECT_EQ(ComboEntries(rig), (std::vector<std::string>{rig.sim->Path(0), rig.sim->Path(2)}));
  rig.sim->HangUp(0);
  rig.sim->HangUp(2);
  ASSERT_TRUE(rig.RunUntil([&] { return !rig.Core().PortOpen(0) && !rig.Core().PortOpen(2); }));
  EXPECT_TRUE(ComboEntries(rig).empty());
  EXPECT_EQ(Find<QComboBox>(rig, "ComboBoxCOM").placeholderText(), "Please Connect device......");
  EXPECT_TRUE(rig.boxes.empty());
}

// Refusals and errors of the frame's commands reach the operator as boxes, and the program
// goes on: also when the error leaves a Timer2 tick.
TEST(FrameStation, RefusalsAndErrorsAreShownAndTheProgramGoesOn) {
  ProgramRig rig;
  rig.Units(std::vector<sim::UnitConfig>(2));
  WriteConnectionFile(rig, {rig.sim->Path(0), rig.dir.File("no-such-port")});
  rig.dir.Write("QX740VRD.FWR", std::string(5000, 'x'));
  rig.Make();
  rig.Start();
  // The damaged firmware file is named at start-up, the port that will not open by the search.
  ASSERT_TRUE(rig.RunUntil([&] { return rig.boxes.size() >= 2; }));
  EXPECT_EQ(rig.boxes[0].text, "Firmware file \"" + rig.dir.File("QX740VRD.FWR") + "\" is not valid, no upgrade started!");
  EXPECT_EQ(rig.boxes[1].kind, MsgKind::Error);
  EXPECT_NE(rig.boxes[1].text.find("no-such-port"), std::string::npos) << rig.boxes[1].text;
  EXPECT_TRUE(rig.Timer2Running());

  WriteConnectionFile(rig, Paths(rig, 2));
  Click(rig, "BitBtnFindDev");
  ASSERT_TRUE(rig.RunUntil([&] { return !rig.Timer2Running(); }));
  EXPECT_EQ(rig.Core().LinkedCount(), 2);

  rig.boxes.clear();
  Trigger(rig, "DoFirmwareUpgrade1");
  ASSERT_EQ(rig.boxes.size(), 1u);
  EXPECT_EQ(rig.boxes[0].text, "Firmware file \"" + rig.dir.File("QX740VRD.FWR") + "\" is not valid, no upgrade started!");

  StationProbe::Sessions(rig.Core()).Unit[1].Busy = 1;
  const std::string refusal = "Busy programmers: 2. Please wait until they have finished!";
  for (const char* action : {"DoFirmwareUpgrade1", "StartOfflineProgrm1"}) {
    SCOPED_TRACE(action);
    rig.boxes.clear();
    Trigger(rig, action);
    ASSERT_EQ(rig.boxes.size(), 1u);
    EXPECT_EQ(rig.boxes[0].text, refusal);
  }
  rig.boxes.clear();
  Click(rig, "BitBtnFindDev");
  ASSERT_EQ(rig.boxes.size(), 1u);
  EXPECT_EQ(rig.boxes[0].text, refusal);
  EXPECT_TRUE(rig.Core().PortOpen(0));
  EXPECT_TRUE(rig.Core().PortOpen(1));
}

TEST(FrameStation, TheViewsShowTheStationsChipModel) {
  ProgramRig rig;
  rig.FirmwareFile();
  rig.Make();
  rig.Start();
  ChipModel& m = StationProbe::Model(rig.Core());
  m.Params.DownloadSize = 0x40;
  m.Params.EepSize = 0x20;
  m.EepImage[3] = 0x5A;
  WindowActions actions;
  RefreshChecksumsAndViews(m, rig.Core().Log(), rig.Window(), actions);
  EXPECT_EQ(StatusPanel(rig, 0).toStdString(), FileChecksumText(m));
  EXPECT_EQ(StatusPanel(rig, 1).toStdString(), ChipChecksumText(m));
  EXPECT_NE(StatusPanel(rig, 1), "Chip CheckSum: ");
  EXPECT_EQ(Find<QTableView>(rig, "HexViewer").model()->rowCount(), 4);
  EXPECT_EQ(Find<QTableView>(rig, "EEPDataView").model()->rowCount(), 2);
  EXPECT_TRUE(TabShown(rig, "TabSheetEEP"));
  auto& programEep = Find<QAbstractButton>(rig, "ChkBoxPrgEEP");
  EXPECT_TRUE(programEep.isChecked());
  m.EepImage[3] = 0xFF;
  Operator& op = rig.Window();
  op.ShowEepData();
  EXPECT_FALSE(programEep.isChecked());

  EXPECT_FALSE(TabShown(rig, "TabShtOPB"));
  ShowOptionData(m, op);
  EXPECT_TRUE(TabShown(rig, "TabShtOPB"));
  EXPECT_EQ(Find<QTableView>(rig, "OptionView").model()->rowCount(), 16);
}

}  // namespace
}  // namespace qx::test
