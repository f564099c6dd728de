// The program assembled over simulated units: the station reports to the window.
#include <gtest/gtest.h>

#include <QPlainTextEdit>

#include "tests/app/ui/ProgramRig.h"

namespace qx::test {
namespace {

TEST(ProgramRigTest, UnitsLinkThroughTheStationAndTheWindowShowsItsLog) {
  ProgramRig rig;
  rig.Units(std::vector<sim::UnitConfig>(2));
  rig.Make();
  ASSERT_TRUE(rig.LinkUnits());
  rig.Window().RepaintViews();
  const QString memo = rig.Window().findChild<QPlainTextEdit*>("InfoMemo")->toPlainText();
  EXPECT_TRUE(memo.contains("Checking Device 2 In")) << memo.toStdString();
}

}  // namespace
}  // namespace qx::test
