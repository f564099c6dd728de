// The forms of the program's start, the minor commands and the orderly end.
#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>

#include "app/ui/ProgramMain.h"
#include "tests/app/ui/WindowFixture.h"
#include "tests/support/TempDir.h"

namespace qx {
namespace {

using test::WindowTest;

TEST_F(WindowTest, CheckBoxesEnableTheirSpinEditsOnClick) {
  auto& autoStart = Find<QCheckBox>("ChkBoxAuto");
  autoStart.click();
  EXPECT_TRUE(Find<QSpinBox>("SpinEditIn").isEnabled());
  EXPECT_TRUE(Find<QSpinBox>("SpinEditOut").isEnabled());
  autoStart.click();
  EXPECT_FALSE(Find<QSpinBox>("SpinEditIn").isEnabled());
  EXPECT_FALSE(Find<QSpinBox>("SpinEditOut").isEnabled());
  // The values stay whatever the enabled state.
  EXPECT_EQ(Find<QSpinBox>("SpinEditIn").value(), 510);

  auto& limit = Find<QCheckBox>("CheckBoxCtrl");
  limit.click();
  EXPECT_TRUE(Find<QSpinBox>("SpinEditNum").isEnabled());
  limit.click();
  EXPECT_FALSE(Find<QSpinBox>("SpinEditNum").isEnabled());
  EXPECT_TRUE(commands.ran.empty());
}

class ProgramFormsTest : public ::testing::Test {
 protected:
  ProgramFormsTest() {
    TGenMFrmARM& w = Window();
    w.SetCommands(commands);
    w.ShowMessage = [this](MsgKind, std::string_view text, MsgButtons) {
      boxes.emplace_back(text);
      return MsgAnswer::Ok;
    };
    w.ShowModal = [this](QDialog& d) {
      modals.push_back(&d);
      return 0;
    };
  }
  TGenMFrmARM& Window() { return window; }
  // The log appended to a file named by the operator, so that each write shows.
  void LogToCustomerFile() {
    LogSettings s;
    s.Enabled = true;
    s.Location = LogLocationCustomer;
    s.Mode = LogModeAppend;
    s.FileName = "run.log";
    forms.LogCfgForm->SetSettings(s);
  }
  int Count(const std::string& text, const std::string& line) const {
    int n = 0;
    for (auto at = text.find(line); at != std::string::npos; at = text.find(line, at + 1)) ++n;
    return n;
  }

  test::TempDir dir;
  std::unique_ptr<ChipModel> model = std::make_unique<ChipModel>();
  MessageLog log{[] { return std::string("08:30:00"); }};
  TGenMFrmARM window;
  ProgramForms forms = CreateProgramForms(window, *model, log, dir.Dir());
  test::RecordingCommands commands;
  std::vector<std::string> boxes;
  std::vector<QDialog*> modals;
};

TEST_F(ProgramFormsTest, TheStartFormsAreCaptionedAndOwnedByTheWindow) {
  EXPECT_EQ(Window().windowTitle(), "QX740VVRD Programmer Wizard.");
  EXPECT_EQ(forms.AboutForm->LabelTilA().text(), "QX740VRD Flash MCU Programmer");
  EXPECT_EQ(forms.AboutForm->windowTitle(), "About");
  EXPECT_EQ(forms.AboutForm->findChild<QLabel*>("LabelVersion")->text(), "Version V2.7");
  EXPECT_EQ(forms.AboutForm->findChild<QPushButton*>("OKButton")->text(), "OK");
  for (QWidget* dialog : std::initializer_list<QWidget*>{forms.AboutForm.get(), forms.FormOfsAddr.get(),
                                                         forms.ConfigSNForm.get(), forms.LogCfgForm.get()})
    EXPECT_EQ(dialog->parentWidget(), &Window()) << dialog->objectName().toStdString();

  Window().findChild<QAction*>("About1")->trigger();
  Window().findChild<QAction*>("ConfigLogFile1")->trigger();
  EXPECT_EQ(modals, (std::vector<QDialog*>{forms.AboutForm.get(), forms.LogCfgForm.get()}));

  log.AddInfoLine("Hello");
  Window().RepaintViews();
  EXPECT_EQ(Window().findChild<QPlainTextEdit*>("InfoMemo")->toPlainText(), "> 08:30:00 Hello");
}

TEST_F(ProgramFormsTest, AboutBoxClosesWithItsButton) {
  TAboutForm& about = *forms.AboutForm;
  about.show();
  about.findChild<QPushButton*>("OKButton")->click();
  EXPECT_FALSE(about.isVisible());
  EXPECT_EQ(about.result(), QDialog::Accepted);
}

TEST_F(ProgramFormsTest, ExitClosesThePortsThenTheWindowWritesTheLogOnce) {
  LogToCustomerFile();
  Window().show();
  log.AddInfoLine("Data Donwload Success!");
  commands.ran.clear();
  Window().findChild<QToolButton*>("SpdBtnExit")->click();
  EXPECT_FALSE(Window().isVisible());
  Window().close();  // a second close writes nothing more
  EXPECT_EQ(commands.ran, (std::vector<WindowCommand>{WindowCommand::ClosePorts, WindowCommand::ClosePorts}));
  const std::string written = test::ReadText(dir.File("run.log"));
  EXPECT_EQ(Count(written, "> 08:30:00 Data Donwload Success!\r\n"), 1);
  EXPECT_TRUE(boxes.empty());
}

TEST_F(ProgramFormsTest, AFailingPortCloseIsShownAndTheLogIsStillWritten) {
  LogToCustomerFile();
  Window().show();
  log.AddInfoLine("kept");
  commands.onRun = [](WindowCommand c) {
    if (c == WindowCommand::ClosePorts) throw std::runtime_error("port busy");
  };
  Window().close();
  EXPECT_EQ(boxes, std::vector<std::string>{"port busy"});
  EXPECT_EQ(Count(test::ReadText(dir.File("run.log")), "> 08:30:00 kept\r\n"), 1);
}

TEST_F(ProgramFormsTest, ClearedLinesAreNotWrittenAtClose) {
  LogToCustomerFile();
  Window().show();
  log.AddInfoLine("before");
  Window().findChild<QAction*>("ClearInformation1")->trigger();
  log.AddInfoLine("after");
  Window().close();
  const std::string written = test::ReadText(dir.File("run.log"));
  EXPECT_EQ(Count(written, "before"), 0);
  EXPECT_EQ(Count(written, "> 08:30:00 after\r\n"), 1);
}

}  // namespace
}  // namespace qx
