// Which command each control runs, the start key, the handler wrapper.
#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include "app/ui/HandlerGuard.h"
#include "base/Errors.h"
#include "chips/WindowChanges.h"
#include "serial/CommsError.h"
#include "tests/app/ui/WindowFixture.h"

namespace qx {
namespace {

using test::WindowTest;
using C = WindowCommand;

TEST_F(WindowTest, EveryButtonAndMenuItemRunsItsCommand) {
  const struct {
    const char* sender;
    WindowCommand command;
  } table[] = {
      {"SpdBtnOpen", C::FileOpenBtnClick},           {"Execute1", C::FileOpenBtnClick},
      {"SpdBtnLoadMore", C::SpdBtnLoadMoreClick},     {"SpdBtnLdPrj", C::SpdBtnLdPrjClick},
      {"LoadFromProjectFile1", C::SpdBtnLdPrjClick},  {"SavetoProjectFile1", C::SavetoProjectFile1Click},
      {"LoadEepDataFile1", C::LoadEepDataFile1Click}, {"LoadFileOTP", C::LoadEepDataFile1Click},
      {"SaveEepDatatoFile1", C::SaveEepDatatoFile1Click}, {"SaveFile1", C::FileSaveBtnClick},
      {"ShowChipOptionData1", C::ShowChipOptionData1Click}, {"DevButton", C::DevButtonClick},
      {"BtnOptionCfg", C::BtnOptionCfgClick},         {"CheckBoxSN", C::CheckBoxSNClick},
      {"ChkBoxSNDP", C::ChkBoxSNDPClick},             {"ButtonCfgSN", C::ButtonCfgSNClick},
      {"BitBtnFindDev", C::BitBtnFindDevClick},       {"StartOfflineProgrm1", C::StartOfflineProgrm1Click},
      {"DoFirmwareUpgrade1", C::DoFirmwareUpgrade1Click}, {"AutoSpdBtn", C::AutoSpdBtnClick},
      {"AutoProgram1", C::AutoSpdBtnClick},           {"SpdBtnDownLoad", C::SpdBtnDownLoadClick},
      {"Download1", C::SpdBtnDownLoadClick},          {"SpdBtnBlankChk", C::SpdBtnBlankChkClick},
      {"BlankCheck1", C::SpdBtnBlankChkClick},        {"SpdBtnErase", C::SpdBtnEraseClick},
      {"EraseChip1", C::SpdBtnEraseClick},            {"SpdBtnProg", C::SpdBtnProgClick},
      {"Programming1", C::SpdBtnProgClick},           {"SpdBtnVerify", C::SpdBtnVerifyClick},
      {"VeriufyDownload1", C::SpdBtnVerifyClick},     {"SpdBtnWrtOPB", C::SpdBtnWrtOPBClick},
      {"WriteOptionByte1", C::SpdBtnWrtOPBClick},     {"WriteEepDataMemory1", C::WriteEepDataMemory1Click},
      {"ReadChipMemory1", C::ReadChipMemory1Click},   {"ReadEEPMemory1", C::ReadEEPMemory1Click},
      {"ReadOptionByte1", C::ReadOptionByte1Click},   {"ReadChipCheckSum1", C::ReadChipCheckSum1Click},
      {"ReadMG32xxChipID1", C::ReadMG32xxChipID1Click}, {"ReadSpcAddress", C::ReadSpcAddressClick},
      {"SpdBtnExit", C::ClosePorts},                  {"Exit1", C::ClosePorts},
  };
  for (const auto& row : table) {
    SCOPED_TRACE(row.sender);
    commands.ran.clear();
    QObject& sender = Find<QObject>(row.sender);
    if (auto* action = qobject_cast<QAction*>(&sender)) {
      action->setVisible(true);  // a hidden action is also disabled
      action->trigger();
    } else {
      qobject_cast<QAbstractButton*>(&sender)->click();
    }
    ASSERT_FALSE(commands.ran.empty());
    EXPECT_EQ(commands.ran.front(), row.command);
  }
  commands.ran.clear();
  Find<QLineEdit>("MCUNameEdit").setText("SA32B14xx");
  EXPECT_EQ(commands.ran, std::vector<WindowCommand>{C::MCUNameEditChange});
}

class StartKey : public WindowTest {
 protected:
  void SetUp() override {
    Show();
    commands.ran.clear();
  }
  void Press(QWidget& target, int key, Qt::KeyboardModifiers mods = Qt::NoModifier, bool autoRepeat = false) {
    QKeyEvent press(QEvent::KeyPress, key, mods, key == Qt::Key_Space ? " " : "\r", autoRepeat);
    QApplication::sendEvent(&target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, mods, press.text(), autoRepeat);
    QApplication::sendEvent(&target, &release);
  }
};

TEST_F(StartKey, SpaceOnAFocusedButtonStartsAutoOnceAndNothingElse) {
  auto& connect = Find<QPushButton>("BitBtnFindDev");
  connect.setFocus();
  QTest::keyClick(&connect, Qt::Key_Space);
  EXPECT_EQ(commands.ran, std::vector<WindowCommand>{C::AutoSpdBtnClick});
}

TEST_F(StartKey, EnterAndSpaceInEditsStartAutoAndLeaveTheEdit) {
  auto& edit = Find<QLineEdit>("EditDevAdr");
  int returns = 0;
  QObject::connect(&edit, &QLineEdit::returnPressed, [&] { ++returns; });
  QTest::keyClick(&edit, Qt::Key_Return);
  Press(edit, Qt::Key_Enter, Qt::KeypadModifier);
  edit.setCursorPosition(2);
  QTest::keyClick(&edit, Qt::Key_Space);
  EXPECT_EQ(commands.ran, std::vector<WindowCommand>(3, C::AutoSpdBtnClick));
  EXPECT_EQ(edit.text(), "0x00");
  EXPECT_EQ(returns, 0);
}

TEST_F(StartKey, OtherKeysRepeatsAndShortcutChordsStartNothing) {
  auto& edit = Find<QLineEdit>("EditDevAdr");
  Press(edit, Qt::Key_Space, Qt::NoModifier, /*autoRepeat=*/true);
  Press(edit, Qt::Key_Return, Qt::ControlModifier);
  QTest::keyClick(&edit, Qt::Key_A);
  EXPECT_TRUE(commands.ran.empty());
  EXPECT_EQ(edit.text(), "0x00a");  // the letter reached the edit, the repeated space did not
}

TEST_F(StartKey, NothingWhileAutoIsHiddenOrDisabled) {
  auto& connect = Find<QPushButton>("BitBtnFindDev");
  auto& autoButton = Find<QToolButton>("AutoSpdBtn");
  autoButton.hide();
  QTest::keyClick(&connect, Qt::Key_Space);
  QTest::keyClick(&Find<QLineEdit>("EditDevAdr"), Qt::Key_Return);
  autoButton.show();
  autoButton.setEnabled(false);
  QTest::keyClick(&connect, Qt::Key_Space);
  EXPECT_TRUE(commands.ran.empty());
}

TEST_F(StartKey, DialogsOfTheWindowKeepTheirKeys) {
  QDialog dialog(&window);
  QPushButton button(&dialog);
  int clicks = 0;
  QObject::connect(&button, &QPushButton::clicked, [&] { ++clicks; });
  dialog.show();
  QTest::keyClick(&button, Qt::Key_Space);
  EXPECT_EQ(clicks, 1);
  EXPECT_TRUE(commands.ran.empty());
}

TEST_F(WindowTest, AnExceptionEndsTheCommandInAnErrorBoxAndTheProgramGoesOn) {
  const struct {
    std::function<void()> raise;
    const char* shown;
  } table[] = {
      {[] { throw ECommsError("Error opening serial port:/dev/ttyUSB3"); }, "Error opening serial port:/dev/ttyUSB3"},
      {[] { throw EConvertError("'0x8000G' is not a valid integer value"); }, "'0x8000G' is not a valid integer value"},
      {[] { throw EInOutError("Cannot open file a.hex"); }, "Cannot open file a.hex"},
      {[] { throw std::length_error("vector"); }, "vector"},
      {[] { throw 7; }, "Unknown error."},
  };
  for (const auto& row : table) {
    SCOPED_TRACE(row.shown);
    boxes.clear();
    commands.ran.clear();
    commands.onRun = [&](WindowCommand c) {
      if (c == C::AutoSpdBtnClick) row.raise();
    };
    Find<QToolButton>("AutoSpdBtn").click();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].kind, MsgKind::Error);
    EXPECT_EQ(boxes[0].text, row.shown);
    EXPECT_EQ(boxes[0].buttons, MsgButtons::Ok);
    Find<QToolButton>("SpdBtnBlankChk").click();
    EXPECT_EQ(commands.ran, (std::vector<WindowCommand>{C::AutoSpdBtnClick, C::SpdBtnBlankChkClick}));
    EXPECT_EQ(boxes.size(), 1u);
  }
}

TEST(HandlerGuard, AnErrorBoxThatFailsItselfStillEndsQuietly) {
  int shown = 0;
  RunHandler([] { throw EInOutError("disk"); }, [&](std::string_view) {
    ++shown;
    throw std::runtime_error("box");
  });
  RunHandler([] { throw EInOutError("disk"); }, nullptr);
  EXPECT_EQ(shown, 1);
}

}  // namespace
}  // namespace qx
