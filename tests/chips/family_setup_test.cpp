#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

#include "tests/chips/ChipTestSupport.h"
#include "tests/chips/WindowStateFixture.h"
#include "chips/ChipModelLists.h"
#include "chips/ChipSelect.h"
#include "chips/FamilySetup.h"
#include "texts/Texts.h"

namespace qx {
namespace {

using test::WindowState;

u8 PositionOf(Maker maker, std::string_view name) {
  const auto models = ChipModelLists[IndexOf(maker)];
  const auto it = std::find(models.begin(), models.end(), name);
  EXPECT_NE(it, models.end()) << name;
  return static_cast<u8>(it - models.begin());
}

// A chip as the chip-selection dialog leaves it.
std::unique_ptr<ChipModel> Chosen(Maker maker, std::string_view name) {
  auto m = test::FreshModel();
  SelectChip(*m, IndexOf(maker), name, PositionOf(maker, name));
  return m;
}

// The same chip as a project load leaves it: the stored state put back field by field on
// a model that has never seen a family select.
std::unique_ptr<ChipModel> Restored(const ChipModel& from) {
  auto m = test::FreshModel();
  m->Params = from.Params;
  m->Control = from.Control;
  m->ChipName = from.ChipName;
  m->ProtectBits = from.ProtectBits;
  m->ChipSelected = 1;
  return m;
}

void Choose(WindowState& w, const ChipModel& m) { w.Apply(ChipChosenChanges(m)); }

struct FamilyRow {
  Maker maker;
  std::string_view model;
  bool optionButton, programOption, programOptionTicked, writeButton, readMenu, writeMenu, showMenu;
  bool chipInfoMenuOnFreshWindow;
  bool configCaptions;  // "Chip Configuration" / "Program Info Page"
  bool rdpShown;
  bool pifShown, pifEnabled;
  int pifIndex;
  bool slgTabShown, slgPageSelected;
  bool dataFlash;
  int voltage;
  bool commands;  // Command menu enabled, Auto/Erase/Program/Download shown
  std::string_view info;
};

constexpr bool Y = true, N = false;

// clang-format off
const FamilyRow kRows[] = {
  // maker            model              btn box tick wrt rd wr show chipInfo cfg rdp pif en idx slg page eep volt cmd info
  {Maker::AutoChip, "AC78013xDxx",      Y, Y, N, Y, Y, Y, Y, Y, N, N, N, N, 0, N, N, N, 1, Y, "Main Flash= 131072Bytes, No EEP."},
  {Maker::Indie,    "IND83209xx",       N, N, N, N, N, N, N, Y, N, N, N, N, 0, N, N, N, 0, Y, "Main Flash= 65536Bytes, No EEP."},
  {Maker::Lapis,    "ML630Q448",        N, N, N, N, N, N, N, N, N, N, N, N, 0, N, N, Y, 0, Y, "Main Flash=524288Byte, EEP=8192Bytes"},
  {Maker::Aucu,     "AU301LDF51xx",     Y, Y, Y, Y, Y, Y, Y, Y, N, N, N, N, 0, N, N, Y, 1, Y, "Main Flash=32768Byte, EEP=8192Bytes"},
  {Maker::Meiren,   "MR88F102Cx",       N, N, N, N, N, N, N, Y, N, N, Y, N, 1, N, N, Y, 1, Y, "Main Flash=131072Byte, EEP=6656Bytes"},
  {Maker::Lcm,      "LCM32F037K8xx",    Y, Y, Y, Y, Y, Y, Y, N, N, N, N, N, 0, N, N, N, 1, Y, "Main Flash= 65536Bytes, No EEP."},
  {Maker::CmSemi,   "BAT32G127GH40xx",  N, N, N, N, N, N, N, N, N, N, N, N, 0, N, N, Y, 0, Y, "Main Flash=131072Byte, EEP=2560Bytes"},
  {Maker::Sonix,    "SN32F7661BJG",     N, N, N, N, N, N, Y, N, N, N, N, N, 0, N, N, N, 0, Y, "Main Flash= 65536Bytes, No EEP."},
  {Maker::Spintrol, "SPD1176API56",     N, N, N, N, N, N, N, N, N, N, N, N, 0, N, N, Y, 1, Y, "Main Flash=131072Byte, EEP=12288Bytes"},
  {Maker::Lingsi,   "LE5010AI",         N, N, N, N, N, N, N, Y, N, N, N, N, 0, N, N, N, 0, N, "Main Flash= 524288Bytes, No EEP."},
  {Maker::Silergy,  "SA32B14xx",        N, N, N, Y, Y, Y, Y, N, Y, Y, N, N, 0, Y, Y, Y, 1, Y, "Main Flash=262144Byte, EEP=131072Bytes"},
  {Maker::Toshiba,  "TMPM4KLFWAUG",     N, N, N, N, N, N, N, N, N, N, N, N, 0, N, N, Y, 1, Y, "Main Flash=131072Byte, EEP=32768Bytes"},
  {Maker::Tea,      "TEA32G5800TLF256", N, N, N, Y, Y, Y, Y, N, Y, Y, N, N, 0, N, Y, N, 1, Y, "Main Flash= 262144Bytes, No EEP."},
};
// clang-format on

// What the window went through before the chip of a row is loaded from a project.
struct History {
  const char* name;
  std::function<void(WindowState&)> run;
  bool chipInfoMenuHidden;  // a family before hid "&Read Chip Information" for good
  bool dataFlashTicked;     // the operator ticked the data-flash boxes
  bool slgPageSelected;     // a set-up selected the customer-information page (it stays)
};

const History kHistories[] = {
    {"fresh window", [](WindowState&) {}, false, false, false},
    {"after a Lingsi chip", [](WindowState& w) { Choose(w, *Chosen(Maker::Lingsi, "LE5110BJ")); }, false, false, false},
    {"after a Silergy chip with every box ticked",
     [](WindowState& w) {
       Choose(w, *Chosen(Maker::Silergy, "SA32B16xx"));
       w["ChkBoxRDP"].Checked = w["ChkBoxPrgEEP"].Checked = w["ChkBoxErsEEP"].Checked = true;
     },
     true, true, true},
    {"after a Shanghai Meiren chip switched to SWE",
     [](WindowState& w) {
       Choose(w, *Chosen(Maker::Meiren, "MR88F105BI"));
       w["RadioGroupPIF"].ItemIndex = 1;
       w["ChkBoxPrgEEP"].Checked = w["ChkBoxErsEEP"].Checked = true;
     },
     false, true, false},
};

void ExpectRow(WindowState& w, const FamilyRow& r, const History& h) {
  EXPECT_EQ(w["BtnOptionCfg"].Visible, r.optionButton);
  EXPECT_EQ(w["CheckBoxOpt"].Visible, r.programOption);
  EXPECT_EQ(w["CheckBoxOpt"].Checked, r.programOptionTicked);
  EXPECT_TRUE(w["CheckBoxOpt"].Enabled);
  EXPECT_EQ(w["SpdBtnWrtOPB"].Visible, r.writeButton);
  EXPECT_EQ(w["ReadOptionByte1"].Visible, r.readMenu);
  EXPECT_EQ(w["WriteOptionByte1"].Visible, r.writeMenu);
  EXPECT_EQ(w["ShowChipOptionData1"].Visible, r.showMenu);
  EXPECT_EQ(w["ReadMG32xxChipID1"].Visible, r.chipInfoMenuOnFreshWindow && !h.chipInfoMenuHidden);
  EXPECT_EQ(Text(w["BtnOptionCfg"].Caption.value_or(TextId::Count_)),
            r.configCaptions ? "Chip Configuration" : "Set Option Byte");
  EXPECT_EQ(Text(w["CheckBoxOpt"].Caption.value_or(TextId::Count_)),
            r.configCaptions ? "Program Info Page" : "Program Option Byte");

  // A hidden control must not act: hidden boxes are clear, the hidden group is on SWD.
  EXPECT_EQ(w["ChkBoxRDP"].Visible, r.rdpShown);
  EXPECT_FALSE(w["ChkBoxRDP"].Checked);
  EXPECT_EQ(w["RadioGroupPIF"].Visible, r.pifShown);
  EXPECT_EQ(w["RadioGroupPIF"].ItemIndex, r.pifIndex);
  if (r.pifShown) {
    EXPECT_EQ(w["RadioGroupPIF"].Enabled, r.pifEnabled);
  }

  EXPECT_EQ(w["TabSheetSLG"].Visible, r.slgTabShown);
  EXPECT_EQ(w["TabSheetSLG"].Selected, r.slgPageSelected || h.slgPageSelected);
  for (const char* name : {"ChkBoxPrgEEP", "ChkBoxErsEEP", "TabSheetEEP", "ReadEEPMemory1", "LoadEepDataFile1",
                           "WriteEepDataMemory1", "SaveEepDatatoFile1"}) {
    EXPECT_EQ(w[name].Visible, r.dataFlash) << name;
  }
  EXPECT_EQ(w["ChkBoxPrgEEP"].Checked, r.dataFlash && h.dataFlashTicked);
  EXPECT_EQ(w["ChkBoxErsEEP"].Checked, r.dataFlash && h.dataFlashTicked);

  EXPECT_EQ(w["RadioGpVolt"].ItemIndex, r.voltage);
  EXPECT_TRUE(w["RadioGpVolt"].Enabled);
  EXPECT_FALSE(w["LabelDEVA"].Visible);
  EXPECT_FALSE(w["EditDevAdr"].Visible);
  EXPECT_EQ(w["Execute2"].Enabled, r.commands);
  for (const char* name : {"AutoSpdBtn", "SpdBtnErase", "SpdBtnProg", "SpdBtnDownLoad"}) {
    EXPECT_EQ(w[name].Visible, r.commands) << name;
  }
  EXPECT_EQ(w["DpCpInfX"].Text, r.info);
}

TEST(ChipChosenControls, OneModelOfEachMakerAfterEachHistory) {
  for (const History& h : kHistories) {
    for (const FamilyRow& r : kRows) {
      SCOPED_TRACE(std::string(h.name) + ", " + std::string(r.model));
      const auto chosen = Chosen(r.maker, r.model);
      ASSERT_EQ(chosen->ChipSelected, 1);
      const auto restored = Restored(*chosen);
      // Through the dialog and as a project restores it: the same window.
      for (const ChipModel* m : {chosen.get(), restored.get()}) {
        WindowState w;
        h.run(w);
        Choose(w, *m);
        ExpectRow(w, r, h);
      }
    }
  }
}

// Whatever the operator ticked before, no listed model leaves a hidden box ticked or the
// hidden interface group on SWE; the settings collection reads them all.
TEST(ChipChosenControls, NoListedModelLeavesAHiddenControlActing) {
  for (std::size_t maker = 0; maker < MakerCount; ++maker) {
    const auto models = ChipModelLists[maker];
    for (std::size_t i = 0; i < models.size(); ++i) {
      SCOPED_TRACE(std::string(models[i]));
      auto m = test::FreshModel();
      SelectChip(*m, static_cast<u8>(maker), models[i], static_cast<u8>(i));
      WindowState w;
      for (const char* name : {"ChkBoxRDP", "CheckBoxOpt", "ChkBoxPrgEEP", "ChkBoxErsEEP"}) w[name].Checked = true;
      w["RadioGroupPIF"].ItemIndex = 1;
      Choose(w, *m);
      for (const char* name : {"ChkBoxRDP", "CheckBoxOpt", "ChkBoxPrgEEP", "ChkBoxErsEEP"}) {
        if (!w[name].Visible) {
          EXPECT_FALSE(w[name].Checked) << name;
        }
      }
      if (!w["RadioGroupPIF"].Visible) {
        EXPECT_EQ(w["RadioGroupPIF"].ItemIndex, 0);
      }
    }
  }
}

TEST(ChipChosenControls, ShanghaiMeirenInterfaceFollowsTheModel) {
  struct Case {
    std::string_view model;
    bool enabled;
    int index;  // 0 SWD, 1 SWE
  };
  for (const Case& c : {Case{"MR88F102Cx", false, 1}, Case{"MR88F105BI", true, 0}, Case{"MR88FE02Cx", false, 1},
                        Case{"MR88FH05DI", true, 0}}) {
    SCOPED_TRACE(std::string(c.model));
    WindowState w;
    Choose(w, *Chosen(Maker::Meiren, c.model));
    EXPECT_TRUE(w["RadioGroupPIF"].Visible);
    EXPECT_EQ(w["RadioGroupPIF"].Enabled, c.enabled);
    EXPECT_EQ(w["RadioGroupPIF"].ItemIndex, c.index);
  }
}

TEST(ChipChosenControls, VoltageFollowsPowerFlagsBitZero) {
  for (const auto& [flags, index] :
       {std::pair{u8{0x81}, 1}, std::pair{u8{0x80}, 0}, std::pair{u8{0x00}, 0}, std::pair{u8{0x01}, 1}}) {
    auto m = Chosen(Maker::AutoChip, "AC7811QJxx");
    m->Control.PowerFlags = flags;
    WindowState w;
    w["RadioGpVolt"].ItemIndex = 1 - index;
    Choose(w, *m);
    EXPECT_EQ(w["RadioGpVolt"].ItemIndex, index) << int{flags};
  }
}

// The customer information block takes the last 192 bytes of the main flash.
TEST(ChipChosenControls, SilergyCustomerInformationDefaultsFollowTheMainFlashSize) {
  struct Case {
    u32 size;
    std::string_view sumy, apae;
  };
  for (const Case& c :
       {Case{0x20000, "0x1FF40", "0x1FF3F"}, Case{153599, "0x1FF40", "0x1FF3F"}, Case{153600, "0x3FF40", "0x3FF3F"},
        Case{0x40000, "0x3FF40", "0x3FF3F"}, Case{0x40FFF, "0x3FF40", "0x3FF3F"}, Case{0x41000, "0x7FF40", "0x7FF3F"},
        Case{0x80000, "0x7FF40", "0x7FF3F"}}) {
    SCOPED_TRACE(c.size);
    auto m = Chosen(Maker::Silergy, "SA32B16xx");
    m->Params.MainFlashSize = c.size;
    WindowState w;
    Choose(w, *m);
    EXPECT_EQ(w["EditBTAS"].Text, "0x0000");
    EXPECT_EQ(w["EditBTAE"].Text, "0x9FFF");
    EXPECT_EQ(w["EditAPAS"].Text, "0xA000");
    EXPECT_EQ(w["EditSumy"].Text, c.sumy);
    EXPECT_EQ(w["EditAPAE"].Text, c.apae);
  }
  // The three models carry the three sizes.
  for (const auto& [model, sumy] :
       {std::pair{"SA32B16xx", "0x7FF40"}, std::pair{"SA32B14xx", "0x3FF40"}, std::pair{"SA32B12xx", "0x1FF40"}}) {
    WindowState w;
    Choose(w, *Chosen(Maker::Silergy, model));
    EXPECT_EQ(w["EditSumy"].Text, sumy) << model;
  }
}

TEST(ChipChosenControls, UnknownMakerIndexTakesTheSilergySetUpWithoutItsTab) {
  auto m = Restored(*Chosen(Maker::Silergy, "SA32B12xx"));
  m->Params.ManufacturerIndex = 200;
  WindowState w;
  Choose(w, *m);
  EXPECT_TRUE(w["ChkBoxRDP"].Visible);
  EXPECT_TRUE(w["TabSheetSLG"].Selected);
  EXPECT_FALSE(w["TabSheetSLG"].Visible);
  EXPECT_FALSE(w["RadioGroupPIF"].Visible);
  EXPECT_EQ(w["EditSumy"].Text, "0x1FF40");
}

TEST(ChipChosenControls, SetUpRoutinesMatchTheDispatchAndTouchNothingElse) {
  const std::pair<Maker, std::function<WindowChanges(const ChipModel&)>> routines[] = {
      {Maker::AutoChip, SetupUiAC78x}, {Maker::Indie, SetupUiIndie},     {Maker::Lapis, SetupUiLapis},
      {Maker::Aucu, SetupUiAucu},      {Maker::Meiren, SetupUiMeiren},   {Maker::Lcm, SetupUiLcmp},
      {Maker::CmSemi, SetupUiCmSemi},  {Maker::Sonix, SetupUiSonix},     {Maker::Spintrol, SetupUiSpintrol},
      {Maker::Lingsi, SetupUiLingsi},  {Maker::Silergy, SetupUiSilergy}, {Maker::Toshiba, SetupUiToshiba},
      {Maker::Tea, SetupUiSilergy},
  };
  for (const auto& [maker, routine] : routines) {
    const auto m = Chosen(maker, ChipModelLists[IndexOf(maker)][0]);
    const WindowChanges own = routine(*m);
    const WindowChanges dispatched = SetupUiOfChip(*m);
    ASSERT_EQ(own.size(), dispatched.size()) << int{IndexOf(maker)};
    for (std::size_t i = 0; i < own.size(); ++i) EXPECT_EQ(own[i].Name, dispatched[i].Name);
    // The reaction's step names none of the data-flash controls or the tabs' visibility.
    for (const ControlChange& c : own) {
      EXPECT_NE(c.Name, "TabSheetEEP");
      EXPECT_FALSE(c.Name == "TabSheetSLG" && c.Visible.has_value());
    }
  }
}

}  // namespace
}  // namespace qx
