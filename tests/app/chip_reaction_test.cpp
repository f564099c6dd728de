// The main window's reaction to a chosen chip: its log lines in order, the flash driver,
// the option view, and the option button and "Show Chip Option Data" commands.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "app/ChipReaction.h"
#include "app/OptionCommands.h"
#include "chips/ChipSelChoice.h"
#include "chips/FamilySetup.h"
#include "chips/MainWindowControls.h"
#include "chips/OptionListings.h"
#include "tests/app/ChipJobSupport.h"
#include "texts/Texts.h"

namespace qx {
namespace {

using test::Bench;
using test::Info;

struct LogCase {
  Maker maker;
  const char* model;
  std::vector<std::string> lines;
  bool optionView;
};

TEST(ChipReaction, LogsTheChipAndItsLayoutInOrder) {
  const LogCase cases[] = {
      {Maker::Silergy,
       "SA32B14xx",
       {Info("Chip \"SA32B14xx\" has been selected!"), Info("Main Flash=262144Byte, EEP=131072Bytes"), "",
        Info("Chip Main Flash Memory Size = 262144Bytes."), Info("Chip Main Flash Start Address = 0x00000000."),
        Info("Chip Main Flash End Address  = 0x0003FFFF."), "", Info("Chip EEP Data Start Address = 0x20020000."),
        Info("Chip EEP Data End Address  = 0x2003FFFF.")},
       true},
      {Maker::AutoChip,
       "AC78013xDxx",
       {Info("Chip \"AC78013xDxx\" has been selected!"), Info("Main Flash=131072Byte, EEP=0Bytes"), "",
        Info("Chip Main Flash Memory Size = 131072Bytes."), Info("Chip Main Flash Start Address = 0x08000000."),
        Info("Chip Main Flash End Address  = 0x0801FFFF.")},
       true},
      {Maker::Indie,
       "IND83209xx",
       {Info("Chip \"IND83209xx\" has been selected!"), Info("Main Flash=65536Byte, EEP=0Bytes"), "",
        Info("Chip Main Flash Memory Size = 65536Bytes."), Info("Chip Main Flash Start Address = 0x00000000."),
        Info("Chip Main Flash End Address  = 0x0000FFFF.")},
       false},
  };
  for (const LogCase& c : cases) {
    SCOPED_TRACE(c.model);
    Bench b;
    test::Choose(*b.model, c.maker, c.model);
    b.WriteDriver(c.model);
    b.model->BootInfoEnd = 0x100;
    b.model->AppInfoEnd = 0x200;

    const WindowChanges w = MCUNameEditChange(b.Reaction());

    EXPECT_EQ(b.log.Lines(), c.lines);
    EXPECT_TRUE(b.op.messages.empty());
    EXPECT_EQ(b.model->BootInfoEnd, 0u);
    EXPECT_EQ(b.model->AppInfoEnd, 0u);
    EXPECT_EQ(b.hexResets, 1);
    EXPECT_EQ(b.op.optionViews, c.optionView ? 1 : 0);
    // The family's changes first; the option-data tab is hidden only without option data.
    const WindowChanges family = ChipChosenChanges(*b.model);
    ASSERT_EQ(w.size(), family.size() + (c.optionView ? 0 : 1));
    for (std::size_t i = 0; i < family.size(); ++i) EXPECT_EQ(w[i].Name, family[i].Name) << i;
    if (!c.optionView) {
      EXPECT_EQ(w.back().Name, ctl::TabShtOPB);
      EXPECT_EQ(w.back().Visible, false);
    }
  }
}

TEST(ChipReaction, WithoutAChipOnlyTheOptionTabIsHidden) {
  Bench b;
  b.model->BootInfoEnd = 0x100;
  const WindowChanges w = MCUNameEditChange(b.Reaction());
  ASSERT_EQ(w.size(), 1u);
  EXPECT_EQ(w[0].Name, ctl::TabShtOPB);
  EXPECT_EQ(w[0].Visible, false);
  EXPECT_TRUE(b.log.Lines().empty());
  EXPECT_EQ(b.hexResets, 0);
  EXPECT_EQ(b.model->BootInfoEnd, 0x100u);
}

TEST(ChipReaction, LoadsTheFamilysDriverAndReportsAMissingOneWithoutStopping) {
  {
    Bench b;
    test::Choose(*b.model, Maker::Silergy, "SA32B14xx");
    b.WriteDriver("SA32B14xx");
    MCUNameEditChange(b.Reaction());
    EXPECT_EQ(b.driver.DriverLoaded, 1);
    EXPECT_EQ(b.driver.DriverFilePath, b.appDir + "DromixDRVs/DRVSILRGY2X.KDV");
    EXPECT_EQ(std::string(b.driver.Image.begin(), b.driver.Image.begin() + 8), "DXFLSDRV");
    EXPECT_TRUE(b.op.messages.empty());
  }
  {
    Bench b;
    test::Choose(*b.model, Maker::Silergy, "SA32B14xx");
    b.driver.DriverLoaded = 1;
    MCUNameEditChange(b.Reaction());
    EXPECT_EQ(b.driver.DriverLoaded, 0);
    EXPECT_EQ(b.MessageTexts(), std::vector<std::string>{"File \"" + b.appDir +
                                                         "DromixDRVs/DRVSILRGY2X.KDV\" is not exists, please check it!"});
    EXPECT_EQ(b.log.Lines().size(), 9u);  // every line still comes
    EXPECT_EQ(b.op.optionViews, 1);
  }
  {
    // AUCU chips take no driver: nothing is looked for.
    Bench b;
    test::Choose(*b.model, Maker::Aucu, "AU301LDF51xx");
    MCUNameEditChange(b.Reaction());
    EXPECT_EQ(b.driver.DriverLoaded, 0);
    EXPECT_TRUE(b.driver.DriverFilePath.empty());
    EXPECT_TRUE(b.op.messages.empty());
  }
}

// The chip dialog's OK for the model shown already runs the whole reaction again: a
// driver file replaced meanwhile is read again.
TEST(ChipReaction, TheSameChipChosenAgainRunsEveryStep) {
  Bench b;
  const u8 silergy = IndexOf(Maker::Silergy);
  const int row = test::ListPosition(Maker::Silergy, "SA32B14xx");
  const std::string driverPath = b.WriteDriver("SA32B14xx");
  ASSERT_TRUE(ConfirmChipSelection(*b.model, silergy, row));
  MCUNameEditChange(b.Reaction());
  EXPECT_EQ(b.driver.DriverLoaded, 1);

  sim::Bytes damaged = sim::MakeDriverFile({});
  damaged.push_back(0);  // one byte more than the header says
  ASSERT_TRUE(sim::WriteBytesFile(driverPath, damaged));
  ASSERT_TRUE(ConfirmChipSelection(*b.model, silergy, row));
  MCUNameEditChange(b.Reaction());
  EXPECT_EQ(b.driver.DriverLoaded, 0);
  EXPECT_EQ(b.MessageTexts(), std::vector<std::string>{"Driver Data Check Error, File may be corrupted!"});
  EXPECT_EQ(b.hexResets, 2);
  EXPECT_EQ(std::count(b.log.Lines().begin(), b.log.Lines().end(), Info("Chip \"SA32B14xx\" has been selected!")), 2);
}

enum class Listing { None, AC78x, Aucu, Lcmp, SilergyLines };

// The lines a listing writes for the chip, from the listing routines themselves: what is
// tested here is which one runs.
std::vector<std::string> ListingLines(Listing listing, const ChipModel& chip) {
  MessageLog log = test::FixedClockLog();
  switch (listing) {
    case Listing::None: break;
    case Listing::AC78x: ShowCurrentOptionAC78x(log, chip); break;
    case Listing::Aucu: ShowCurrentOptionAucu(log, chip); break;
    case Listing::Lcmp: ShowCurrentOptionLcmp(log, chip); break;
    case Listing::SilergyLines: LogSilergyProtection(chip, log); break;
  }
  return log.Lines();
}

TEST(OptionButton, DialogAndFollowUpByMaker) {
  using L = Listing;
  using D = OptionDialog;
  const struct {
    u8 maker;
    u8 subtype;
    OptionDialog dialog;
    Listing afterDialog;
    Listing showChipOptionData;
  } cases[] = {
      {0, 0, D::AC78xOptB, L::AC78x, L::AC78x}, {0, 15, D::AC78xOptB, L::AC78x, L::AC78x},
      {0, 16, D::AC784xOpb, L::None, L::AC78x}, {1, 0, D::None, L::None, L::None},
      {2, 0, D::None, L::None, L::None},        {3, 0, D::AucuCfg, L::Aucu, L::Aucu},
      {4, 0, D::None, L::None, L::None},        {5, 0, D::LcmpOpt, L::Lcmp, L::Lcmp},
      {6, 0, D::None, L::None, L::None},        {7, 0, D::None, L::None, L::None},
      {8, 0, D::Spd117xCfg, L::None, L::None},  {9, 0, D::None, L::None, L::None},
      {10, 0, D::SlgyCfg, L::SilergyLines, L::None}, {11, 0, D::None, L::None, L::None},
      {12, 0, D::None, L::None, L::None},       {13, 0, D::None, L::None, L::None},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "maker " << int(c.maker) << " subtype " << int(c.subtype));
    auto chip = test::ChosenChip();
    chip->Params.ManufacturerIndex = c.maker;
    chip->Params.Subtype = c.subtype;
    chip->ProtectBits = 1;
    const auto options = test::RandomBytes(OptionImageSize, c.maker);
    std::copy(options.begin(), options.end(), chip->OptionImage.begin());
    EXPECT_EQ(OptionDialogOf(*chip), c.dialog);

    MessageLog log = test::FixedClockLog();
    test::ViewRecorder op;
    AfterOptionDialog(c.dialog, true, *chip, log, op);
    EXPECT_EQ(log.Lines(), ListingLines(c.afterDialog, *chip));

    MessageLog listed = test::FixedClockLog();
    ShowChipOptionData(*chip, listed);
    EXPECT_EQ(listed.Lines(), ListingLines(c.showChipOptionData, *chip));
    if (c.showChipOptionData != L::None) {
      EXPECT_FALSE(listed.Lines().empty());
    }
  }
}

TEST(OptionButton, ProgramOptionBoxFollowsTheFlagOnlyAfterOk) {
  struct Case {
    OptionDialog dialog;
    bool accepted;
    u8 optionsChanged;
    std::optional<bool> ticked;  // the change to CheckBoxOpt, if any
  } cases[] = {
      {OptionDialog::AC78xOptB, true, 1, true},   {OptionDialog::AC78xOptB, true, 0, false},
      {OptionDialog::AucuCfg, false, 0, std::nullopt}, {OptionDialog::LcmpOpt, false, 1, std::nullopt},
      {OptionDialog::SlgyCfg, true, 1, true},     {OptionDialog::None, true, 0, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << int(c.dialog) << " accepted " << c.accepted);
    auto chip = test::ChosenChip();
    chip->OptionsChanged = c.optionsChanged;
    MessageLog log = test::FixedClockLog();
    test::ViewRecorder op;
    const WindowChanges w = AfterOptionDialog(c.dialog, c.accepted, *chip, log, op);
    if (!c.ticked) {
      EXPECT_TRUE(w.empty());
      continue;
    }
    ASSERT_EQ(w.size(), 1u);
    EXPECT_EQ(w[0].Name, ctl::CheckBoxOpt);
    EXPECT_EQ(w[0].Checked, c.ticked);
  }
}

TEST(OptionButton, OptionViewFollowsWhenTheChipHasOptionData) {
  for (const u8 optionCode : {u8{0}, u8{1}}) {
    auto chip = test::ChosenChip();
    chip->Params.ManufacturerIndex = IndexOf(Maker::Aucu);
    chip->Params.OptionCode = optionCode;
    chip->OptionImage.fill(0x01);
    MessageLog log = test::FixedClockLog();
    test::ViewRecorder op;
    AfterOptionDialog(OptionDialog::AucuCfg, false, *chip, log, op);
    EXPECT_EQ(op.optionViews, optionCode);
    EXPECT_EQ(chip->Sums.OptionSum16, optionCode ? 256 : 0);
  }
}

TEST(OptionButton, SilergyProtectionStatusLines) {
  const std::string directOff = "SWD/JTAG直接读取Flash功能已禁止!";
  const std::string directOn = "SWD/JTAG直接读取Flash功能正常!";
  const std::string indirectOff = "SWD/JTAG间接读取Flash功能已禁止!";
  const std::string indirectOn = "SWD/JTAG间接读取Flash功能正常!";
  const struct {
    u8 protectBits;
    std::vector<std::string> lines;
  } cases[] = {
      {0, {Info(directOn), Info(indirectOn)}},
      {1, {Info(directOff), Info(indirectOn)}},
      {2, {Info(directOn), Info(indirectOff)}},
      {3, {Info(directOff), Info(indirectOff)}},
  };
  for (const auto& c : cases) {
    auto chip = test::ChosenChip();
    chip->ProtectBits = c.protectBits;
    MessageLog log = test::FixedClockLog();
    LogSilergyProtection(*chip, log);
    EXPECT_EQ(log.Lines(), c.lines) << int(c.protectBits);
  }
  // The same Chinese texts in both builds.
  for (const TextId id : {TextId::SlgyDirectReadDisabled, TextId::SlgyDirectReadNormal, TextId::SlgyIndirectReadDisabled,
                          TextId::SlgyIndirectReadNormal}) {
    EXPECT_EQ(TextIn(Language::English, id), TextIn(Language::Chinese, id));
  }
}

}  // namespace
}  // namespace qx
