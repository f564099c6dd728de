#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <array>
#include <filesystem>
#include <vector>

#include "project/ui/LogCfgForm.h"
#include "tests/project/ProjectTestSupport.h"
#include "tests/support/RecordingOperator.h"

namespace qx {
namespace {

QApplication& App() {
  static int argc = 1;
  static char name[] = "project_tests";
  static char* argv[] = {name, nullptr};
  static QApplication app(argc, argv);
  return app;
}

QRadioButton* Item(QGroupBox* group, int i) { return group->findChildren<QRadioButton*>().at(i); }

class LogCfgFormTest : public ::testing::Test {
 protected:
  std::string CfgText() const { return test::ReadAll(dir.File("GenLogX.cfg")); }

  QApplication& app = App();  // before any widget
  test::ProjectTempDir dir;
  MessageLog log;
  test::RecordingOperator op;
  TLogCfgForm form{dir.Dir(), log, op};
};

TEST_F(LogCfgFormTest, InitialStateAndEnabling) {
  EXPECT_EQ(form.objectName(), "LogCfgForm");
  EXPECT_EQ(form.windowTitle(), "Config Log File.");
  EXPECT_TRUE(form.CheckBoxLog->isChecked());
  EXPECT_TRUE(Item(form.RadioGrpCreat, 0)->isChecked());
  EXPECT_EQ(form.LogModeIndex(), 0);
  EXPECT_EQ(form.LogFileName(), "GenKVTxX.log");
  EXPECT_FALSE(form.RadioGrpMod->isEnabled());
  EXPECT_FALSE(form.EditLogName->isEnabled());
  EXPECT_FALSE(form.SpeedButtonOP->isEnabled());

  Item(form.RadioGrpMod, 2)->setChecked(true);
  Item(form.RadioGrpCreat, 1)->click();
  EXPECT_TRUE(form.RadioGrpMod->isEnabled());
  EXPECT_TRUE(form.EditLogName->isEnabled());
  EXPECT_TRUE(form.SpeedButtonOP->isEnabled());
  EXPECT_EQ(form.LogModeIndex(), 0);  // the location click resets the mode

  form.CheckBoxLog->click();
  EXPECT_FALSE(form.RadioGrpCreat->isEnabled());
  EXPECT_FALSE(form.RadioGrpMod->isEnabled());
  EXPECT_FALSE(form.EditLogName->isEnabled());
}

TEST_F(LogCfgFormTest, TheCheckBoxAndTheLocationEachSetTheControlsTheyGovern) {
  // Clicks from the initial state (ticked, system location); then what is enabled:
  // location group, mode group, name field, browse button.
  enum Click { Tick, System, Customer };
  const struct {
    const char* name;
    std::vector<Click> clicks;
    std::array<bool, 4> enabled;
  } cases[] = {
      {"initial", {}, {true, false, false, false}},
      {"untick", {Tick}, {false, false, false, false}},
      {"tick_again_with_the_system_location", {Tick, Tick}, {true, true, true, true}},
      {"then_back_to_system", {Tick, Tick, Customer, System}, {true, false, false, false}},
      {"customer", {Customer}, {true, true, true, true}},
      {"customer_untick", {Customer, Tick}, {false, false, false, false}},
      {"customer_tick_again", {Customer, Tick, Tick}, {true, true, true, true}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TLogCfgForm f{dir.Dir(), log, op};
    for (Click k : c.clicks) {
      if (k == Tick) f.CheckBoxLog->click();
      else Item(f.RadioGrpCreat, k == Customer ? 1 : 0)->click();
    }
    const std::array<bool, 4> enabled{f.RadioGrpCreat->isEnabled(), f.RadioGrpMod->isEnabled(),
                                      f.EditLogName->isEnabled(), f.SpeedButtonOP->isEnabled()};
    EXPECT_EQ(enabled, c.enabled);
  }
}

TEST_F(LogCfgFormTest, OkNeedsANameForTheCustomerLog) {
  form.show();
  Item(form.RadioGrpCreat, 1)->click();
  form.EditLogName->clear();
  form.OK->click();
  ASSERT_EQ(op.messages.size(), 1u);
  EXPECT_EQ(op.messages[0].text, "Please input valid Log file name!");
  EXPECT_TRUE(form.isVisible());
  EXPECT_FALSE(std::filesystem::exists(dir.File("GenLogX.cfg")));

  form.EditLogName->setText("run.log");
  form.OK->click();
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(CfgText(), "[ConfigLog]\r\nEnLog\r\nCustomer\r\nCusDef0\r\nSpcFile=run.log\r\n[EndCfg]\r\n");
}

TEST_F(LogCfgFormTest, LoadedSettingsSurviveShowingAndClosing) {
  const std::string cfg = "[ConfigLog]\r\nDnLog\r\nCustomer\r\nCusDef2\r\nSpcFile=run.log\r\n[EndCfg]\r\n";
  test::WriteAllText(dir.File("GenLogX.cfg"), cfg);
  form.LoadLogConfig();
  EXPECT_FALSE(form.CheckBoxLog->isChecked());
  EXPECT_TRUE(Item(form.RadioGrpCreat, 1)->isChecked());
  EXPECT_EQ(form.LogModeIndex(), 2);
  EXPECT_EQ(form.LogFileName(), "run.log");
  form.show();
  EXPECT_EQ(form.LogModeIndex(), 2);
  form.close();
  EXPECT_EQ(CfgText(), cfg);
}

TEST_F(LogCfgFormTest, BrowseAndWriteAtClose) {
  Item(form.RadioGrpCreat, 1)->click();
  form.ChooseLogFile = [&] { return QString::fromStdString(dir.File("picked.log")); };
  form.SpeedButtonOP->click();
  EXPECT_EQ(form.LogFileName(), dir.File("picked.log"));
  form.ChooseLogFile = [] { return QString(); };
  form.SpeedButtonOP->click();
  EXPECT_EQ(form.LogFileName(), dir.File("picked.log"));

  log.AddLine("one");
  Item(form.RadioGrpMod, 2)->setChecked(true);
  EXPECT_TRUE(form.WriteLogFile());
  EXPECT_EQ(test::ReadAll(dir.File("picked.log")), "Dromix Log File!\r\none\r\n");

  // A failed append stores the settings, as the dialog's close would.
  form.EditLogName->setText("no/such/folder.log");
  EXPECT_FALSE(form.WriteLogFile());
  EXPECT_EQ(CfgText(), "[ConfigLog]\r\nEnLog\r\nCustomer\r\nCusDef2\r\nSpcFile=no/such/folder.log\r\n[EndCfg]\r\n");
  // ... and says what was lost.
  ASSERT_EQ(op.messages.size(), 1u);
  EXPECT_EQ(op.messages[0].text, "Write Log File error! Cannot open file " + dir.File("no/such/folder.log") +
                                     " (No such file or directory)");
}

// The check box only enables the controls: the dialog's close path writes the log with the
// box clear as well, at either location.
TEST_F(LogCfgFormTest, CloseWritesTheLogWithTheBoxClear) {
  form.Clock = [] { return LogStamp{"2024/05/17", "09:12:44"}; };
  for (int i = 0; i < 7; ++i) log.AddLine("line " + std::to_string(i));
  struct Case {
    const char* name;
    int location;
    std::string file;
  };
  const Case cases[] = {
      {"system", LogLocationSystem, "KVTxLogS/KVT_2024_05_17_09_12_44.log"},
      {"customer", LogLocationCustomer, "run.log"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    LogSettings s;
    s.Enabled = false;
    s.Location = c.location;
    s.FileName = "run.log";
    form.SetSettings(s);
    ASSERT_FALSE(form.CheckBoxLog->isChecked());
    EXPECT_TRUE(form.WriteLogFile());
    EXPECT_EQ(test::ReadAll(dir.File(c.file)).substr(0, 16), "line 0\r\nline 1\r\n");
  }
  EXPECT_TRUE(op.messages.empty());
}

// Clicking the item that is already checked is no change of the location: the mode stays.
TEST_F(LogCfgFormTest, ClickingTheCheckedLocationAgainKeepsTheMode) {
  form.show();
  Item(form.RadioGrpCreat, 1)->click();
  Item(form.RadioGrpMod, 2)->click();
  Item(form.RadioGrpCreat, 1)->click();
  EXPECT_EQ(form.LogModeIndex(), 2);
  EXPECT_TRUE(form.RadioGrpMod->isEnabled());
  Item(form.RadioGrpCreat, 0)->click();  // a real change still resets it
  EXPECT_EQ(form.LogModeIndex(), 0);
  EXPECT_FALSE(form.RadioGrpMod->isEnabled());
}

TEST(QtFileFilterText, DialogFilterToQt) {
  EXPECT_EQ(QtFileFilter("All Log Files(*.Log,*.Txt)|*.log;*.Txt"), "All Log Files(*.Log,*.Txt) (*.log *.Txt)");
  EXPECT_EQ(QtFileFilter("A|*.a|B|*.b"), "A (*.a);;B (*.b)");
}

}  // namespace
}  // namespace qx
