#pragma once
// A chip chosen as the chip-selection dialog leaves it, a job loaded into it, and the
// pieces the chip reaction and the project commands work on: a program folder that can
// hold flash-driver files, a log with a fixed clock and a recording operator.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "app/ChipReaction.h"
#include "app/ProjectCommands.h"
#include "chips/ChipModelLists.h"
#include "chips/ChipSelect.h"
#include "images/ViewChecksums.h"
#include "programmer/FlashDriver.h"
#include "programmer/RandomSource.h"
#include "tests/app/AppTestSupport.h"
#include "tests/unitsim/SimFiles.h"

namespace qx::test {

inline u8 ListPosition(Maker maker, std::string_view name) {
  const auto models = ModelsOfMaker(IndexOf(maker));
  const auto it = std::find(models.begin(), models.end(), name);
  EXPECT_NE(it, models.end()) << name;
  return static_cast<u8>(it - models.begin());
}

inline void Choose(ChipModel& m, Maker maker, std::string_view name) {
  ASSERT_TRUE(SelectChip(m, IndexOf(maker), name, ListPosition(maker, name))) << name;
}

// The sums an object load takes: of the images, and of the option bytes for a chip that has
// them.
inline void TakeLoadSums(ChipModel& m) {
  MessageLog scratch;
  RefreshChecksums(m, scratch);
  if (m.Params.OptionCode != 0) CalcOptionChecksum(m);
}

// Object data over part of the main flash (so the programmed range ends inside it) and
// over the data flash, as a loaded object file leaves them, with their sums.
inline void LoadJob(ChipModel& m, unsigned seed) {
  ChipParams& p = m.Params;
  p.DownloadSize = p.MainFlashSize / 2 + 3;
  const auto main = RandomBytes(p.DownloadSize, seed);
  std::copy(main.begin(), main.end(), m.MainFlashImage.begin());
  const auto eep = RandomBytes(p.EepDownloadSize, seed + 1);
  std::copy(eep.begin(), eep.end(), m.EepImage.begin());
  m.ObjectLoaded = 1;
  m.ObjectFileName = "/jobs/app-" + std::to_string(seed) + ".hex";
  TakeLoadSums(m);
  m.Sums.FileChecksum = 0x1234500u + seed;
}

struct Bench {
  std::unique_ptr<ChipModel> model = std::make_unique<ChipModel>();
  FlashDriver driver;
  MessageLog log = FixedClockLog();
  ViewRecorder op;
  DefaultRandom random{7};
  ProjectSectionBuffer section{};
  TempDir folder;
  std::string appDir = folder.Dir();
  int& hexResets = op.hexResets;

  ChipReactionEnv Reaction() { return {*model, driver, appDir, log, op}; }

  ProjectEnv Env() {
    ProjectEnv e{*model, driver, appDir, log, op, random, section};
    e.ShortDate = "2024/05/17";
    return e;
  }

  // A valid flash-driver file for the chip name in the program folder, as the unit
  // simulator's --write-driver writes it.
  std::string WriteDriver(std::string_view chipName, const sim::DriverFileSpec& spec = {}) {
    std::filesystem::create_directories(folder.Path() / "DromixDRVs");
    const std::string path = appDir + "DromixDRVs/" + std::string(sim::DriverStemFor(chipName)) + ".KDV";
    EXPECT_TRUE(sim::WriteBytesFile(path, sim::MakeDriverFile(spec))) << path;
    return path;
  }

  std::vector<std::string> MessageTexts() const {
    std::vector<std::string> v;
    for (const auto& m : op.messages) v.push_back(m.text);
    return v;
  }
};

// Every stored control away from its design value: the S/N page in either display, and
// with `on` false the boxes that enable other controls left clear.
inline ProgramControls StoredControls(bool decimal, bool on = true) {
  ProgramControls c;
  c.RadioGpVolt = 0;
  c.RadioGrpSpdF = 1;
  c.CheckBoxOpt = true;
  c.ChkBoxRDP = true;
  c.ChkBoxErsEEP = true;
  c.ChkBoxPrgEEP = true;
  c.RadioGrpRST = 2;
  c.ChkBoxBlkEr = true;
  c.ChkBoxAuto = on;
  c.CheckBoxCtrl = on;
  c.ChkBoxVDD = true;
  c.CheckBoxRun = true;
  c.ChkBoxCpErsM = true;
  c.ChkBoxRunSHT = true;
  c.SpinEditNum = 12345;
  c.SpinEditIn = 900;
  c.SpinEditOut = 1200;
  c.SpinEditVddTim = 250;
  c.SpinEditPWDTim = 70;
  c.SpinEditRTM = 1230;
  c.EditDevAdr = "0x3C";
  c.CheckBoxSN = on;
  c.SNOrderChk = false;
  c.SNEdit1 = decimal ? "4294967041" : "0xFFFFFF01";
  c.GainEdit = "7";
  c.AddrEdit = "0x0003FFF0";
  c.ChkBoxPCSN = true;
  c.ChkBoxSNDP = decimal;
  return c;
}

// One chip of every maker (Meiren's listed once) and what its family shows.
struct MakerRow {
  Maker maker;
  const char* model;
  bool programOption;  // CheckBoxOpt shown by the family
  bool rdpShown;
  bool dataFlash;
};

inline constexpr std::array<MakerRow, 13> kMakerRows{{
    {Maker::AutoChip, "AC78013xDxx", true, false, false},   {Maker::Indie, "IND83209xx", false, false, false},
    {Maker::Lapis, "ML630Q448", false, false, true},         {Maker::Aucu, "AU301LDF51xx", true, false, true},
    {Maker::Meiren, "MR88F102Cx", false, false, true},       {Maker::Lcm, "LCM32F037K8xx", true, false, false},
    {Maker::CmSemi, "BAT32G127GH40xx", false, false, true},  {Maker::Sonix, "SN32F7661BJG", false, false, false},
    {Maker::Spintrol, "SPD1176API56", false, false, true},   {Maker::Lingsi, "LE5010AI", false, false, false},
    {Maker::Silergy, "SA32B14xx", false, true, true},        {Maker::Toshiba, "TMPM4KLFWAUG", false, false, true},
    {Maker::Tea, "TEA32G5800TLF256", false, true, false},
}};

}  // namespace qx::test
