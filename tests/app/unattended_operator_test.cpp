// The boxes of a run nobody watches: each one a log line and a line on the standard error,
// answered as a box closed without a button.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/UnattendedOperator.h"
#include "base/ComposedOperator.h"
#include "tests/app/AppTestSupport.h"

namespace qx {
namespace {

TEST(UnattendedOperator, EveryBoxIsLoggedOnceAndAnsweredAsClosed) {
  MessageLog log = test::FixedClockLog();
  std::vector<std::string> errors;
  UnattendedOperator op(log, [&](std::string_view line) { errors.emplace_back(line); });

  // A command that logs its text and then shows it: one log line, not two.
  log.AddInfoLine("File \"a.hex\" has not been loaded!");
  EXPECT_EQ(op.Ask(MsgKind::Error, "File \"a.hex\" has not been loaded!", MsgButtons::Ok), MsgAnswer::Ok);
  // A box alone, and a box whose text only ends the last line: each gets its line.
  EXPECT_EQ(op.Ask(MsgKind::Warning, "Line 3 Data Error : 7.", MsgButtons::OkAbort), MsgAnswer::Abort);
  EXPECT_EQ(op.Ask(MsgKind::Warning, "7.", MsgButtons::YesAbort), MsgAnswer::Abort);
  EXPECT_EQ(op.Ask(MsgKind::Confirmation, "Erase?", MsgButtons::YesNo), MsgAnswer::No);
  EXPECT_EQ(op.Ask(MsgKind::Confirmation, "Erase?", MsgButtons::OkCancel), MsgAnswer::Cancel);

  const std::vector<std::string> expected = {"File \"a.hex\" has not been loaded!", "Line 3 Data Error : 7.", "7.",
                                             "Erase?", "Erase?"};
  ASSERT_EQ(log.Lines().size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const std::string& line = log.Lines()[i];
    EXPECT_TRUE(line.ends_with(" " + expected[i])) << line;
  }
  EXPECT_EQ(errors, expected);
}

// The batch operator: the unattended boxes with every other part the view's own.
TEST(UnattendedOperator, ComposedWithTheViewTakesOnlyTheBoxes) {
  MessageLog log = test::FixedClockLog();
  test::RecordingOperator view;
  UnattendedOperator boxes(log, nullptr);
  ComposedOperator op(boxes, view);

  EXPECT_EQ(op.Ask(MsgKind::Confirmation, "Erase?", MsgButtons::YesNo), MsgAnswer::No);
  op.AskBinaryOffset();
  EXPECT_TRUE(view.messages.empty());
  EXPECT_EQ(view.offsetAsks, 0);
  EXPECT_EQ(log.Lines().size(), 1u);

  op.LogLineAdded("a line");
  op.LogCleared();
  op.SetInfoCaption("caption");
  const std::string entries[] = {"COM3"};
  op.PortListChanged(entries, "COM3");
  op.ArrangeProgressGauges(4);
  const UnitGauge gauge{7, 50, GaugeState::Failed};
  op.UnitStepBegan(2, 3, gauge);
  op.UnitProgress(2, gauge);
  op.UnitStepEnded(2, 3, 64, false, gauge);
  op.AdvanceSerialNumber(5);
  op.ShowMainHex(0x10, 0x2F);
  op.UpdateMainHexRows(0x20, 0x3F);
  op.ShowEepData();
  op.ResetHexViews();
  op.ShowOptionData();
  op.ChecksumsChanged();
  op.MainImageReadBack();
  op.CloseProgram();

  EXPECT_EQ(view.logLines, std::vector<std::string>{"a line"});
  EXPECT_EQ(view.logClears, 1);
  EXPECT_EQ(view.captions, std::vector<std::string>{"caption"});
  ASSERT_EQ(view.portLists.size(), 1u);
  EXPECT_EQ(view.portLists[0], std::vector<std::string>{"COM3"});
  EXPECT_EQ(view.portTexts, std::vector<std::string>{"COM3"});
  EXPECT_EQ(view.gaugeLayouts, std::vector<u8>{4});
  using Kind = test::RecordingOperator::Kind;
  ASSERT_EQ(view.unitEvents.size(), 3u);
  EXPECT_EQ(view.unitEvents[0].kind, Kind::Began);
  EXPECT_EQ(view.unitEvents[1].kind, Kind::Progress);
  EXPECT_EQ(view.unitEvents[2].kind, Kind::Ended);
  for (const auto& e : view.unitEvents) {
    EXPECT_EQ(e.unit, 2);
    EXPECT_EQ(e.gauge.Progress, 7);
    EXPECT_EQ(e.gauge.Max, 50);
    EXPECT_EQ(e.gauge.State, GaugeState::Failed);
  }
  EXPECT_EQ(view.unitEvents[2].step, 3);
  EXPECT_EQ(view.unitEvents[2].code, 64);
  EXPECT_FALSE(view.unitEvents[2].ok);
  EXPECT_EQ(view.serialAdvances, std::vector<u8>{5});
  EXPECT_EQ(view.mainHex, (std::vector<std::pair<u32, u32>>{{0x10, 0x2F}}));
  EXPECT_EQ(view.mainHexRows, (std::vector<std::pair<u32, u32>>{{0x20, 0x3F}}));
  EXPECT_EQ(view.eepShows, 1);
  EXPECT_EQ(view.hexResets, 1);
  EXPECT_EQ(view.optionShows, 1);
  EXPECT_EQ(view.checksumChanges, 1);
  EXPECT_EQ(view.mainReadBacks, 1);
  EXPECT_EQ(view.closeRequests, 1);
}

}  // namespace
}  // namespace qx
