// Every line of the window's command list holds in the window and the program: each sender
// shows its caption and hint and runs its command, each command has a sender or is the
// frame's, and the program binds every command to a handler. The tool bar's hints and
// commands are also checked against the design itself, not only against the list.
#include <QAbstractButton>
#include <QAction>
#include <QLineEdit>
#include <QWidget>
#include <algorithm>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/UnitCommands.h"
#include "app/ui/MainController.h"
#include "app/ui/QtText.h"
#include "tests/app/ui/ProgramRig.h"
#include "tests/app/ui/WindowFixture.h"

namespace qx {
namespace {

using test::WindowTest;

struct Sender {
  const char* Handler;
  const char* Control;
  TextId Caption;
  bool HasHint;
  TextId Hint;
  bool RunsCommand;       // one of the window's commands, not the window's own
  WindowCommand Command;  // when RunsCommand
};

// The handlers that are window commands, by name.
struct Named {
  const char* Name;
  WindowCommand Command;
};
const Named kCommands[] = {
#define QX_COMMAND(Name) {#Name, WindowCommand::Name},
#define QX_UNIT_COMMAND(Name, Unit) {#Name, WindowCommand::Name},
#include "app/WindowCommandList.def"
};

const std::set<WindowCommand> kCoreCommands = {
#define QX_CORE_COMMAND(Name) WindowCommand::Name,
#include "app/WindowCommandList.def"
};

Sender Make(const char* handler, const char* control, TextId caption, bool hasHint, TextId hint) {
  Sender s{handler, control, caption, hasHint, hint, false, WindowCommand::Count};
  for (const Named& c : kCommands) {
    if (std::string(c.Name) == handler) {
      s.RunsCommand = true;
      s.Command = c.Command;
    }
  }
  return s;
}

const std::vector<Sender> kSenders = {
#define QX_SENDER(Handler, Control, Caption) Make(#Handler, #Control, TextId::Caption, false, TextId::Caption),
#define QX_SENDER_HINT(Handler, Control, Caption, Hint) Make(#Handler, #Control, TextId::Caption, true, TextId::Hint),
#include "app/WindowCommandList.def"
};

void Fire(QObject& sender) {
  if (auto* action = qobject_cast<QAction*>(&sender)) {
    action->setVisible(true);  // a hidden action is also disabled
    action->trigger();
  } else if (auto* button = qobject_cast<QAbstractButton*>(&sender)) {
    button->click();
  } else if (auto* edit = qobject_cast<QLineEdit*>(&sender)) {
    edit->setText(edit->text() + QStringLiteral("x"));
  } else {
    throw std::runtime_error("a sender that is no button, menu item or edit");
  }
}

TEST_F(WindowTest, EverySenderShowsItsCaptionAndHintAndRunsItsCommand) {
  Show();
  for (const Sender& s : kSenders) {
    SCOPED_TRACE(s.Control);
    QObject& control = Find<QObject>(QString::fromLatin1(s.Control));
    EXPECT_EQ(test::ShownText(control), QtText(s.Caption));
    if (s.HasHint) {
      EXPECT_EQ(qobject_cast<QWidget*>(&control)->toolTip(), QtText(s.Hint));
    }
  }
  for (const Sender& s : kSenders) {
    if (!s.RunsCommand) continue;
    SCOPED_TRACE(s.Control);
    commands.ran.clear();
    Fire(Find<QObject>(QString::fromLatin1(s.Control)));
    ASSERT_FALSE(commands.ran.empty());
    EXPECT_EQ(commands.ran.front(), s.Command);
  }
}

// The tool bar as designed, independent of the list: each button's hint, and the command it
// runs (none for Exit, which the window carries out itself). No other control has a hint.
TEST_F(WindowTest, TheToolButtonsShowTheirDesignedHintsAndRunTheirDesignedCommands) {
  const struct {
    const char* control;
    const char* hint;
    bool runsCommand;
    WindowCommand command;
  } designed[] = {
      {"SpdBtnExit", "Exit Application", false, WindowCommand::Count},
      {"SpdBtnOpen", "Clear buffer and Load Object File", true, WindowCommand::FileOpenBtnClick},
      {"SpdBtnLoadMore", "Just load object file(no buffer Clear )", true, WindowCommand::SpdBtnLoadMoreClick},
      {"SpdBtnLdPrj", "Open Project File", true, WindowCommand::SpdBtnLdPrjClick},
      {"SpdBtnDownLoad", "Download to programmer for Off-Line Programming", true, WindowCommand::SpdBtnDownLoadClick},
      {"AutoSpdBtn", "Auto-Prog: Blank-Erase-Prog-Verify and Write Option Bytes", true, WindowCommand::AutoSpdBtnClick},
      {"SpdBtnBlankChk", "Do Chip Blank Check", true, WindowCommand::SpdBtnBlankChkClick},
      {"SpdBtnErase", "DO Chip Erase", true, WindowCommand::SpdBtnEraseClick},
      {"SpdBtnProg", "Do Chip Programming", true, WindowCommand::SpdBtnProgClick},
      {"SpdBtnVerify", "Do Chip Verification", true, WindowCommand::SpdBtnVerifyClick},
      {"SpdBtnWrtOPB", "Write Option or config data", true, WindowCommand::SpdBtnWrtOPBClick},
  };
  Show();
  std::set<std::string> hinted;
  for (const auto& d : designed) {
    SCOPED_TRACE(d.control);
    hinted.insert(d.control);
    auto& button = Find<QAbstractButton>(QString::fromLatin1(d.control));
    EXPECT_EQ(button.toolTip().toStdString(), d.hint);
    if (!d.runsCommand) continue;
    commands.ran.clear();
    Fire(button);
    ASSERT_FALSE(commands.ran.empty());
    EXPECT_EQ(commands.ran.front(), d.command);
  }
  for (const Sender& s : kSenders) {
    if (s.HasHint) {
      EXPECT_TRUE(hinted.contains(s.Control)) << s.Control << " has a hint the design does not give it";
    }
  }
}

TEST(WindowCommandList, EveryCommandBesidesTheFramesHasASender) {
  for (std::size_t i = 0; i < WindowCommandCount; ++i) {
    const auto command = static_cast<WindowCommand>(i);
    const bool sent = std::any_of(kSenders.begin(), kSenders.end(),
                                  [command](const Sender& s) { return s.RunsCommand && s.Command == command; });
    EXPECT_NE(sent, kCoreCommands.contains(command)) << "command " << i;
  }
}

class ProgramCommands : public test::ProgramRig, public ::testing::Test {};

TEST_F(ProgramCommands, EveryCommandIsBoundAndNoneBeyondTheList) {
  Make();
  MainController& controller = program->Controller();
  for (std::size_t i = 0; i < WindowCommandCount; ++i) {
    EXPECT_TRUE(controller.IsBound(static_cast<WindowCommand>(i))) << "command " << i;
  }
  EXPECT_FALSE(controller.IsBound(WindowCommand::Count));
  EXPECT_THROW(controller.Run(WindowCommand::Count), std::logic_error);
  EXPECT_THROW(controller.Bind(WindowCommand::Count, [] {}), std::logic_error);
}

TEST(UnitCommandRules, NoRuleBeyondTheCommands) {
  EXPECT_EQ(RuleOf(UnitCommand::ReadChipInfo).Start, UnitStart::ReadChipInfo);
  EXPECT_THROW(RuleOf(UnitCommand::Count), std::logic_error);
}

}  // namespace
}  // namespace qx
