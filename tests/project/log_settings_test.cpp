#include <gtest/gtest.h>
#include <ostream>

#include "base/Errors.h"
#include "project/LogSettings.h"
#include "tests/project/ProjectTestSupport.h"
#include "tests/support/CaseName.h"

namespace qx {
namespace {

struct ConfigCase {
  const char* what;
  const char* text;
  bool applied;
  bool enabled;
  int location;
  int mode;
  const char* name;
};
// Cases print as what they vary, not as their bytes.
void PrintTo(const ConfigCase& c, std::ostream* os) { *os << test::CaseName(c.what); }

class LogConfigRead : public ::testing::TestWithParam<ConfigCase> {};

TEST_P(LogConfigRead, AppliesKnownLines) {
  const ConfigCase& c = GetParam();
  LogSettings s;
  EXPECT_EQ(ApplyLogConfig(c.text, s), c.applied);
  EXPECT_EQ(s.Enabled, c.enabled);
  EXPECT_EQ(s.Location, c.location);
  EXPECT_EQ(s.Mode, c.mode);
  EXPECT_EQ(s.FileName, c.name);
}

INSTANTIATE_TEST_SUITE_P(
    Files, LogConfigRead,
    ::testing::Values(
        ConfigCase{"customer append", "[ConfigLog]\r\nDnLog\r\nCustomer\r\nCusDef2\r\nSpcFile=run.log\r\n[EndCfg]\r\n", true,
                   false, 1, 2, "run.log"},
        ConfigCase{"LF lines", "[ConfigLog]\nCustomer\nCusDef1\nSpcFile=a b.txt\n[EndCfg]", true, true, 1, 1, "a b.txt"},
        ConfigCase{"head in other case", "[configlog]\r\nDnLog\r\nCustomer\r\n", false, true, 0, 0, "GenKVTxX.log"},
        ConfigCase{"empty file", "", false, true, 0, 0, "GenKVTxX.log"},
        ConfigCase{"empty name", "[ConfigLog]\r\nSpcFile=\r\n", true, true, 0, 0, ""},
        ConfigCase{"nothing after the end", "[ConfigLog]\r\n[EndCfg]\r\nDnLog\r\n", true, true, 0, 0, "GenKVTxX.log"},
        ConfigCase{"unknown and untrimmed lines", "[ConfigLog]\r\n DnLog\r\nEnlog\r\nfoo\r\nCustomer \r\n", true, true, 0,
                   0, "GenKVTxX.log"},
        // A changed location resets the mode, as the location group's click does.
        ConfigCase{"mode before location", "[ConfigLog]\r\nCusDef2\r\nCustomer\r\n", true, true, 1, 0, "GenKVTxX.log"}));

TEST(LogConfigWrite, LinesByLocation) {
  LogSettings s;
  EXPECT_EQ(FormatLogConfig(s), "[ConfigLog]\r\nEnLog\r\nSystem\r\n[EndCfg]\r\n");
  s.Enabled = false;
  s.Location = LogLocationCustomer;
  for (auto [mode, line] : {std::pair<int, const char*>{0, "CusDef0"}, {1, "CusDef1"}, {2, "CusDef2"}, {5, "CusDef2"}}) {
    s.Mode = mode;
    s.FileName = "x.log";
    EXPECT_EQ(FormatLogConfig(s), std::string("[ConfigLog]\r\nDnLog\r\nCustomer\r\n") + line + "\r\nSpcFile=x.log\r\n[EndCfg]\r\n");
  }
}

TEST(LogConfigFile, SaveThenLoad) {
  test::ProjectTempDir dir;
  LogSettings s;
  LoadLogConfig(dir.Dir(), s);  // no file: no change
  EXPECT_EQ(s.FileName, "GenKVTxX.log");
  LogSettings saved;
  saved.Enabled = false;
  saved.Location = LogLocationCustomer;
  saved.Mode = LogModeOverwrite;
  saved.FileName = "日志.log";
  SaveLogConfig(dir.Dir(), saved);
  LoadLogConfig(dir.Dir(), s);
  EXPECT_FALSE(s.Enabled);
  EXPECT_EQ(s.Location, 1);
  EXPECT_EQ(s.Mode, 1);
  EXPECT_EQ(s.FileName, "日志.log");
  EXPECT_THROW(SaveLogConfig(dir.File("missing") + "/", saved), EInOutError);
}

}  // namespace
}  // namespace qx
