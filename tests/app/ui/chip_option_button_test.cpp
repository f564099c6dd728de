// The option button and "Show Chip Option Data" in the real program: the family's dialog,
// what its OK and Cancel leave in the option image and in "Program Option Byte", the
// listing that follows.
#include <QComboBox>
#include <algorithm>
#include <array>
#include <functional>
#include <optional>

#include "tests/app/ui/ChipWindowSupport.h"

namespace qx::test {
namespace {

std::string Stamped(const std::string& text) { return "> 12:34:56 " + text; }

struct Bytes {
  std::size_t at;
  std::vector<u8> values;
};

struct OptionCase {
  Maker maker;
  const char* model;
  const char* dialog;    // class of the dialog the button opens
  const char* okButton;  // its OK button
  std::function<void(QDialog&)> edit;
  std::vector<Bytes> written;  // by OK after the edit
  u8 protectBits;
  bool ticked;                          // "Program Option Byte" after OK
  std::size_t lines;                    // lines the follow-up logs
  std::vector<std::string> someLines;  // among them
};

template <class T>
T& In(QDialog& d, const char* name) {
  T* found = d.findChild<T*>(QString::fromLatin1(name));
  if (found == nullptr) throw std::runtime_error(std::string("no dialog control ") + name);
  return *found;
}

const OptionCase kCases[] = {
    {Maker::AutoChip, "AC78013xDxx", "qx::TAC78xOptBForm", "BitBtnOK",
     [](QDialog& d) {
       In<QComboBox>(d, "ComBoxROP").setCurrentIndex(1);
       In<QLineEdit>(d, "EditERP0").setText("0x1234");
     },
     {{0, {0x00, 0xFF, 0xFF, 0xFF}}, {8, {0x34, 0x12, 0xCB, 0xED}}}, 0, true, 1,
     {Stamped("Current Option: FF00 FFFF 1234 FFFF FFFF FFFF FFFF FFFF")}},
    {Maker::AutoChip, "AC78406xFxx", "qx::TAC784xOpbFrm", "BitBtnOK",
     [](QDialog& d) {
       In<QCheckBox>(d, "ChkBoxROP4X").setChecked(true);
       In<QLineEdit>(d, "EditPWRP1").setText("0x1234");
     },
     {{16, {0xFC}}, {128, {0x34, 0x12, 0xFF, 0xFF, 0xFF}}}, 0, true, 0, {}},
    {Maker::Aucu, "AU302NDF51xx", "qx::TAUCUxCfgForm", "BitBtn2",
     [](QDialog& d) { In<QCheckBox>(d, "ChkBoxDnURT1").setChecked(true); },
     {{0, {0xFF}}, {16, {0xFD}}, {20, {0xFF}}, {24, {0xFF}}}, 0, true, 16,
     {"  0x03802010 : FD FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF"}},
    {Maker::Lcm, "LCM32F037K8xx", "qx::TCfgLCMPxOptForm", "BitBtnOK",
     [](QDialog& d) { In<QCheckBox>(d, "ChkBoxWRP00").setChecked(true); },
     {{0, {0xFB, 0x04, 0xFF, 0x00}}, {8, {0xFE, 0x01}}, {16, {0x00, 0xFF}}}, 0, true, 5,
     {"> Chip Option Data:", "      FB 04 FF 00 FF 00 FF 00 FE 01 FF 00 FF 00 FF 00"}},
    {Maker::Spintrol, "SPD1176ZAPW48", "qx::TCfgSPD117xFRM", "BitBtnOK",
     [](QDialog& d) { In<QCheckBox>(d, "ChkBoxLckCP").setChecked(true); },
     {{0, {0x55, 0x55, 0x55, 0x55, 0xFF, 0xFF, 0xFF, 0xFF}}}, 0, false, 0, {}},
    {Maker::Silergy, "SA32B14xx", "qx::TSlgyCfgFrm", "BitBtn2",
     [](QDialog& d) { In<QCheckBox>(d, "ChkBoxSWDRD").setChecked(true); }, {}, 1, true, 2,
     {Stamped("SWD/JTAG直接读取Flash功能已禁止!"), Stamped("SWD/JTAG间接读取Flash功能正常!")}},
};

TEST(OptionButton, OpensTheFamilysDialogCancelWritesNothingOkWritesTheEdits) {
  for (const OptionCase& c : kCases) {
    SCOPED_TRACE(c.model);
    ChipWindow w;
    w.WriteDriver(c.model);
    w.ChooseProgrammatically(c.maker, c.model);
    ChipModel& m = w.Model();
    const std::array<u8, 512> defaults = [&m] {
      std::array<u8, 512> a{};
      std::copy_n(m.OptionImage.begin(), a.size(), a.begin());
      return a;
    }();
    std::string opened;
    bool ok = false;
    w.rig.onModal = [&](QDialog& d) {
      opened = d.metaObject()->className();
      d.show();
      c.edit(d);
      if (ok)
        In<QPushButton>(d, c.okButton).click();
      else
        d.reject();
      return d.result();
    };

    // Cancel after the same edits: the image, the flag and "Program Option Byte" stay as
    // they were, also where the box and the flag disagree (as a project may leave them).
    for (const bool changed : {false, true}) {
      SCOPED_TRACE(changed ? "options changed before" : "options unchanged before");
      m.OptionsChanged = changed ? 1 : 0;
      w.Find<QCheckBox>("CheckBoxOpt").setChecked(!changed);
      opened.clear();
      w.Find<QPushButton>("BtnOptionCfg").click();
      EXPECT_EQ(opened, c.dialog);
      EXPECT_TRUE(std::equal(defaults.begin(), defaults.end(), m.OptionImage.begin()));
      EXPECT_EQ(m.ProtectBits, 0);
      EXPECT_EQ(m.OptionsChanged, changed ? 1 : 0);
      EXPECT_EQ(w.Checked("CheckBoxOpt"), !changed);
      EXPECT_TRUE(w.rig.boxes.empty());
    }

    ok = true;
    opened.clear();
    m.OptionsChanged = 0;
    w.Find<QCheckBox>("CheckBoxOpt").setChecked(!c.ticked);
    const std::size_t before = w.LogLines().size();
    w.Find<QPushButton>("BtnOptionCfg").click();
    EXPECT_EQ(opened, c.dialog);
    for (const Bytes& b : c.written) {
      for (std::size_t i = 0; i < b.values.size(); ++i) EXPECT_EQ(m.OptionImage[b.at + i], b.values[i]) << b.at + i;
    }
    EXPECT_EQ(m.ProtectBits, c.protectBits);
    EXPECT_EQ(w.Checked("CheckBoxOpt"), c.ticked);
    const std::vector<std::string> added(w.LogLines().begin() + static_cast<std::ptrdiff_t>(before), w.LogLines().end());
    EXPECT_EQ(added.size(), c.lines);
    for (const std::string& line : c.someLines) {
      EXPECT_NE(std::find(added.begin(), added.end(), line), added.end()) << line;
    }
    // The option view shows what the dialog wrote.
    EXPECT_EQ(w.TabShown("ViewPageCtrl", "TabShtOPB"), m.Params.OptionCode != 0);
    EXPECT_TRUE(w.rig.boxes.empty());
  }
}

TEST(OptionButton, TheAC784xDialogIsTheOneCreatedAtStartUp) {
  ChipWindow w;
  w.WriteDriver("AC78406xFxx");
  w.ChooseProgrammatically(Maker::AutoChip, "AC78406xFxx");
  QDialog* startUp = w.rig.program->Forms().AC784xOpbFrm.get();
  ASSERT_NE(startUp, nullptr);
  EXPECT_EQ(startUp->parent(), &w.Window());
  for (int press = 0; press < 2; ++press) w.Find<QPushButton>("BtnOptionCfg").click();
  EXPECT_EQ(w.rig.modals, (std::vector<QDialog*>{startUp, startUp}));
}

TEST(OptionButton, ABadFieldKeepsTheDialogOpenAndTheImageAndTheBox) {
  ChipWindow w;
  w.WriteDriver("AC78013xDxx");
  w.ChooseProgrammatically(Maker::AutoChip, "AC78013xDxx");
  ChipModel& m = w.Model();
  const std::vector<u8> image(m.OptionImage.begin(), m.OptionImage.begin() + 128);
  bool stayedOpen = false;
  w.rig.onModal = [&](QDialog& d) {
    d.show();
    In<QComboBox>(d, "ComBoxROP").setCurrentIndex(1);
    In<QLineEdit>(d, "EditERP2").setText("0x12G");
    In<QPushButton>(d, "BitBtnOK").click();
    stayedOpen = d.isVisible();
    d.reject();
    return d.result();
  };
  w.Find<QPushButton>("BtnOptionCfg").click();
  EXPECT_TRUE(stayedOpen);
  ASSERT_EQ(w.rig.boxes.size(), 1u);
  EXPECT_EQ(w.rig.boxes[0].text, "'0x12G' is not a valid integer value");
  EXPECT_TRUE(std::equal(image.begin(), image.end(), m.OptionImage.begin()));
  EXPECT_EQ(m.OptionsChanged, 0);
  EXPECT_FALSE(w.Checked("CheckBoxOpt"));
}

TEST(ShowChipOptionData, ListsTheOptionsOfTheFamiliesThatHaveAListing) {
  struct Case {
    std::optional<Maker> maker;  // none: before any chip is chosen
    const char* model;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {std::nullopt, "", {Stamped("Current Option: 0000 0000 0000 0000 0000 0000 0000 0000")}},
      {Maker::AutoChip, "AC78406xFxx", {Stamped("Current Option: FFFF FFFF FFFF FFFF FFFF FFFF FFFF FFFF")}},
      {Maker::Lcm,
       "LCM32F037K8xx",
       {"", "> Chip Option Data:", "      FB 04 FF 00 FF 00 FF 00 FF 00 FF 00 FF 00 FF 00",
        "      00 FF 00 FF 00 FF 00 FF 00 FF 00 FF 00 FF 00 FF", "      00 FF 00 FF 00 FF 00 FF FF FF FF FF FF FF FF FF"}},
      {Maker::Silergy, "SA32B14xx", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.model);
    ChipWindow w;
    if (c.maker) {
      w.WriteDriver(c.model);
      w.ChooseProgrammatically(*c.maker, c.model);
    }
    const std::size_t before = w.LogLines().size();
    w.Window().Run(&TGenMFrmARM::ShowChipOptionData1Click);
    const std::vector<std::string> added(w.LogLines().begin() + static_cast<std::ptrdiff_t>(before), w.LogLines().end());
    EXPECT_EQ(added, c.lines);
    EXPECT_TRUE(w.rig.boxes.empty());
  }
}

}  // namespace
}  // namespace qx::test
