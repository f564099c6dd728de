// The window's texts in the English build: the run-time captions of the first show and the
// design texts set at construction.
#include <QLabel>
#include <QRadioButton>
#include <QStatusBar>
#include <QTabWidget>

#include "app/ui/RadioGroup.h"
#include "tests/app/ui/WindowFixture.h"

namespace qx {
namespace {

using test::WindowTest;

QString TabText(const QWidget& page) {
  auto* tabs = qobject_cast<QTabWidget*>(page.parentWidget()->parentWidget());
  return tabs->tabText(tabs->indexOf(&page));
}

TEST_F(WindowTest, FirstShowSetsTheRunTimeCaptionsOnce) {
  Show();
  const struct {
    const char* name;
    const char* text;
  } captions[] = {
      {"SpdBtnExit", "&Eixt"},
      {"AutoSpdBtn", "&AutoProg"},
      {"SpdBtnWrtOPB", "&Wrt.Cfg."},
      {"BitBtnFindDev", "&Connect Dev."},
      {"ButtonCfgSN", "Fill SN Data"},
      {"GroupBoxCfg", "Program Config"},
      {"RadioGrpRST", "Set Reset"},
      {"MCUNameEdit", "Please select Chip...."},
      {"ComboBoxCOM", "Select Device"},
      {"LabelTimOut", "Chip Out Stable Time(ms):"},
      {"LabelPowDW", "Pow Down Time(ms): "},
      {"ChkBoxRDP", "Enable ROP"},
      {"CheckBoxOpt", "Prog. Option Byte"},
      {"ChkBoxBlkEr", "Anti. Piggyback"},
      {"ChkBoxRunSHT", "Run Then Shut (ms):  "},
      {"InfoPanel", "Device = ??????"},
      {"File1", "&File"},
      {"VeriufyDownload1", "&Verification"},
      {"ReadMG32xxChipID1", "&Read Chip Information"},
      {"StartOfflineProgrm1", "Start Off-line Progrm"},
      {"CopytoCli1", "Copy Information"},
  };
  for (const auto& c : captions) EXPECT_EQ(test::ShownText(Find<QObject>(c.name)), c.text) << c.name;

  const struct {
    const char* page;
    const char* text;
  } tabs[] = {{"ChipSett", "Chip Setting"},   {"TabSheetFlash", "Main Flash"}, {"TabShtOPB", "Option Data"},
              {"TabSheetCP", "Number/Detect"}, {"TabSheetSN", "S/N Set"},      {"TabSheetSLG", "Cust-Info"}};
  for (const auto& t : tabs) EXPECT_EQ(TabText(Find<QWidget>(t.page)), t.text) << t.page;

  auto& pages = Find<QTabWidget>("PageControlSet");
  EXPECT_FALSE(pages.isTabVisible(pages.indexOf(&Find<QWidget>("TabSheetSLG"))));
  EXPECT_EQ(pages.currentWidget(), &Find<QWidget>("TabSheetSN"));

  auto& reset = Find<TRadioGroup>("RadioGrpRST");
  QStringList items;
  for (QRadioButton* b : reset.Items()) items << b->text();
  EXPECT_EQ(items, QStringList({"Output Low", "Shut Reset (HiZ)", "Reset and Shut"}));
  EXPECT_EQ(reset.ItemIndex(), 0);

  QStringList panels;
  QList<int> widths;
  for (QLabel* l : Find<QStatusBar>("StatusBar1").findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
    panels << l->text();
    widths << l->width();
  }
  EXPECT_EQ(panels, QStringList({"File CheckSum: ", "Chip CheckSum: ", ""}));
  // The designed widths are the least; the text-fit tests check the font's needs.
  ASSERT_EQ(widths.size(), 3);
  EXPECT_GE(widths[0], 180);
  EXPECT_GE(widths[1], 180);
  EXPECT_GE(widths[2], 300);

  // The first show runs once: the start-up is asked for once, however often it is shown.
  window.hide();
  Show();
  EXPECT_EQ(commands.ran, std::vector<WindowCommand>{WindowCommand::StartUp});
}

TEST_F(WindowTest, RunTimeCaptionsPutBackWhatTheRunChanged) {
  // The reset-mode group is set to its first item by the captions step, whatever it showed.
  Find<TRadioGroup>("RadioGrpRST").SetItemIndex(2);
  Find<QTabWidget>("PageControlSet").setCurrentIndex(0);
  window.SetRunTimeCaptions();
  EXPECT_EQ(Find<TRadioGroup>("RadioGrpRST").ItemIndex(), 0);
  EXPECT_EQ(Find<QTabWidget>("PageControlSet").currentIndex(), 1);
}

}  // namespace
}  // namespace qx
