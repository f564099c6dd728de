// The boxes of a run nobody watches: each one a log line and a line on the standard error,
// answered as a box closed without a button.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/UnattendedOperator.h"
#include "tests/app/AppTestSupport.h"

namespace qx {
namespace {

TEST(UnattendedOperator, EveryBoxIsLoggedOnceAndAnsweredAsClosed) {
  MessageLog log = test::FixedClockLog();
  test::ViewRecorder view;
  std::vector<std::string> errors;
  UnattendedOperator op(view, log, [&](std::string_view line) { errors.emplace_back(line); });

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
  EXPECT_TRUE(view.messages.empty());
}

}  // namespace
}  // namespace qx
