#include <QAction>
#include <QTabWidget>
#include <QWidget>
#include <array>
#include <initializer_list>
#include <vector>

#include "app/ui/ControlText.h"
#include "app/ui/GenMFrmARM.h"
#include "app/ui/QtText.h"
#include "app/ui/RadioGroup.h"
#include "ui_GenMFrmARM.h"

namespace qx {

namespace {


struct Caption {
  QObject* Control;
  TextId Id;
};

// The captions of the controls that run a handler, and their hints.
void ShowSenderCaptions(Ui::GenMFrmARM& ui) {
#define QX_SENDER(Handler, Control, Caption) SetCaption(*ui.Control, QtText(TextId::Caption));
#define QX_SENDER_HINT(Handler, Control, Caption, Hint) \
  QX_SENDER(Handler, Control, Caption)                   \
  ui.Control->setToolTip(QtText(TextId::Hint));
#include "app/WindowCommandList.def"
}

// Captions set again when the window is first shown, in this order.
void ShowFirstShowCaptions(Ui::GenMFrmARM& ui) {
  const Caption captions[] = {
      {ui.GroupBoxChip, TextId::WndGroupBoxChip},
      {ui.GroupBoxCfg, TextId::WndGroupBoxCfg},
      {ui.GroupBoxCom, TextId::WndGroupBoxCom},
      {ui.RadioGrpRST, TextId::WndRadioGrpRST},
      {ui.ComboBoxCOM, TextId::WndComboBoxCOM},
      {ui.RadioGpVolt, TextId::WndRadioGpVolt},
      {ui.RadioGrpSpdF, TextId::WndRadioGrpSpdF},
      {ui.ChkBoxRDP, TextId::WndChkBoxRDP},
      {ui.TabSheetCP, TextId::WndTabSheetCP},
      {ui.TabSheetSN, TextId::WndTabSheetSN},
      {ui.TabSheetSG, TextId::WndTabSheetSG},
      {ui.TabSheetSLG, TextId::WndTabSheetSLG},
      {ui.LabelMcu, TextId::WndLabelMcu},
      {ui.LabelCpInf, TextId::WndLabelCpInf},
      {ui.LabelSelDev, TextId::WndLabelSelDev},
      {ui.LabelMaxNum, TextId::WndLabelMaxNum},
      {ui.LabelTimIn, TextId::WndLabelTimIn},
      {ui.LabelTimOut, TextId::WndLabelTimOut},
      {ui.LabelSNC, TextId::WndLabelSNC},
      {ui.LabelSnGain, TextId::WndLabelSnGain},
      {ui.LabelSNAddr, TextId::WndLabelSNAddr},
      {ui.LabelPowUp, TextId::WndLabelPowUp},
      {ui.LabelPowDW, TextId::WndLabelPowDW},
  };
  for (const Caption& c : captions) SetCaption(*c.Control, QtText(c.Id));
}

// Captions set again after the reset-mode items, in this order.
void ShowCheckBoxCaptions(Ui::GenMFrmARM& ui) {
  const Caption captions[] = {
      {ui.ChkBoxErsEEP, TextId::WndChkBoxErsEEP},
      {ui.ChkBoxPrgEEP, TextId::WndChkBoxPrgEEP},
      {ui.CheckBoxOpt, TextId::WndCheckBoxOpt},
      {ui.SNOrderChk, TextId::WndSNOrderChk},
      {ui.ChkBoxPCSN, TextId::WndChkBoxPCSN},
      {ui.ChkBoxBlkEr, TextId::WndChkBoxBlkEr},
      {ui.ChkBoxVDD, TextId::WndChkBoxVDD},
      {ui.CheckBoxRun, TextId::WndCheckBoxRun},
      {ui.ChkBoxCpErsM, TextId::WndChkBoxCpErsM},
      {ui.ChkBoxRunSHT, TextId::WndChkBoxRunSHT},
  };
  for (const Caption& c : captions) SetCaption(*c.Control, QtText(c.Id));
}

// The window's other texts, which no run-time step changes.
void ShowDesignCaptions(Ui::GenMFrmARM& ui) {
  const Caption captions[] = {
      {ui.File1, TextId::WndFile1},
      {ui.Execute2, TextId::WndExecute2},
      {ui.ReadCommand, TextId::WndReadCommand},
      {ui.Help1, TextId::WndHelp1},
      {ui.ChipSett, TextId::WndChipSett},
      {ui.TabSheetFlash, TextId::WndTabSheetFlash},
      {ui.TabSheetEEP, TextId::WndTabSheetEEP},
      {ui.TabShtOPB, TextId::WndTabShtOPB},
      {ui.InfoPanel, TextId::WndInfoPanel},
      {ui.RadioGroupPIF, TextId::WndRadioGroupPIF},
      {ui.LabelDEVA, TextId::WndLabelDEVA},
      {ui.LabelSumy, TextId::WndLabelSumy},
      {ui.LabelBTAS, TextId::WndLabelBTAS},
      {ui.LabelBTAE, TextId::WndLabelBTAE},
      {ui.LabelAPAS, TextId::WndLabelAPAS},
      {ui.LabelAPAE, TextId::WndLabelAPAE},
      {ui.LabelBTVER, TextId::WndLabelBTVER},
      {ui.LabelBTFS, TextId::WndLabelBTFS},
      {ui.LabelAPVER, TextId::WndLabelAPVER},
      {ui.LabelAPFS, TextId::WndLabelAPFS},
      {ui.LabelPOLY, TextId::WndLabelPOLY},
      {ui.LabelINIV, TextId::WndLabelINIV},
      {ui.LabelXORV, TextId::WndLabelXORV},
      {ui.ChkBoxREFIN, TextId::WndChkBoxREFIN},
      {ui.ChkBoxREFOU, TextId::WndChkBoxREFOU},
      {ui.ChkBoxPrgInf, TextId::WndChkBoxPrgInf},
  };
  for (const Caption& c : captions) SetCaption(*c.Control, QtText(c.Id));
}

void SetItems(TRadioGroup& group, std::initializer_list<TextId> ids) {
  std::vector<QString> texts;
  for (TextId id : ids) texts.push_back(QtText(id));
  group.SetItemTexts(texts);
}

}  // namespace

void TGenMFrmARM::SetDesignTexts() {
  setWindowTitle(QtText(TextId::MainCaption));
  ShowDesignCaptions(*ui_);
  ShowSenderCaptions(*ui_);
  ShowFirstShowCaptions(*ui_);
  ShowCheckBoxCaptions(*ui_);
  SetItems(*ui_->RadioGpVolt, {TextId::WndVolt33, TextId::WndVolt50});
  SetItems(*ui_->RadioGrpSpdF, {TextId::WndSpdFast, TextId::WndSpdSlow});
  SetItems(*ui_->RadioGroupPIF, {TextId::WndPifSwd, TextId::WndPifSwe});
  SetItems(*ui_->RadioGrpRST, {TextId::WndResetOutputLow, TextId::WndResetShutHiZ, TextId::WndResetAndShut});
}

void TGenMFrmARM::SetRunTimeCaptions() {
  ui_->PageControlSet->setTabVisible(ui_->PageControlSet->indexOf(ui_->TabSheetSLG), false);
  ui_->PageControlSet->setCurrentWidget(ui_->TabSheetSN);
  ShowSenderCaptions(*ui_);
  ShowFirstShowCaptions(*ui_);
  SetItems(*ui_->RadioGrpRST, {TextId::WndResetOutputLow, TextId::WndResetShutHiZ, TextId::WndResetAndShut});
  ui_->RadioGrpRST->SetItemIndex(0);
  ShowCheckBoxCaptions(*ui_);
  SetStatusPanel(0, Text(TextId::WndFileCheckSum));
  SetStatusPanel(1, Text(TextId::WndChipCheckSum));
}

}  // namespace qx
