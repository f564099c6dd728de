#include "app/ui/GenMFrmARM.h"

#include <QAbstractButton>
#include <QAction>
#include <QCloseEvent>
#include <QDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QScreen>
#include <QStyle>
#include <QStyleFactory>
#include <QTableView>

#include "app/HexGridRows.h"
#include "app/UnattendedOperator.h"
#include "app/ui/AboutForm.h"
#include "app/ui/ControlText.h"
#include "app/ui/FileDialogBox.h"
#include "app/ui/HandlerGuard.h"
#include "app/ui/MessageBoxes.h"
#include "app/ui/ProgressGauges.h"
#include "app/ui/QtText.h"
#include "app/ui/TypedLengthLimit.h"
#include "app/ui/TextFit.h"
#include "images/ViewChecksums.h"
#include "images/ui/FormOfsAddr.h"
#include "project/ui/LogCfgForm.h"
#include "ui_GenMFrmARM.h"

namespace qx {

namespace {


using W = TGenMFrmARM;

// How a control runs its handler: buttons on click, menu items when triggered, an edit
// when its text changes.
template <class Run>
void ConnectSender(W& window, QAbstractButton* button, Run run) {
  QObject::connect(button, &QAbstractButton::clicked, &window, run);
}
template <class Run>
void ConnectSender(W& window, QAction* action, Run run) {
  QObject::connect(action, &QAction::triggered, &window, run);
}
template <class Run>
void ConnectSender(W& window, QLineEdit* edit, Run run) {
  QObject::connect(edit, &QLineEdit::textChanged, &window, run);
}

constexpr int kStatusPanelWidth[3] = {180, 180, 300};
constexpr int kAddressColumnWidth = 73;
constexpr int kByteColumnWidth = 25;
constexpr int kTextColumnWidth = 130;
constexpr int kGridRowHeight = 20;

}  // namespace

TGenMFrmARM::TGenMFrmARM(QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      ui_(std::make_unique<Ui::GenMFrmARM>()),
      popupMenu2_(this),
      popupMenuOTP_(this),
      keyPreview_(*this, [this] { Run(&TGenMFrmARM::StartKeyPress); }) {
  ui_->setupUi(this);
  gauges_ = {ui_->Gauge1, ui_->Gauge2, ui_->Gauge3, ui_->Gauge4, ui_->Gauge5,
             ui_->Gauge6, ui_->Gauge7, ui_->Gauge8, ui_->Gauge9, ui_->Gauge10};
  // The gauges move on every unit's reply: the default style paints a striped bar of many
  // anti-aliased lines each time, which with ten units running cost the window a fifth of
  // a core; the plain style fills blocks.
  if (QStyle* plain = QStyleFactory::create(QStringLiteral("Windows"))) {
    plain->setParent(this);
    for (QProgressBar* bar : gauges_) bar->setStyle(plain);
  }

  for (std::size_t i = 0; i < statusPanels_.size(); ++i) {
    statusPanels_[i].setFrameShape(QFrame::Panel);
    statusPanels_[i].setFrameShadow(QFrame::Sunken);
  }
  // The sum panels fit their longest text in this build's font; the file panel takes the rest.
  const std::array<TextId, 2> sumCaption{TextId::WndFileCheckSum, TextId::WndChipCheckSum};
  const std::array<TextId, 2> sumText{TextId::StatusFileChecksum, TextId::StatusChipChecksum};
  for (std::size_t i = 0; i < sumText.size(); ++i) {
    std::vector<QString> texts{QtText(Text(sumCaption[i]))};
    for (u32 d = 0; d < 16; ++d) texts.push_back(QtText(Tx(sumText[i], d * 0x11111111u)));
    statusPanels_[i].setFixedWidth(StatusPanelWidth(statusPanels_[i], texts, kStatusPanelWidth[i]));
    ui_->StatusBar1->addWidget(&statusPanels_[i]);
  }
  QLabel& filePanel = statusPanels_[2];
  filePanel.setMinimumWidth(kStatusPanelWidth[2]);
  filePanel.setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  ui_->StatusBar1->addWidget(&filePanel, 1);

  popupMenu2_.setObjectName(QStringLiteral("PopupMenu2"));
  popupMenu2_.addAction(ui_->ClearInformation1);
  popupMenu2_.addAction(ui_->CopytoCli1);
  connect(ui_->InfoMemo, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& pos) { popupMenu2_.popup(ui_->InfoMemo->viewport()->mapToGlobal(pos)); });
  popupMenuOTP_.setObjectName(QStringLiteral("PopupMenuOTP"));
  popupMenuOTP_.addAction(ui_->LoadFileOTP);
  for (QTableView* grid : {ui_->EEPDataView, ui_->OptionView}) {
    grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grid, &QWidget::customContextMenuRequested, this,
            [this, grid](const QPoint& pos) { popupMenuOTP_.popup(grid->viewport()->mapToGlobal(pos)); });
  }

