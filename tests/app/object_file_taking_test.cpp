// When a read file is taken: the log calls it loaded only then, with what was skipped or may
// be missing and the warnings of the read after that line.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/ObjectFileCommands.h"
#include "images/IntelHexFile.h"
#include "images/SRecordFile.h"
#include "tests/app/AppTestSupport.h"

namespace qx {
namespace {

using test::Hex8;
using test::Info;

class OffsetAnswering : public test::ViewRecorder {
 public:
  void AskBinaryOffset() override {
    if (model != nullptr) model->BinOffset = address;
  }
  ChipModel* model = nullptr;
  u32 address = test::kMainStart;
};

class TakingAFile : public ::testing::Test {
 protected:
  ObjectFileContext Ctx() {
    op.model = chip.get();
    return {*chip, log, op};
  }
  // The log from the first line that names path on.
  std::vector<std::string> LogFrom(const std::string& first) const {
    const auto& l = log.Lines();
    const auto at = std::find(l.begin(), l.end(), Info(first));
    return {at, l.end()};
  }

  std::unique_ptr<ChipModel> chip = test::ChosenChip();
  MessageLog log = test::FixedClockLog();
  OffsetAnswering op;
  test::TempDir dir;
};

// Without its end record, after a record out of the chip: Abort on nothing, OK on all.
std::string HexWithoutEndAfterARecordOutOfTheChip(const std::vector<u8>& data, u32 address) {
  std::string text = ":020000043000CA\n:0100000011EE\n" + FormatIntelHex(data, address);
  return text.erase(text.rfind(":00000001FF"));
}

TEST_F(TakingAFile, TheLogCallsItLoadedOnceTakenWithWhatItLacksAfterThatLine) {
  const std::vector<u8> data(0x20, 0x5A);
  const std::string path = dir.File("part.hex");
  test::WriteText(path, HexWithoutEndAfterARecordOutOfTheChip(data, test::kMainStart + 0x100));

  ASSERT_TRUE(OpenObjectFile(Ctx(), path).Done);
  ASSERT_EQ(op.messages.size(), 3u);  // the address box, the line box, the end-record box
  const std::vector<std::string> expected{
      Info("File \"" + path + "\" has been loaded!"),
      "",
      Info("File \"" + path + "\": 1 records outside the chip or of an unused type have been skipped."),
      Info("File \"" + path + "\" has no end record and has been loaded as it is: it may be cut short!"),
      "",
      Info("Object File Start Address  = " + Hex8(test::kMainStart + 0x100) + "."),
      Info("Object File End Address    = " + Hex8(test::kMainStart + 0x11F) + "."),
  };
  const std::vector<std::string> logged = LogFrom("File \"" + path + "\" has been loaded!");
  ASSERT_GE(logged.size(), expected.size());
  EXPECT_EQ(std::vector<std::string>(logged.begin(), logged.begin() + expected.size()), expected);
  // Nothing of the load was logged before it was taken.
  EXPECT_EQ(log.Lines().front(), expected.front());
}

TEST_F(TakingAFile, ADataFlashFileIsCalledLoadedBeforeItsNotesAndRange) {
  const std::string path = dir.File("ee.s19");
  std::string text = FormatSRecords(std::vector<u8>(0x10, 0x21), test::kEepStart);
  test::WriteText(path, text.erase(text.rfind("S7")));
  ASSERT_TRUE(LoadEepDataFile(Ctx(), path).Done);
  const std::string loaded = "EEP Data file of \"" + path + "\" hasn been loaded.";
  const std::vector<std::string> expected{
      Info(loaded),
      Info("File \"" + path + "\" has no end record and has been loaded as it is: it may be cut short!"),
      "",
      Info("Load EEP File Start Address  = " + Hex8(test::kEepStart) + "."),
  };
  const std::vector<std::string> logged = LogFrom(loaded);
  ASSERT_GE(logged.size(), expected.size());
  EXPECT_EQ(std::vector<std::string>(logged.begin(), logged.begin() + expected.size()), expected);
}

TEST_F(TakingAFile, ABinaryLongerThanTheFlashIsWarnedOfAfterItWasCalledLoaded) {
  const std::string path = dir.File("long.bin");
  test::WriteFile(path, std::vector<u8>(test::kMainSize + 1, 0x11));
  ASSERT_TRUE(OpenObjectFile(Ctx(), path).Done);
  const std::string warning = "The Object File is out of the chip flash address space, please confirm!";
  const std::vector<std::string> logged = LogFrom("File \"" + path + "\" has been loaded!");
  ASSERT_GE(logged.size(), 3u);
  EXPECT_EQ(logged[1], "");
  EXPECT_EQ(logged[2], Info(warning));
  ASSERT_EQ(op.messages.size(), 1u);
  EXPECT_EQ(op.messages[0].text, warning);
}

}  // namespace
}  // namespace qx
