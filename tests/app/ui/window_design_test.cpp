// The main window as designed: object names and kinds, menus with their items, keys and
// hidden entries, the tool-bar order, the settings pages' design values, the frame.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>

#include "app/ui/RadioGroup.h"
#include "tests/app/ui/WindowFixture.h"

namespace qx {
namespace {

using test::WindowTest;

QStringList Split(const char* names) { return QString::fromLatin1(names).split(' ', Qt::SkipEmptyParts); }

TEST_F(WindowTest, DesignedObjectNamesExistWithTheirKinds) {
  const struct {
    const QMetaObject* kind;
    const char* names;
  } table[] = {
      {&QToolButton::staticMetaObject,
       "SpdBtnExit SpdBtnOpen SpdBtnLoadMore SpdBtnLdPrj SpdBtnDownLoad AutoSpdBtn SpdBtnBlankChk SpdBtnErase "
       "SpdBtnProg SpdBtnVerify SpdBtnWrtOPB"},
      {&QTabWidget::staticMetaObject, "ViewPageCtrl PageControlSet"},
      {&QWidget::staticMetaObject,
       "ChipSett TabSheetFlash TabSheetEEP TabShtOPB TabSheetCP TabSheetSN TabSheetSG TabSheetSLG"},
      {&QGroupBox::staticMetaObject, "GroupBoxChip GroupBoxCfg GroupBoxCom"},
      {&TRadioGroup::staticMetaObject, "RadioGpVolt RadioGrpSpdF RadioGroupPIF RadioGrpRST"},
      {&QLineEdit::staticMetaObject,
       "MCUNameEdit SNEdit1 GainEdit AddrEdit EditDevAdr EditSumy EditBTAS EditBTAE EditAPAS EditAPAE EditBTVER "
       "EditBTFS EditAPVER EditAPFS EditPOLY EditINIV EditXORV"},
      {&QPushButton::staticMetaObject, "DevButton BtnOptionCfg ButtonCfgSN BitBtnFindDev"},
      {&QCheckBox::staticMetaObject,
       "CheckBoxOpt ChkBoxRDP ChkBoxErsEEP ChkBoxPrgEEP SNOrderChk CheckBoxSN ChkBoxPCSN ChkBoxSNDP ChkBoxBlkEr "
       "ChkBoxAuto CheckBoxCtrl ChkBoxVDD CheckBoxRun ChkBoxCpErsM ChkBoxRunSHT ChkBoxREFIN ChkBoxREFOU ChkBoxPrgInf"},
      {&QSpinBox::staticMetaObject, "SpinEditNum SpinEditIn SpinEditOut SpinEditRTM SpinEditVddTim SpinEditPWDTim"},
      {&QLabel::staticMetaObject,
       "LabelMcu LabelCpInf DpCpInfX LabelSelDev LabelMaxNum LabelTimIn LabelTimOut LabelSNC LabelSnGain LabelSNAddr "
       "LabelPowUp LabelPowDW LabelDEVA InfoPanel"},
      {&QComboBox::staticMetaObject, "ComboBoxCOM"},
      {&QPlainTextEdit::staticMetaObject, "InfoMemo"},
      {&QProgressBar::staticMetaObject, "Gauge1 Gauge2 Gauge3 Gauge4 Gauge5 Gauge6 Gauge7 Gauge8 Gauge9 Gauge10"},
      {&QTableView::staticMetaObject, "HexViewer EEPDataView OptionView"},
      {&QFrame::staticMetaObject, "PanelBtns"},
      {&QStatusBar::staticMetaObject, "StatusBar1"},
      {&QMenuBar::staticMetaObject, "MainMenu1"},
      {&QMenu::staticMetaObject, "File1 Execute2 ReadCommand Help1 PopupMenu2 PopupMenuOTP"},
      {&QAction::staticMetaObject, "StartOfflineProgrm1 ClearInformation1 CopytoCli1 LoadFileOTP"},
  };
  EXPECT_EQ(window.objectName(), "GenMFrmARM");
  for (const auto& row : table) {
    for (const QString& name : Split(row.names)) {
      SCOPED_TRACE(name.toStdString());
      QObject* o = window.findChild<QObject*>(name);
      ASSERT_NE(o, nullptr);
      EXPECT_TRUE(o->metaObject()->inherits(row.kind)) << o->metaObject()->className();
    }
  }
}

TEST_F(WindowTest, MenusHoldTheirItemsInOrderWithKeysAndHiddenEntries) {
  const struct {
    const char* menu;
    const char* items;
  } menus[] = {
      {"File1",
       "Execute1 LoadEepDataFile1 SaveFile1 SaveEepDatatoFile1 SavetoProjectFile1 LoadFromProjectFile1 "
       "ShowChipOptionData1 ConfigLogFile1 Exit1"},
      {"Execute2",
       "Download1 AutoProgram1 BlankCheck1 EraseChip1 Programming1 VeriufyDownload1 WriteOptionByte1 "
       "WriteEepDataMemory1 DoFirmwareUpgrade1"},
      {"ReadCommand", "ReadChipMemory1 ReadEEPMemory1 ReadOptionByte1 ReadChipCheckSum1 ReadMG32xxChipID1 ReadSpcAddress"},
      {"Help1", "About1"},
      {"PopupMenu2", "ClearInformation1 CopytoCli1"},
      {"PopupMenuOTP", "LoadFileOTP"},
  };
  for (const auto& m : menus) {
    SCOPED_TRACE(m.menu);
    QStringList names;
    for (QAction* a : Find<QMenu>(m.menu).actions())
      if (!a->isSeparator()) names << a->objectName();
    EXPECT_EQ(names, Split(m.items));
  }
  QStringList bar;
  for (QAction* a : Find<QMenuBar>("MainMenu1").actions())
    bar << (a->menu() != nullptr ? a->menu()->objectName() : a->objectName());
  EXPECT_EQ(bar, Split("File1 Execute2 ReadCommand StartOfflineProgrm1 Help1"));

  const struct {
    const char* action;
    const char* keys;
  } keys[] = {{"Execute1", "F3"},      {"SaveFile1", "F2"},        {"SavetoProjectFile1", "Ctrl+F2"},
              {"LoadFromProjectFile1", "Ctrl+F3"}, {"Exit1", "Ctrl+X"}, {"Download1", "F4"},
              {"AutoProgram1", "F5"},  {"BlankCheck1", "F7"},      {"EraseChip1", "F8"},
              {"Programming1", "F9"},  {"VeriufyDownload1", "F10"}, {"WriteOptionByte1", "F11"},
              {"ReadChipMemory1", "F12"}, {"ReadOptionByte1", "Ctrl+O"}, {"ReadMG32xxChipID1", "Ctrl+I"},
              {"About1", "F1"}};
  for (const auto& k : keys)
    EXPECT_EQ(Find<QAction>(k.action).shortcut(), QKeySequence(QString::fromLatin1(k.keys))) << k.action;

  for (const QString& name :
       Split("LoadEepDataFile1 SaveEepDatatoFile1 WriteOptionByte1 WriteEepDataMemory1 ReadEEPMemory1 ReadOptionByte1"))
    EXPECT_FALSE(Find<QAction>(name).isVisible()) << name.toStdString();
  EXPECT_TRUE(Find<QAction>("ReadMG32xxChipID1").isVisible());
}

TEST_F(WindowTest, ToolBarInDesignedOrderWithHintsAndHiddenControls) {
  Show();
  const QStringList order = Split(
      "SpdBtnExit SpdBtnOpen SpdBtnLoadMore SpdBtnLdPrj SpdBtnDownLoad AutoSpdBtn SpdBtnBlankChk SpdBtnErase "
      "SpdBtnProg SpdBtnVerify");
  for (qsizetype i = 1; i < order.size(); ++i)
    EXPECT_LT(Find<QToolButton>(order[i - 1]).x(), Find<QToolButton>(order[i]).x()) << order[i].toStdString();
  EXPECT_EQ(Find<QFrame>("PanelBtns").height(), 41);
  EXPECT_EQ(Find<QToolButton>("SpdBtnLoadMore").toolTip(), "Just load object file(no buffer Clear )");
  EXPECT_EQ(Find<QToolButton>("AutoSpdBtn").toolTip(), "Auto-Prog: Blank-Erase-Prog-Verify and Write Option Bytes");
  EXPECT_EQ(Find<QToolButton>("SpdBtnErase").toolTip(), "DO Chip Erase");

  for (const QString& name : Split("SpdBtnWrtOPB RadioGroupPIF BtnOptionCfg CheckBoxOpt ChkBoxErsEEP ChkBoxPrgEEP"))
    EXPECT_TRUE(Find<QWidget>(name).isHidden()) << name.toStdString();
  auto& view = Find<QTabWidget>("ViewPageCtrl");
  EXPECT_FALSE(view.isTabVisible(view.indexOf(&Find<QWidget>("TabShtOPB"))));
  EXPECT_EQ(view.currentWidget(), &Find<QWidget>("ChipSett"));
}

TEST_F(WindowTest, SettingsPagesCarryTheirDesignValues) {
  const struct {
    const char* name;
    int min, max, step, value;
    bool enabled;
  } spins[] = {
      {"SpinEditNum", 0, 999999999, 1, 0, false},   {"SpinEditIn", 300, 1500, 30, 510, true},
      {"SpinEditOut", 300, 2000, 30, 510, true},    {"SpinEditRTM", 100, 2000, 10, 500, true},
      {"SpinEditVddTim", 10, 2000, 10, 100, true},  {"SpinEditPWDTim", 10, 2000, 10, 100, true},
  };
  for (const auto& s : spins) {
    SCOPED_TRACE(s.name);
    const auto& spin = Find<QSpinBox>(s.name);
    EXPECT_EQ(spin.minimum(), s.min);
    EXPECT_EQ(spin.maximum(), s.max);
    EXPECT_EQ(spin.singleStep(), s.step);
    EXPECT_EQ(spin.value(), s.value);
    EXPECT_EQ(spin.isEnabled(), s.enabled);
  }
  const struct {
    const char* name;
    const char* text;
    bool enabled;
  } edits[] = {
      {"SNEdit1", "0x00000000", false}, {"GainEdit", "0x01", false},      {"AddrEdit", "0x0000FFF0", false},
      {"EditDevAdr", "0x00", true},     {"EditSumy", "0xFFFFFFFF", true},  {"EditBTAS", "0xFFFFFFFF", true},
      {"EditBTAE", "0xFFFFFFFF", true}, {"EditAPAS", "0xFFFFFFFF", true},  {"EditAPAE", "0xFFFFFFFF", true},
      {"EditBTVER", "0", true},         {"EditBTFS", "0", true},          {"EditAPVER", "0", true},
      {"EditAPFS", "0", true},          {"EditPOLY", "0x04C11DB7", true},  {"EditINIV", "0xFFFFFFFF", true},
      {"EditXORV", "0xFFFFFFFF", true},
  };
  for (const auto& e : edits) {
    SCOPED_TRACE(e.name);
    const auto& edit = Find<QLineEdit>(e.name);
    EXPECT_EQ(edit.text(), e.text);
    EXPECT_EQ(edit.isEnabled(), e.enabled);
    // Fields filled by code take any length: QLineEdit cuts text set by code at maxLength.
    EXPECT_EQ(edit.maxLength(), 32767);
  }
  EXPECT_TRUE(Find<QLineEdit>("MCUNameEdit").isReadOnly());
  EXPECT_TRUE(Find<QCheckBox>("SNOrderChk").isChecked());
  EXPECT_FALSE(Find<QCheckBox>("SNOrderChk").isEnabled());
  EXPECT_FALSE(Find<QCheckBox>("ChkBoxPCSN").isEnabled());
  for (const QString& name : Split("ChkBoxAuto CheckBoxCtrl CheckBoxSN ChkBoxSNDP ChkBoxVDD CheckBoxRun ChkBoxCpErsM "
                                   "ChkBoxRunSHT ChkBoxBlkEr ChkBoxRDP ChkBoxPrgInf ChkBoxREFIN ChkBoxREFOU"))
    EXPECT_FALSE(Find<QCheckBox>(name).isChecked()) << name.toStdString();
  EXPECT_EQ(Find<TRadioGroup>("RadioGpVolt").ItemIndex(), 1);
  EXPECT_EQ(Find<TRadioGroup>("RadioGrpSpdF").ItemIndex(), 0);
  EXPECT_TRUE(Find<QPlainTextEdit>("InfoMemo").isReadOnly());
  const auto& info = Find<QLabel>("InfoPanel");
  EXPECT_TRUE(info.font().bold());
  EXPECT_EQ(info.palette().color(QPalette::WindowText), QColor(Qt::red));
}

TEST_F(WindowTest, FixedFrameWithMinimiseButNoMaximiseCentredOnTheScreen) {
  EXPECT_EQ(window.size(), QSize(940, 642));
  EXPECT_EQ(window.minimumSize(), window.maximumSize());
  EXPECT_TRUE(window.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
  EXPECT_FALSE(window.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
  EXPECT_EQ(window.windowTitle(), "QX740VVRD Programmer Wizard.");
  Show();
  const QPoint centre = window.screen()->availableGeometry().center();
  EXPECT_LE((window.geometry().center() - centre).manhattanLength(), 2);
}

}  // namespace
}  // namespace qx