  // The option-data tab shows once a chip with option bytes is chosen.
  ui_->ViewPageCtrl->setTabVisible(ui_->ViewPageCtrl->indexOf(ui_->TabShtOPB), false);

  ShowMessage = [this](MsgKind kind, std::string_view text, MsgButtons buttons) {
    return ShowMessageBox(this, kind, text, buttons);
  };
  ShowModal = [](QDialog& dialog) { return dialog.exec(); };
  ShowFileDialog = [this](const FileDialogRequest& request) { return ShowFileDialogBox(this, request); };

  // The serial-number fields as designed: 10, 4 and 10 characters typed.
  typedLimits_.push_back(LimitTypedLength(*ui_->SNEdit1, 10));
  typedLimits_.push_back(LimitTypedLength(*ui_->GainEdit, 4));
  typedLimits_.push_back(LimitTypedLength(*ui_->AddrEdit, 10));

  SetDesignTexts();
  BindHandlers();
}

// The log's owner outlives its views or detaches them; the window does not touch it here.
TGenMFrmARM::~TGenMFrmARM() = default;

void TGenMFrmARM::SetForms(TAboutForm* about, TLogCfgForm* logCfg, TFormOfsAddr* offset) {
  aboutForm_ = about;
  logCfgForm_ = logCfg;
  offsetForm_ = offset;
}

void TGenMFrmARM::AskBinaryOffset() {
  if (offsetForm_ != nullptr) Modal(*offsetForm_);
}

void TGenMFrmARM::SetMessageLog(MessageLog& log) {
  log_ = &log;
  log.SetView(this);
}

QObject* TGenMFrmARM::FindControl(std::string_view name) const {
  // Dialogs parented to the window hold objects of their own; only the window's count.
  for (QObject* o : findChildren<QObject*>(QtText(name))) {
    if (auto* menu = qobject_cast<QMenu*>(o)) {
      if (menu->parentWidget() != nullptr && menu->parentWidget()->window() == this) return o;
    } else if (auto* w = qobject_cast<QWidget*>(o)) {
      if (w->window() == this) return o;
    } else if (o->parent() == this) {
      return o;
    }
  }
  return nullptr;
}

void TGenMFrmARM::BindHandlers() {
#define QX_SENDER(Handler, Control, Caption) ConnectSender(*this, ui_->Control, [this] { Run(&W::Handler); });
#define QX_SENDER_HINT(Handler, Control, Caption, Hint) QX_SENDER(Handler, Control, Caption)
#include "app/WindowCommandList.def"
}

void TGenMFrmARM::ShowError(std::string_view message) { Ask(MsgKind::Error, message, MsgButtons::Ok); }

void TGenMFrmARM::Run(Handler handler) {
  RunHandler([this, handler] { (this->*handler)(); }, [this](std::string_view message) { ShowError(message); });
}

void TGenMFrmARM::Run(const std::function<void()>& handler) {
  RunHandler(handler, [this](std::string_view message) { ShowError(message); });
}

void TGenMFrmARM::RunCommand(WindowCommand command) {
  if (commands_ != nullptr) commands_->Run(command);
}

void TGenMFrmARM::showEvent(QShowEvent* event) {
  if (!shown_) {
    shown_ = true;
    if (const QScreen* s = screen()) setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(), s->availableGeometry()));
    Run(&TGenMFrmARM::FormShow);
  }
  QMainWindow::showEvent(event);
}

void TGenMFrmARM::closeEvent(QCloseEvent* event) {
  // Exit closes the window after the ports; the log is written once, here.
  if (!closed_) {
    closed_ = true;
    Run(&TGenMFrmARM::FormClose);
  }
  QMainWindow::closeEvent(event);
}

