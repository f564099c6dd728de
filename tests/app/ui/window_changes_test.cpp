// A chip family's changes applied to the window by object name.
#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include "app/ui/RadioGroup.h"
#include "chips/WindowChanges.h"
#include "tests/app/ui/WindowFixture.h"

namespace qx {
namespace {

using test::WindowTest;

ControlChange Change(std::string_view name) {
  ControlChange c;
  c.Name = name;
  return c;
}

TEST_F(WindowTest, OnlyTheGivenPropertiesOfANamedControlChange) {
  auto& box = Find<QCheckBox>("CheckBoxOpt");
  ControlChange show = Change("CheckBoxOpt");
  show.Visible = true;
  show.Checked = true;
  ControlChange caption = Change("CheckBoxOpt");
  caption.Caption = TextId::WndChkBoxPrgInf;
  EXPECT_TRUE(window.ApplyWindowChanges({show, caption}).empty());
  EXPECT_FALSE(box.isHidden());
  EXPECT_TRUE(box.isChecked());
  EXPECT_EQ(box.text(), "Programming Info Data");

  ControlChange hide = Change("CheckBoxOpt");
  hide.Visible = false;
  hide.Checked = false;
  EXPECT_TRUE(window.ApplyWindowChanges({hide}).empty());
  EXPECT_TRUE(box.isHidden());
  EXPECT_FALSE(box.isChecked());
  EXPECT_EQ(box.text(), "Programming Info Data");
  EXPECT_TRUE(box.isEnabled());
  EXPECT_TRUE(commands.ran.empty());  // set as states: no click handler ran
}

TEST_F(WindowTest, RadioIndexEditTextTabPageAndMenuItem) {
  ControlChange volt = Change("RadioGpVolt");
  volt.ItemIndex = 0;
  volt.Enabled = false;
  ControlChange pif = Change("RadioGroupPIF");
  pif.ItemIndex = 1;
  ControlChange sumy = Change("EditSumy");
  sumy.Text = "0x3FF40";
  ControlChange page = Change("TabSheetSLG");
  page.Visible = true;
  page.Selected = true;
  ControlChange item = Change("ReadMG32xxChipID1");
  item.Visible = false;
  EXPECT_TRUE(window.ApplyWindowChanges({volt, pif, sumy, page, item}).empty());
  EXPECT_EQ(Find<TRadioGroup>("RadioGpVolt").ItemIndex(), 0);
  EXPECT_FALSE(Find<TRadioGroup>("RadioGpVolt").isEnabled());
  EXPECT_EQ(Find<TRadioGroup>("RadioGroupPIF").ItemIndex(), 1);
  EXPECT_EQ(Find<QLineEdit>("EditSumy").text(), "0x3FF40");
  auto& pages = Find<QTabWidget>("PageControlSet");
  const int slg = pages.indexOf(&Find<QWidget>("TabSheetSLG"));
  EXPECT_TRUE(pages.isTabVisible(slg));
  EXPECT_EQ(pages.currentIndex(), slg);
  EXPECT_FALSE(Find<QAction>("ReadMG32xxChipID1").isVisible());

  ControlChange none = Change("RadioGpVolt");
  none.ItemIndex = -1;
  ControlChange hideTab = Change("TabSheetSLG");
  hideTab.Visible = false;
  EXPECT_TRUE(window.ApplyWindowChanges({none, hideTab}).empty());
  EXPECT_EQ(Find<TRadioGroup>("RadioGpVolt").ItemIndex(), -1);
  EXPECT_FALSE(pages.isTabVisible(slg));
}

TEST_F(WindowTest, ADisabledMenuAlsoSilencesTheShortcutsOfItsItems) {
  Show();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  commands.ran.clear();
  QTest::keyClick(&window, Qt::Key_F4);
  ASSERT_EQ(commands.ran, std::vector<WindowCommand>{WindowCommand::SpdBtnDownLoadClick});

  ControlChange off = Change("Execute2");
  off.Enabled = false;
  EXPECT_TRUE(window.ApplyWindowChanges({off}).empty());
  commands.ran.clear();
  for (int key : {Qt::Key_F4, Qt::Key_F5, Qt::Key_F7, Qt::Key_F8, Qt::Key_F9, Qt::Key_F10})
    QTest::keyClick(&window, static_cast<Qt::Key>(key));
  EXPECT_TRUE(commands.ran.empty());
  EXPECT_FALSE(Find<QMenu>("Execute2").menuAction()->isEnabled());
  // The tool bar is not the menu: its Download button still works.
  Find<QToolButton>("SpdBtnDownLoad").click();
  EXPECT_EQ(commands.ran, std::vector<WindowCommand>{WindowCommand::SpdBtnDownLoadClick});

  ControlChange on = Change("Execute2");
  on.Enabled = true;
  EXPECT_TRUE(window.ApplyWindowChanges({on}).empty());
  commands.ran.clear();
  QTest::keyClick(&window, Qt::Key_F5);
  EXPECT_EQ(commands.ran, std::vector<WindowCommand>{WindowCommand::AutoSpdBtnClick});
  // A hidden item stays out of reach when its menu comes back.
  QTest::keyClick(&window, Qt::Key_F11);
  EXPECT_EQ(commands.ran.size(), 1u);
}

TEST_F(WindowTest, UnknownNamesAreReportedAndChangeNothingElse) {
  QDialog dialog(&window);
  QLineEdit foreign(&dialog);
  foreign.setObjectName("ForeignEdit");
  ControlChange stranger = Change("ForeignEdit");
  stranger.Text = "changed";
  ControlChange typo = Change("ChkBoxRPD");
  typo.Visible = false;
  ControlChange rdp = Change("ChkBoxRDP");
  rdp.Visible = false;
  EXPECT_EQ(window.ApplyWindowChanges({stranger, typo, rdp}), (std::vector<std::string>{"ForeignEdit", "ChkBoxRPD"}));
  EXPECT_TRUE(foreign.text().isEmpty());
  EXPECT_TRUE(Find<QCheckBox>("ChkBoxRDP").isHidden());
}

}  // namespace
}  // namespace qx
