#include <QAction>
#include <QTabWidget>
#include <QWidget>
#include <array>
#include <initializer_list>
#include <vector>

#include "app/ui/GenMFrmARM.h"
#include "app/ui/QtText.h"
#include "app/ui/RadioGroup.h"
#include "chips/WindowChanges.h"
#include "ui_GenMFrmARM.h"

namespace qx {

namespace {


struct NamedText {
  std::string_view Name;
  TextId Id;
};

// Captions set when the window is first shown, in this order.
constexpr NamedText kFirstShowCaptions[] = {
    {"SpdBtnExit", TextId::WndSpdBtnExit},
    {"SpdBtnOpen", TextId::WndSpdBtnOpen},
    {"SpdBtnLoadMore", TextId::WndSpdBtnLoadMore},
    {"SpdBtnLdPrj", TextId::WndSpdBtnLdPrj},
    {"SpdBtnDownLoad", TextId::WndSpdBtnDownLoad},
    {"AutoSpdBtn", TextId::WndAutoSpdBtn},
    {"SpdBtnBlankChk", TextId::WndSpdBtnBlankChk},
    {"SpdBtnErase", TextId::WndSpdBtnErase},
    {"SpdBtnProg", TextId::WndSpdBtnProg},
    {"SpdBtnVerify", TextId::WndSpdBtnVerify},
    {"SpdBtnWrtOPB", TextId::WndSpdBtnWrtOPB},
    {"BitBtnFindDev", TextId::WndBitBtnFindDev},
    {"ButtonCfgSN", TextId::WndButtonCfgSN},
    {"GroupBoxChip", TextId::WndGroupBoxChip},
    {"GroupBoxCfg", TextId::WndGroupBoxCfg},
    {"GroupBoxCom", TextId::WndGroupBoxCom},
    {"RadioGrpRST", TextId::WndRadioGrpRST},
    {"MCUNameEdit", TextId::WndMCUNameEdit},
    {"ComboBoxCOM", TextId::WndComboBoxCOM},
    {"RadioGpVolt", TextId::WndRadioGpVolt},
    {"RadioGrpSpdF", TextId::WndRadioGrpSpdF},
    {"ChkBoxRDP", TextId::WndChkBoxRDP},
    {"TabSheetCP", TextId::WndTabSheetCP},
    {"TabSheetSN", TextId::WndTabSheetSN},
    {"TabSheetSG", TextId::WndTabSheetSG},
    {"TabSheetSLG", TextId::WndTabSheetSLG},
    {"LabelMcu", TextId::WndLabelMcu},
    {"LabelCpInf", TextId::WndLabelCpInf},
    {"LabelSelDev", TextId::WndLabelSelDev},
    {"LabelMaxNum", TextId::WndLabelMaxNum},
    {"LabelTimIn", TextId::WndLabelTimIn},
    {"LabelTimOut", TextId::WndLabelTimOut},
    {"LabelSNC", TextId::WndLabelSNC},
    {"LabelSnGain", TextId::WndLabelSnGain},
    {"LabelSNAddr", TextId::WndLabelSNAddr},
    {"LabelPowUp", TextId::WndLabelPowUp},
    {"LabelPowDW", TextId::WndLabelPowDW},
};

// Captions set after the reset-mode items, in this order.
constexpr NamedText kCheckBoxCaptions[] = {
    {"ChkBoxErsEEP", TextId::WndChkBoxErsEEP},
    {"ChkBoxPrgEEP", TextId::WndChkBoxPrgEEP},
    {"CheckBoxOpt", TextId::WndCheckBoxOpt},
    {"SNOrderChk", TextId::WndSNOrderChk},
    {"CheckBoxSN", TextId::WndCheckBoxSN},
    {"ChkBoxPCSN", TextId::WndChkBoxPCSN},
    {"ChkBoxSNDP", TextId::WndChkBoxSNDP},
    {"ChkBoxBlkEr", TextId::WndChkBoxBlkEr},
    {"ChkBoxAuto", TextId::WndChkBoxAuto},
    {"CheckBoxCtrl", TextId::WndCheckBoxCtrl},
    {"ChkBoxVDD", TextId::WndChkBoxVDD},
    {"CheckBoxRun", TextId::WndCheckBoxRun},
    {"ChkBoxCpErsM", TextId::WndChkBoxCpErsM},
    {"ChkBoxRunSHT", TextId::WndChkBoxRunSHT},
};

// The window's other texts, which no run-time step changes.
constexpr NamedText kDesignCaptions[] = {
    {"File1", TextId::WndFile1},
    {"Execute1", TextId::WndExecute1},
    {"LoadEepDataFile1", TextId::WndLoadEepDataFile1},
    {"SaveFile1", TextId::WndSaveFile1},
    {"SaveEepDatatoFile1", TextId::WndSaveEepDatatoFile1},
    {"SavetoProjectFile1", TextId::WndSavetoProjectFile1},
    {"LoadFromProjectFile1", TextId::WndLoadFromProjectFile1},
    {"ShowChipOptionData1", TextId::WndShowChipOptionData1},
    {"ConfigLogFile1", TextId::WndConfigLogFile1},
    {"Exit1", TextId::WndExit1},
    {"Execute2", TextId::WndExecute2},
    {"Download1", TextId::WndDownload1},
    {"AutoProgram1", TextId::WndAutoProgram1},
    {"BlankCheck1", TextId::WndBlankCheck1},
    {"EraseChip1", TextId::WndEraseChip1},
    {"Programming1", TextId::WndProgramming1},
    {"VeriufyDownload1", TextId::WndVeriufyDownload1},
    {"WriteOptionByte1", TextId::WndWriteOptionByte1},
    {"WriteEepDataMemory1", TextId::WndWriteEepDataMemory1},
    {"DoFirmwareUpgrade1", TextId::WndDoFirmwareUpgrade1},
    {"ReadCommand", TextId::WndReadCommand},
    {"ReadChipMemory1", TextId::WndReadChipMemory1},
    {"ReadEEPMemory1", TextId::WndReadEEPMemory1},
    {"ReadOptionByte1", TextId::WndReadOptionByte1},
    {"ReadChipCheckSum1", TextId::WndReadChipCheckSum1},
    {"ReadMG32xxChipID1", TextId::WndReadMG32xxChipID1},
    {"ReadSpcAddress", TextId::WndReadSpcAddress},
    {"StartOfflineProgrm1", TextId::WndStartOfflineProgrm1},
    {"Help1", TextId::WndHelp1},
    {"About1", TextId::WndAbout1},
    {"ClearInformation1", TextId::WndClearInformation1},
    {"CopytoCli1", TextId::WndCopytoCli1},
    {"LoadFileOTP", TextId::WndLoadFileOTP},
    {"ChipSett", TextId::WndChipSett},
    {"TabSheetFlash", TextId::WndTabSheetFlash},
    {"TabSheetEEP", TextId::WndTabSheetEEP},
    {"TabShtOPB", TextId::WndTabShtOPB},
    {"InfoPanel", TextId::WndInfoPanel},
    {"RadioGroupPIF", TextId::WndRadioGroupPIF},
    {"DevButton", TextId::WndDevButton},
    {"BtnOptionCfg", TextId::WndBtnOptionCfg},
    {"LabelDEVA", TextId::WndLabelDEVA},
    {"LabelSumy", TextId::WndLabelSumy},
    {"LabelBTAS", TextId::WndLabelBTAS},
    {"LabelBTAE", TextId::WndLabelBTAE},
    {"LabelAPAS", TextId::WndLabelAPAS},
    {"LabelAPAE", TextId::WndLabelAPAE},
    {"LabelBTVER", TextId::WndLabelBTVER},
    {"LabelBTFS", TextId::WndLabelBTFS},
    {"LabelAPVER", TextId::WndLabelAPVER},
    {"LabelAPFS", TextId::WndLabelAPFS},
    {"LabelPOLY", TextId::WndLabelPOLY},
    {"LabelINIV", TextId::WndLabelINIV},
    {"LabelXORV", TextId::WndLabelXORV},
    {"ChkBoxREFIN", TextId::WndChkBoxREFIN},
    {"ChkBoxREFOU", TextId::WndChkBoxREFOU},
    {"ChkBoxPrgInf", TextId::WndChkBoxPrgInf},
};

constexpr NamedText kHints[] = {
    {"SpdBtnExit", TextId::WndHintExit},
    {"SpdBtnOpen", TextId::WndHintOpen},
    {"SpdBtnLoadMore", TextId::WndHintLoadMore},
    {"SpdBtnLdPrj", TextId::WndHintLdPrj},
    {"SpdBtnDownLoad", TextId::WndHintDownLoad},
    {"AutoSpdBtn", TextId::WndHintAuto},
    {"SpdBtnBlankChk", TextId::WndHintBlankChk},
    {"SpdBtnErase", TextId::WndHintErase},
    {"SpdBtnProg", TextId::WndHintProg},
    {"SpdBtnVerify", TextId::WndHintVerify},
    {"SpdBtnWrtOPB", TextId::WndHintWrtOPB},
};

void SetItems(TRadioGroup& group, std::initializer_list<TextId> ids) {
  std::vector<QString> texts;
  for (TextId id : ids) texts.push_back(QtText(id));
  group.SetItemTexts(texts);
}

void ApplyCaptions(TGenMFrmARM& window, std::span<const NamedText> captions) {
  WindowChanges changes;
  for (const NamedText& c : captions) {
    ControlChange change;
    change.Name = c.Name;
    change.Caption = c.Id;
    changes.push_back(change);
  }
  [[maybe_unused]] const auto unknown = window.ApplyWindowChanges(changes);
  Q_ASSERT(unknown.empty());
}

}  // namespace

void TGenMFrmARM::SetDesignTexts() {
  setWindowTitle(QtText(TextId::MainCaption));
  ApplyCaptions(*this, kDesignCaptions);
  ApplyCaptions(*this, kFirstShowCaptions);
  ApplyCaptions(*this, kCheckBoxCaptions);
  for (const NamedText& h : kHints) {
    if (auto* w = qobject_cast<QWidget*>(FindControl(h.Name))) w->setToolTip(QtText(h.Id));
  }
  SetItems(*ui_->RadioGpVolt, {TextId::WndVolt33, TextId::WndVolt50});
  SetItems(*ui_->RadioGrpSpdF, {TextId::WndSpdFast, TextId::WndSpdSlow});
  SetItems(*ui_->RadioGroupPIF, {TextId::WndPifSwd, TextId::WndPifSwe});
  SetItems(*ui_->RadioGrpRST, {TextId::WndResetOutputLow, TextId::WndResetShutHiZ, TextId::WndResetAndShut});
}

void TGenMFrmARM::SetRunTimeCaptions() {
  ui_->PageControlSet->setTabVisible(ui_->PageControlSet->indexOf(ui_->TabSheetSLG), false);
  ui_->PageControlSet->setCurrentWidget(ui_->TabSheetSN);
  ApplyCaptions(*this, kFirstShowCaptions);
  SetItems(*ui_->RadioGrpRST, {TextId::WndResetOutputLow, TextId::WndResetShutHiZ, TextId::WndResetAndShut});
  ui_->RadioGrpRST->SetItemIndex(0);
  ApplyCaptions(*this, kCheckBoxCaptions);
  SetStatusPanel(0, Text(TextId::WndFileCheckSum));
  SetStatusPanel(1, Text(TextId::WndChipCheckSum));
}

}  // namespace qx