void TGenMFrmARM::FormShow() {
  SetRunTimeCaptions();
  RunCommand(WindowCommand::StartUp);
}

void TGenMFrmARM::FormClose() {
  // A port that fails to close must not cost the run its log.
  RunHandler([this] { RunCommand(WindowCommand::ClosePorts); }, [this](std::string_view m) { ShowError(m); });
  if (logCfgForm_ != nullptr) logCfgForm_->WriteLogFile();
}

void TGenMFrmARM::SpdBtnExitClick() {
  RunCommand(WindowCommand::ClosePorts);
  close();
}

bool TGenMFrmARM::AutoAvailable() const { return ui_->AutoSpdBtn->isVisibleTo(this) && ui_->AutoSpdBtn->isEnabled(); }

void TGenMFrmARM::StartKeyPress() {
  if (AutoAvailable()) AutoSpdBtnClick();
}

void TGenMFrmARM::ChkBoxAutoClick() {
  const bool on = ui_->ChkBoxAuto->isChecked();
  ui_->SpinEditIn->setEnabled(on);
  ui_->SpinEditOut->setEnabled(on);
}

void TGenMFrmARM::CheckBoxCtrlClick() { ui_->SpinEditNum->setEnabled(ui_->CheckBoxCtrl->isChecked()); }

void TGenMFrmARM::About1Click() {
  if (aboutForm_ != nullptr) Modal(*aboutForm_);
}

void TGenMFrmARM::ConfigLogFile1Click() {
  if (logCfgForm_ != nullptr) Modal(*logCfgForm_);
}

void TGenMFrmARM::ClearInformation1Click() {
  if (log_ != nullptr) log_->Clear();
  LogCleared();
}

void TGenMFrmARM::CopytoCli1Click() {
  // Nothing selected: the clipboard keeps what it holds.
  if (ui_->InfoMemo->textCursor().hasSelection()) ui_->InfoMemo->copy();
}

#define QX_COMMAND(Name) \
  void TGenMFrmARM::Name() { RunCommand(WindowCommand::Name); }
#define QX_UNIT_COMMAND(Name, Unit) QX_COMMAND(Name)
#include "app/WindowCommandList.def"

void TGenMFrmARM::ArrangeProgressGauges(int unitCount) {
  const int shown = GaugesShown(unitCount);
  for (int k = 0; k < GaugeCount; ++k) gauges_[static_cast<std::size_t>(k)]->setVisible(k < shown);
}

void TGenMFrmARM::ShowPortList(const PortList& list) { PortListChanged(list.Entries, list.Text); }

void TGenMFrmARM::PortListChanged(std::span<const std::string> entries, std::string_view text) {
  QComboBox* combo = ui_->ComboBoxCOM;
  combo->clear();
  for (const std::string& e : entries) combo->addItem(QString::fromStdString(e));
  SetComboText(*combo, QtText(text));
}

void TGenMFrmARM::SetStatusPanel(int panel, std::string_view text) {
  if (panel >= 0 && panel < static_cast<int>(statusPanels_.size()))
    statusPanels_[static_cast<std::size_t>(panel)].setText(QtText(text));
}

GridRefresh* TGenMFrmARM::Refresh(HexGrid grid) const { return gridRefresh_[static_cast<std::size_t>(grid)]; }

void TGenMFrmARM::AttachGridModel(HexGrid grid, QAbstractItemModel& model, GridRefresh& refresh) {
  QTableView* view = grid == HexGrid::Main ? ui_->HexViewer : grid == HexGrid::Eep ? ui_->EEPDataView : ui_->OptionView;
  view->setModel(&model);
  LayOutHexGrid(*view, kAddressColumnWidth, kByteColumnWidth, kTextColumnWidth, kGridRowHeight);
  gridRefresh_[static_cast<std::size_t>(grid)] = &refresh;
}

void TGenMFrmARM::DetachGridModels() {
  for (QTableView* view : {ui_->HexViewer, ui_->EEPDataView, ui_->OptionView}) view->setModel(nullptr);
  gridRefresh_ = {};
}

