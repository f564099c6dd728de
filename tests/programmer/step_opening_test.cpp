#include <gtest/gtest.h>

#include "programmer/AutoChain.h"
#include "programmer/DownloadChain.h"
#include "programmer/OnlineChains.h"
#include "tests/programmer/session_fixture.h"

namespace qx::test {
namespace {

using Starter = void (*)(UnitSessions&, u8);

struct OpeningCase {
  const char* name;
  Starter start;
  u8 step;
  int gaugeRun;  // -1: left as it was
  u16 ticks;
  i32 progress;
  i32 max;
  const char* line;
};

// Every starter opens its step with its own row: step, GaugeRun, time-out, gauge by time or
// by blocks of its length, start line; then it sends one request. DownloadSize, EepSize and
// MainFlashSize differ, so a starter that counts the wrong length shows.
TEST(StepOpening, EveryStarterOpensItsStepAsItsRowSays) {
  const OpeningCase cases[] = {
      {"chip data", StartDownloadChipData, StepDownloadChipData, 1, 500, 15, 500, "Start to Download Chip Data......"},
      {"download main", StartDownloadMain, StepDownloadMain, 0, 500, 4, 12, "Start to Download Main Flash Data......"},
      {"download eep", StartDownloadEep, StepDownloadEep, 0, 500, 4, 6, "Start to Dwonload EEP Data......"},
      {"blank check", StartBlankCheck, StepBlankCheck, 1, 500, 15, 500, "Start to Chip Blank Checking......"},
      {"auto", StartAutoProgram, StepBlankCheck, 1, 500, 15, 500,
       "Start Auto-Programming, Do Chip Blank Checking......"},
      {"erase", [](UnitSessions& s, u8 k) { StartErase(s, k, "Do Chip Erase......"); }, StepErase, 1, 2000, 30, 2000,
       "Do Chip Erase......"},
      {"program main", StartProgramMain, StepProgramMain, 0, 500, 4, 12, "Start to Program Main Flash Data......"},
      {"program eep", StartProgramEep, StepProgramEep, 0, 500, 4, 6, "Start to program EEP Data......"},
      {"verify main", StartVerifyMain, StepVerifyMain, 0, 500, 4, 12, "Start to Verify Main Flash Data......"},
      {"verify eep", StartVerifyEep, StepVerifyEep, 0, 500, 4, 6, "Start to Verify EEP Data......"},
      {"write option", StartWriteOption, StepWriteOption, 1, 500, 15, 500, "Write Chip Option/Config Data......"},
      {"read option", StartReadOption, StepReadOption, -1, 500, 15, 500, "Read Chip Option/Config Data ......"},
      {"read main", StartReadMain, StepReadMain, 0, 500, 4, 20, "Read Chip Main Flash Data......"},
      {"read eep", StartReadEep, StepReadEep, 0, 500, 4, 6, "Read Chip EEP Data......"},
      {"checksum", StartReadChecksum, StepReadChecksum, 1, 500, 4, 12, "Read Chip CheckSum Data......"},
  };
  for (const OpeningCase& c : cases) {
    for (const u8 before : {u8{0}, u8{1}}) {
      SCOPED_TRACE(std::string(c.name) + " GaugeRun before " + std::to_string(before));
      SessionWorld w;
      auto& p = w.model->Params;
      p.DownloadSize = 0x3000;
      p.EepSize = 0x1800;
      p.MainFlashSize = 0x5000;
      p.MainFlashEnd = 0x4FFF;
      w.U(5).GaugeRun = before;
      c.start(*w.s, 5);
      const auto& u = w.U(5);
      EXPECT_EQ(u.StepState, c.step);
      EXPECT_EQ(u.GaugeRun, c.gaugeRun < 0 ? before : c.gaugeRun);
      EXPECT_EQ(u.TimeoutTicks, c.ticks);
      EXPECT_EQ(u.Busy, 1);
      EXPECT_EQ(u.Gauge.Progress, c.progress);
      EXPECT_EQ(u.Gauge.Max, c.max);
      EXPECT_EQ(w.UnitTexts(5), std::vector<std::string>{c.line});
      EXPECT_EQ(w.ports[5].packets.size(), 1u);
    }
  }
}

}  // namespace
}  // namespace qx::test
