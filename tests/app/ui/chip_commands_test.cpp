// Choosing a chip in the real program: the window adapts to the chip's family, logs the
// chip's layout, loads its flash driver; the dialog's Cancel, busy units and hidden
// controls.
#include <QLabel>
#include <QPlainTextEdit>
#include <QStandardItemModel>
#include <functional>

#include "app/ProgramSettings.h"
#include "app/ui/WindowControls.h"
#include "programmer/OnlineChains.h"
#include "tests/app/ui/ChipWindowSupport.h"
#include "texts/Texts.h"

namespace qx::test {
namespace {

std::string Stamped(const std::string& text) { return "> 12:34:56 " + text; }

// Which option controls a family shows, and the chip-information menu item.
struct OptionControls {
  bool button, box, boxTicked, writeButton, readMenu, writeMenu, showMenu, chipInfoMenu;
};
constexpr OptionControls kAC78x{true, true, false, true, true, true, true, true};
constexpr OptionControls kAucu{true, true, true, true, true, true, true, true};
constexpr OptionControls kLcmp{true, true, true, true, true, true, true, false};
constexpr OptionControls kNone{false, false, false, false, false, false, false, true};
constexpr OptionControls kNoneNoChipInfo{false, false, false, false, false, false, false, false};
constexpr OptionControls kSonix{false, false, false, false, false, false, true, false};
constexpr OptionControls kSilergy{false, false, false, true, true, true, true, false};

struct Designed {
  Maker maker;
  const char* model;
  u32 mainStart, mainSize, eepStart, eepSize;
  bool optionData;  // the option-data tab
  int volt;         // RadioGpVolt
  OptionControls options;
  int pifIndex = 0;  // RadioGroupPIF, put on "SWD" where it is hidden
  bool pifEnabled = false;
};

const Designed kDesigned[] = {
    {Maker::AutoChip, "AC78013xDxx", 0x08000000, 0x20000, 0, 0, true, 1, kAC78x},
    {Maker::Indie, "IND83209xx", 0, 0x10000, 0, 0, false, 0, kNone},
    {Maker::Lapis, "ML630Q448", 0x10000000, 0x80000, 0x18000000, 0x2000, false, 0, kNoneNoChipInfo},
    {Maker::Aucu, "AU302NDF51xx", 0x03000000, 0x8000, 0x03026000, 0x2000, true, 1, kAucu},
    {Maker::Meiren, "MR88FA02Cx", 0, 0x20000, 0x1FFFE000, 0x1A00, false, 1, kNone, 1, false},
    {Maker::Meiren, "MR88F705CI", 0, 0x20000, 0x1FFFE000, 0x1A00, false, 1, kNone, 0, true},
    {Maker::Lcm, "LCM32F037K8xx", 0x08000000, 0x10000, 0, 0, true, 1, kLcmp},
    {Maker::CmSemi, "BAT32G157GK48xx", 0, 0x20000, 0x500000, 0x400, false, 0, kNoneNoChipInfo},
    {Maker::Sonix, "SN32F7661BJG", 0, 0x10000, 0, 0, false, 0, kSonix},
    {Maker::Spintrol, "SPD1176ZAPW48", 0x10000000, 0x20000, 0x11002000, 0x3000, false, 1, kNoneNoChipInfo},
    {Maker::Lingsi, "LE5010AI", 0x18000000, 0x80000, 0, 0, false, 0, kNone},
    {Maker::Silergy, "SA32B14xx", 0, 0x40000, 0x20020000, 0x20000, true, 1, kSilergy},
    {Maker::Toshiba, "TMPM4KLFWAUG", 0, 0x20000, 0x30000000, 0x8000, false, 1, kNoneNoChipInfo},
    {Maker::Tea, "TEA32G5800TLF256", 0x08000000, 0x40000, 0, 0, true, 1, kSilergy},
};

const Designed& DesignedOf(Maker maker) {
  for (const Designed& d : kDesigned) {
    if (d.maker == maker) return d;
  }
  throw std::logic_error("no row");
}

std::vector<std::string> ExpectedLog(const Designed& d) {
  std::vector<std::string> l = {
      Stamped(Tx(TextId::ChipSelectedLine, d.model)),
      Stamped(Tx(TextId::ChipMainEepSizes, d.mainSize, d.eepSize)),
      "",
      Stamped("Chip Main Flash Memory Size = " + std::to_string(d.mainSize) + "Bytes."),
      Stamped("Chip Main Flash Start Address = " + Hex8(d.mainStart) + "."),
      Stamped("Chip Main Flash End Address  = " + Hex8(d.mainStart + d.mainSize - 1) + "."),
  };
  if (d.eepSize > 0) {
    l.push_back("");
    l.push_back(Stamped("Chip EEP Data Start Address = " + Hex8(d.eepStart) + "."));
    l.push_back(Stamped(Tx(TextId::ChipEepEndLine, d.eepStart + d.eepSize - 1)));
  }
  return l;
}

void ExpectDesignedWindow(ChipWindow& w, const Designed& d) {
  EXPECT_EQ(w.TextOf("MCUNameEdit"), d.model);
  const OptionControls& o = d.options;
  EXPECT_EQ(w.Shown("BtnOptionCfg"), o.button);
  EXPECT_EQ(w.Shown("CheckBoxOpt"), o.box);
  EXPECT_EQ(w.Checked("CheckBoxOpt"), o.boxTicked);
  EXPECT_TRUE(w.Find<QWidget>("CheckBoxOpt").isEnabled());
  EXPECT_EQ(w.Shown("SpdBtnWrtOPB"), o.writeButton);
  EXPECT_EQ(w.Find<QAction>("ReadOptionByte1").isVisible(), o.readMenu);
  EXPECT_EQ(w.Find<QAction>("WriteOptionByte1").isVisible(), o.writeMenu);
  EXPECT_EQ(w.Find<QAction>("ShowChipOptionData1").isVisible(), o.showMenu);
  EXPECT_EQ(w.Find<QAction>("ReadMG32xxChipID1").isVisible(), o.chipInfoMenu);

  const bool silergyFamily = d.maker == Maker::Silergy || d.maker == Maker::Tea;
  EXPECT_EQ(w.Shown("ChkBoxRDP"), silergyFamily);
  EXPECT_FALSE(w.Checked("ChkBoxRDP"));
  EXPECT_EQ(w.TextOf("BtnOptionCfg"), silergyFamily ? "Chip Configuration" : "Set Option Byte");
  EXPECT_EQ(w.TextOf("CheckBoxOpt"), silergyFamily ? "Program Info Page" : "Program Option Byte");
  // Only Silergy shows the customer-information page; TEA's set-up selects it but the page
  // control stays on a page the operator can see.
  const bool silergy = d.maker == Maker::Silergy;
  EXPECT_EQ(w.TabShown("PageControlSet", "TabSheetSLG"), silergy);
  EXPECT_EQ(w.CurrentPage("PageControlSet"), &w.Find<QWidget>(silergy ? "TabSheetSLG" : "TabSheetSN"));
  if (silergyFamily) {
    const QString block = d.mainSize == 0x40000 ? "0x3FF40" : "0x1FF40";
    EXPECT_EQ(w.TextOf("EditSumy"), block);
    EXPECT_EQ(w.TextOf("EditAPAE"), d.mainSize == 0x40000 ? "0x3FF3F" : "0x1FF3F");
    EXPECT_EQ(w.TextOf("EditBTAS"), "0x0000");
    EXPECT_EQ(w.TextOf("EditBTAE"), "0x9FFF");
    EXPECT_EQ(w.TextOf("EditAPAS"), "0xA000");
  }

  const bool lingsi = d.maker == Maker::Lingsi;
  for (const char* button : {"AutoSpdBtn", "SpdBtnErase", "SpdBtnProg", "SpdBtnDownLoad"}) {
    EXPECT_EQ(w.Shown(button), !lingsi) << button;
  }
  EXPECT_EQ(w.Find<QMenu>("Execute2").isEnabled(), !lingsi);
  EXPECT_EQ(w.Find<QAction>("Download1").isEnabled(), !lingsi);
  EXPECT_TRUE(w.Shown("SpdBtnBlankChk"));
  EXPECT_TRUE(w.Shown("SpdBtnVerify"));

  const auto& pif = w.Find<TRadioGroup>("RadioGroupPIF");
  EXPECT_EQ(!pif.isHidden(), d.maker == Maker::Meiren);
  EXPECT_EQ(pif.ItemIndex(), d.pifIndex);
  if (d.maker == Maker::Meiren) {
    EXPECT_EQ(pif.isEnabled(), d.pifEnabled);
  }
  const auto& volt = w.Find<TRadioGroup>("RadioGpVolt");
  EXPECT_EQ(volt.ItemIndex(), d.volt);
  EXPECT_TRUE(volt.isEnabled());
  EXPECT_FALSE(w.Shown("LabelDEVA"));
  EXPECT_FALSE(w.Shown("EditDevAdr"));

  const bool eep = d.eepSize > 0;
  EXPECT_EQ(w.Shown("ChkBoxPrgEEP"), eep);
  EXPECT_EQ(w.Shown("ChkBoxErsEEP"), eep);
  EXPECT_EQ(w.TabShown("ViewPageCtrl", "TabSheetEEP"), eep);
  for (const char* item : {"ReadEEPMemory1", "LoadEepDataFile1", "WriteEepDataMemory1", "SaveEepDatatoFile1"}) {
    EXPECT_EQ(w.Find<QAction>(item).isVisible(), eep) << item;
  }
  EXPECT_EQ(w.TabShown("ViewPageCtrl", "TabShtOPB"), d.optionData);
  EXPECT_EQ(w.Find<QLabel>("DpCpInfX").text().toStdString(),
            eep ? Tx(TextId::ChipMainEepSizes, d.mainSize, d.eepSize) : "Main Flash= " + std::to_string(d.mainSize) + "Bytes, No EEP.");
}

TEST(ChipChoice, EachMakersChipSetsUpTheWindowAndLogsItsLayout) {
  for (const Designed& d : kDesigned) {
    // The dialog offers the Silergy models only; every chip also comes as a project brings it.
    for (const bool throughDialog : {false, true}) {
      if (throughDialog && d.maker != Maker::Silergy) continue;
      SCOPED_TRACE(std::string(d.model) + (throughDialog ? " through the dialog" : " set as a project sets it"));
      ChipWindow w;
      w.WriteDriver(d.model);
      const std::size_t before = w.LogLines().size();
      if (throughDialog)
        w.ChooseInDialog(d.model);
      else
        w.ChooseProgrammatically(d.maker, d.model);

      ExpectDesignedWindow(w, d);
      const std::vector<std::string> added(w.LogLines().begin() + static_cast<std::ptrdiff_t>(before), w.LogLines().end());
      EXPECT_EQ(added, ExpectedLog(d));
      w.rig.Window().RepaintViews();
      EXPECT_TRUE(w.Find<QPlainTextEdit>("InfoMemo").toPlainText().contains(QString::fromStdString(ExpectedLog(d)[0])));
      EXPECT_TRUE(w.rig.boxes.empty()) << w.rig.boxes.front().text;
      EXPECT_EQ(w.rig.Core().Driver().DriverLoaded, d.maker == Maker::Aucu ? 0 : 1);
      EXPECT_EQ(w.Model().Params.ManufacturerIndex, IndexOf(d.maker));
    }
  }
}

TEST(ChipChoice, AChangedChipNameRunsTheReaction) {
  ChipWindow w;
  auto& name = w.Find<QLineEdit>("MCUNameEdit");
  // No chip chosen: only the option-data tab is hidden.
  w.Window().ShowOptionData();
  ASSERT_TRUE(w.TabShown("ViewPageCtrl", "TabShtOPB"));
  const std::size_t before = w.LogLines().size();
  name.setText(QString::fromStdString(w.Model().ChipName));
  EXPECT_FALSE(w.TabShown("ViewPageCtrl", "TabShtOPB"));
  EXPECT_EQ(w.LogLines().size(), before);

  // A chip in the model whose name the field now shows.
  const Designed& d = DesignedOf(Maker::Aucu);
  test::Choose(w.Model(), d.maker, d.model);
  name.setText(QString::fromLatin1(d.model));
  ExpectDesignedWindow(w, d);
  const std::vector<std::string> added(w.LogLines().begin() + static_cast<std::ptrdiff_t>(before), w.LogLines().end());
  EXPECT_EQ(added, ExpectedLog(d));
}

class RecordingRefresh : public GridRefresh {
 public:
  void ShowRange(u32, u32) override { calls.push_back("range"); }
  void UpdateRows(u32, u32) override { calls.push_back("rows"); }
  void Reload() override { calls.push_back("reload"); }
  void ShowHeaderOnly() override { calls.push_back("header"); }
  std::vector<std::string> calls;
};

TEST(ChipChoice, TheGridsGoBackToTheirHeaderAndTheOptionViewIsShown) {
  ChipWindow w;
  QStandardItemModel model(1, HexGridColumns);
  RecordingRefresh main, eep, option;
  w.Window().AttachGridModel(HexGrid::Main, model, main);
  w.Window().AttachGridModel(HexGrid::Eep, model, eep);
  w.Window().AttachGridModel(HexGrid::Option, model, option);
  w.WriteDriver("SA32B14xx");
  w.ChooseInDialog("SA32B14xx");
  EXPECT_EQ(main.calls, std::vector<std::string>{"header"});
  EXPECT_EQ(eep.calls, std::vector<std::string>{"header"});
  EXPECT_EQ(option.calls, std::vector<std::string>{"reload"});
  EXPECT_TRUE(w.TabShown("ViewPageCtrl", "TabShtOPB"));

  // A chip without option data hides the tab again.
  w.ChooseProgrammatically(Maker::Indie, "IND83209xx");
  EXPECT_EQ(option.calls, std::vector<std::string>{"reload"});
  EXPECT_FALSE(w.TabShown("ViewPageCtrl", "TabShtOPB"));
}

TEST(ChipChoice, CancelOrOkWithoutAModelChangesNothing) {
  struct Case {
    const char* name;
    bool chipBefore;
    std::function<void(QDialog&)> leave;
  };
  const Case cases[] = {
      {"Cancel after picking another model", true,
       [](QDialog& d) {
         d.findChild<QListWidget*>("ListBoxCP")->setCurrentRow(2);
         d.findChild<QPushButton*>("BitBtnNO")->click();
       }},
      {"OK without a model, then the close box", true,
       [](QDialog& d) {
         auto* list = d.findChild<QListWidget*>("ListBoxCP");
         list->setCurrentRow(-1);
         list->clearSelection();
         d.findChild<QPushButton*>("BitBtnOK")->click();
         EXPECT_TRUE(d.isVisible());  // the dialog stays open
         d.reject();
       }},
      // The field held the start-up prompt: it shows the (empty) chip name again.
      {"No before any chip was chosen", false, [](QDialog& d) { d.findChild<QPushButton*>("BitBtnNO")->click(); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ChipWindow w;
    if (c.chipBefore) {
      w.ChooseProgrammatically(Maker::Lcm, "LCM32F037K8xx");
      w.Model().ObjectLoaded = 1;
    } else {
      ASSERT_NE(w.TextOf("MCUNameEdit"), "");
    }
    const ChipParams params = w.Model().Params;
    const std::string name = w.Model().ChipName;
    const u8 loaded = w.Model().ObjectLoaded;
    const std::size_t lines = w.LogLines().size();
    w.rig.onModal = [&c](QDialog& d) {
      d.show();
      c.leave(d);
      return d.result();
    };
    w.Find<QPushButton>("DevButton").click();
    ASSERT_EQ(w.rig.modals.size(), 1u);
    EXPECT_EQ(w.Model().Params.ManufacturerIndex, params.ManufacturerIndex);
    EXPECT_EQ(w.Model().ChipName, name);
    EXPECT_EQ(w.Model().Params.MainFlashSize, params.MainFlashSize);
    EXPECT_EQ(w.Model().Params.DownloadSize, params.DownloadSize);
    EXPECT_EQ(w.Model().ObjectLoaded, loaded);
    EXPECT_EQ(w.TextOf("MCUNameEdit").toStdString(), name);
    EXPECT_EQ(w.LogLines().size(), lines);
    if (c.chipBefore) {
      EXPECT_TRUE(w.Shown("BtnOptionCfg"));  // the LCM set-up still stands
    } else {
      EXPECT_FALSE(w.TabShown("ViewPageCtrl", "TabShtOPB"));
    }
  }
}

TEST(ChipChoice, TheSameModelAgainRunsTheReactionAgain) {
  ChipWindow w;
  w.WriteDriver("SA32B14xx");
  w.ChooseInDialog("SA32B14xx");
  ASSERT_EQ(w.rig.Core().Driver().DriverLoaded, 1);
  w.Find<QLineEdit>("EditSumy").setText("0x12345");
  w.Model().ObjectLoaded = 1;
  // The driver file went away meanwhile: the second choice finds that out.
  std::filesystem::remove_all(w.rig.dir.Path() / "DromixDRVs");
  const std::size_t lines = w.LogLines().size();

  w.ChooseInDialog("SA32B14xx");
  ASSERT_EQ(w.rig.boxes.size(), 1u);
  EXPECT_EQ(w.rig.boxes[0].kind, MsgKind::Error);
  EXPECT_EQ(w.rig.boxes[0].text, "File \"" + w.rig.dir.Dir() + "DromixDRVs/DRVSILRGY2X.KDV\" is not exists, please check it!");
  EXPECT_EQ(w.rig.Core().Driver().DriverLoaded, 0);
  EXPECT_EQ(w.Model().ObjectLoaded, 0);
  EXPECT_EQ(w.TextOf("EditSumy"), "0x3FF40");
  // The rest of the reaction ran on after the box.
  ASSERT_GT(w.LogLines().size(), lines);
  EXPECT_EQ(w.LogLines()[lines], Stamped("Chip \"SA32B14xx\" has been selected!"));
  EXPECT_EQ(w.LogLines().size() - lines, ExpectedLog(DesignedOf(Maker::Silergy)).size());
  EXPECT_TRUE(w.TabShown("PageControlSet", "TabSheetSLG"));
}

TEST(ChipChoice, RefusedWhileAUnitIsBusy) {
  ChipWindow w(std::vector<sim::UnitConfig>(2));
  ASSERT_TRUE(w.rig.LinkUnits());
  w.WriteDriver("SA32B14xx");
  w.ChooseInDialog("SA32B14xx");
  ASSERT_EQ(w.rig.modals.size(), 1u);
  // Unit 2 takes its blank check and never answers; unit 1 finishes.
  w.rig.sim->SetFaults(1, {{sim::FaultKind::Silence, 0, 0}});
  w.rig.Core().StartWritingCommand(StartBlankCheck, AutoChainRule::Keep);
  ASSERT_TRUE(w.rig.RunUntil([&] { return !w.rig.Core().Unit(0).Busy; }));
  ASSERT_TRUE(w.rig.Core().Unit(1).Busy);
  const std::size_t lines = w.LogLines().size();

  w.ChooseInDialog("SA32B12xx");
  EXPECT_EQ(w.rig.modals.size(), 1u);  // no dialog this time
  ASSERT_EQ(w.rig.boxes.size(), 1u);
  EXPECT_EQ(w.rig.boxes[0].kind, MsgKind::Warning);
  EXPECT_EQ(w.rig.boxes[0].text, "Busy programmers: 2. Please wait until they have finished!");
  EXPECT_EQ(w.Model().ChipName, "SA32B14xx");
  EXPECT_EQ(w.TextOf("MCUNameEdit"), "SA32B14xx");
  EXPECT_EQ(w.LogLines().size(), lines);
}

TEST(ChipChoice, HiddenControlsDoNotActForTheNextChip) {
  ChipWindow w;
  // Read protection ticked for a Silergy job: its option write is on.
  w.WriteDriver("SA32B14xx");
  w.ChooseInDialog("SA32B14xx");
  w.Find<QCheckBox>("ChkBoxRDP").click();
  CollectProgramSettings(ReadProgramControls(w.Window()), w.Model(), w.rig.Core().Log());
  ASSERT_EQ(w.Model().Control.ProgramFlags & 0x40, 0x40);
  // An AutoChip chip after it, "Program Option Byte" unticked by its set-up.
  w.ChooseProgrammatically(Maker::AutoChip, "AC78013xDxx");
  CollectProgramSettings(ReadProgramControls(w.Window()), w.Model(), w.rig.Core().Log());
  EXPECT_EQ(w.Model().Control.ProgramFlags & 0x40, 0);
  EXPECT_EQ(w.Model().ProgramOptionBytes, 0);

  // "SWE" chosen for a Shanghai Meiren chip drives it on SWE; the next family's chip is
  // driven on the interface its family sets.
  w.ChooseProgrammatically(Maker::Meiren, "MR88F705CI");
  w.Find<TRadioGroup>("RadioGroupPIF").SetItemIndex(1);
  CollectProgramSettings(ReadProgramControls(w.Window()), w.Model(), w.rig.Core().Log());
  ASSERT_EQ(w.Model().Control.InterfaceFlags & 1, 1);
  w.ChooseProgrammatically(Maker::AutoChip, "AC78013xDxx");
  CollectProgramSettings(ReadProgramControls(w.Window()), w.Model(), w.rig.Core().Log());
  EXPECT_EQ(w.Model().Control.InterfaceFlags & 1, 0);
}

TEST(ChipChoice, AFamilysRestrictionsGoWithTheNextChipButHiddenChipInfoStaysHidden) {
  ChipWindow w;
  for (const char* chip : {"LE5010AI", "SA32B14xx", "TEA32G5800TLF256"}) w.WriteDriver(chip);
  w.ChooseProgrammatically(Maker::Lingsi, "LE5010AI");
  ASSERT_FALSE(w.Shown("SpdBtnDownLoad"));
  ASSERT_TRUE(w.Find<QAction>("ReadMG32xxChipID1").isVisible());

  w.ChooseInDialog("SA32B14xx");
  for (const char* button : {"AutoSpdBtn", "SpdBtnErase", "SpdBtnProg", "SpdBtnDownLoad", "SpdBtnWrtOPB"}) {
    EXPECT_TRUE(w.Shown(button)) << button;
  }
  EXPECT_TRUE(w.Find<QMenu>("Execute2").isEnabled());
  EXPECT_TRUE(w.Find<QAction>("AutoProgram1").isEnabled());
  EXPECT_EQ(w.CurrentPage("PageControlSet"), &w.Find<QWidget>("TabSheetSLG"));

  // TEA hides the customer-information page that was in front: another page comes forward.
  w.ChooseProgrammatically(Maker::Tea, "TEA32G5800TLF256");
  EXPECT_FALSE(w.TabShown("PageControlSet", "TabSheetSLG"));
  QWidget* page = w.CurrentPage("PageControlSet");
  ASSERT_NE(page, nullptr);
  EXPECT_NE(page, &w.Find<QWidget>("TabSheetSLG"));
  EXPECT_TRUE(w.Find<QTabWidget>("PageControlSet").isTabVisible(w.Find<QTabWidget>("PageControlSet").indexOf(page)));

  // Silergy hid "Read Chip Information"; AutoChip leaves it as it is.
  w.ChooseProgrammatically(Maker::AutoChip, "AC78013xDxx");
  EXPECT_FALSE(w.Find<QAction>("ReadMG32xxChipID1").isVisible());
  EXPECT_FALSE(w.Shown("ChkBoxRDP"));
}

}  // namespace
}  // namespace qx::test