MsgAnswer TGenMFrmARM::Ask(MsgKind kind, std::string_view text, MsgButtons buttons) {
  views_.PaintNow();  // the box comes with the lines that led to it
  if (unattended_ != nullptr && unattended_->Active()) return unattended_->Ask(kind, text, buttons);
  const ModalLoops::Scope loop(modalLoops_);
  return ShowMessage ? ShowMessage(kind, text, buttons) : ClosedBoxAnswer(buttons);
}

int TGenMFrmARM::Modal(QDialog& dialog) {
  const ModalLoops::Scope loop(modalLoops_);
  return ShowModal ? ShowModal(dialog) : static_cast<int>(QDialog::Rejected);
}

std::optional<FileDialogChoice> TGenMFrmARM::ChooseFile(const FileDialogRequest& request) {
  const ModalLoops::Scope loop(modalLoops_);
  return ShowFileDialog ? ShowFileDialog(request) : std::nullopt;
}

void TGenMFrmARM::LogLineAdded(const std::string& line) { views_.AddLine(line); }

void TGenMFrmARM::LogCleared() {
  views_.ClearLines();
  ui_->InfoMemo->clear();
}

void TGenMFrmARM::PaintViews(PacedViews::Pending& changes) {
  for (std::size_t k = 0; k < changes.Gauges.size(); ++k) {
    if (changes.Gauges[k]) ShowGauge(*gauges_[k], *changes.Gauges[k], gaugeFaces_[k]);
  }
  if (changes.Lines.empty()) return;
  // One append lays out the lines together; each still becomes a line of its own.
  std::string text;
  for (const std::string& line : changes.Lines) {
    if (&line != &changes.Lines.front()) text += '\n';
    text += line;
  }
  ui_->InfoMemo->appendPlainText(QString::fromStdString(text));
}

void TGenMFrmARM::SetInfoCaption(std::string_view text) { ui_->InfoPanel->setText(QtText(text)); }

void TGenMFrmARM::UnitStepBegan(u8 unit, u8, const UnitGauge& gauge) { views_.SetGauge(unit, gauge); }

void TGenMFrmARM::UnitProgress(u8 unit, const UnitGauge& gauge) { views_.SetGauge(unit, gauge); }

void TGenMFrmARM::UnitStepEnded(u8 unit, u8, u8, bool, const UnitGauge& gauge) {
  views_.SetGauge(unit, gauge);
  views_.PaintNow();  // a step's end shows exactly where it ended
}

void TGenMFrmARM::ShowMainHex(u32 firstIndex, u32 lastIndex) {
  if (GridRefresh* r = Refresh(HexGrid::Main)) r->ShowRange(firstIndex, lastIndex);
}

void TGenMFrmARM::UpdateMainHexRows(u32 firstAddress, u32 lastAddress) {
  if (GridRefresh* r = Refresh(HexGrid::Main)) r->UpdateRows(firstAddress, lastAddress);
}

void TGenMFrmARM::ShowEepData() {
  ui_->ViewPageCtrl->setTabVisible(ui_->ViewPageCtrl->indexOf(ui_->TabSheetEEP), true);
  if (GridRefresh* r = Refresh(HexGrid::Eep)) r->Reload();
  // Data shown in the data flash: programming it is what the operator wants.
  if (model_ != nullptr) ui_->ChkBoxPrgEEP->setChecked(EepShowsData(*model_));
}

void TGenMFrmARM::ShowOptionData() {
  ui_->ViewPageCtrl->setTabVisible(ui_->ViewPageCtrl->indexOf(ui_->TabShtOPB), true);
  if (GridRefresh* r = Refresh(HexGrid::Option)) r->Reload();
}

void TGenMFrmARM::ChecksumsChanged() {
  if (model_ == nullptr) return;
  SetStatusPanel(0, FileChecksumText(*model_));
  SetStatusPanel(1, ChipChecksumText(*model_));
}

void TGenMFrmARM::MainImageReadBack() { SetStatusPanel(2, ""); }

void TGenMFrmARM::AdvanceSerialNumber(u8 unit) {
  if (OnAdvanceSerialNumber) OnAdvanceSerialNumber(unit);
}

void TGenMFrmARM::ResetHexViews() {
  for (HexGrid grid : {HexGrid::Main, HexGrid::Eep}) {
    if (GridRefresh* r = Refresh(grid)) r->ShowHeaderOnly();
  }
}

}  // namespace qx
