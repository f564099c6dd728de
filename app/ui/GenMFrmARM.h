#pragma once
// The main window TGenMFrmARM: a view. Its layout is the Designer form GenMFrmARM.ui; it
// sets its captions from the catalogue, shows what the core reports through the operator
// interface, and hands every command that drives the units, images or files to the
// window's commands (the station). Every handler runs inside one exception wrapper.
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/FileDialogs.h"
#include "app/ModalLoops.h"
#include "app/PortEventGuard.h"
#include "app/UnattendedOperator.h"
#include "app/WindowCommands.h"
#include "app/ui/GridRefresh.h"
#include "app/ui/KeyPreview.h"
#include "app/ui/ModalLoopWatch.h"
#include "app/ui/PacedViews.h"
#include "app/ui/ProgressGauges.h"
#include "base/MessageLog.h"
#include "base/Operator.h"
#include "programmer/PortList.h"

namespace Ui {
class GenMFrmARM;
}
class QAbstractItemModel;
class QDialog;
class QProgressBar;

namespace qx {

// A chip family's changes (chips/WindowChanges.h); declared only, as moc cannot read the
// text catalogue behind that header.
struct ControlChange;
struct ChipModel;
class TAboutForm;
class TFormOfsAddr;
class TLogCfgForm;
class TypedLengthLimit;

class TGenMFrmARM : public QMainWindow, public Operator, public PortEventGuard {
  Q_OBJECT

 public:
  explicit TGenMFrmARM(QWidget* parent = nullptr);
  ~TGenMFrmARM() override;

  // The parts the window works with; unset ones are skipped.
  void SetCommands(WindowCommands& commands) { commands_ = &commands; }
  void SetForms(TAboutForm* about, TLogCfgForm* logCfg, TFormOfsAddr* offset);
  // The message log the memo shows: its lines are mirrored, "Clear Information" clears it.
  void SetMessageLog(MessageLog& log);
  // The chip model the views and the status bar show.
  void SetChipModel(const ChipModel& model) { model_ = &model; }
  // The Designer form: the window's own controls by their typed members.
  Ui::GenMFrmARM& Form() { return *ui_; }
  const Ui::GenMFrmARM& Form() const { return *ui_; }

  // Every modal dialog and file dialog of the window opens through these, and every box
  // through Ask: each holds the station's job changes while its loop runs (app/ModalLoops.h).
  // Any other modal window the program shows is held by the watch all the same.
  int Modal(QDialog& dialog);
  std::optional<FileDialogChoice> ChooseFile(const FileDialogRequest& request);
  const ModalLoops& OpenModalLoops() const { return modalLoops_; }

  // How the boxes and dialogs are shown; tests replace them (never a real modal wait there).
  // Only Modal, ChooseFile and Ask call them.
  std::function<MsgAnswer(MsgKind, std::string_view, MsgButtons)> ShowMessage;
  // While it is active (nobody watches the run: batch mode with "OFF"), every box and
  // handler error goes to it instead of waiting for a click that never comes.
  void SetUnattended(UnattendedOperator& op) { unattended_ = &op; }
  std::function<int(QDialog&)> ShowModal;
  // The open and save file dialogs: the chosen file, nullopt when cancelled.
  std::function<std::optional<FileDialogChoice>(const FileDialogRequest&)> ShowFileDialog;
  // Where the core's serial-number advance goes (the serial-number page's commands).
  std::function<void(u8 unit)> OnAdvanceSerialNumber;

  // Run-time captions of the first show: the customer-information tab hidden and the S/N
  // page in front, the two caption tables, the reset-mode items, the status-bar texts.
  void SetRunTimeCaptions();
  // Places the gauges for the unit count: one per unit in whole groups, the memo ending
  // just above the first gauge.
  void ArrangeProgressGauges(int unitCount);
  void ArrangeProgressGauges(u8 unitCount) override { ArrangeProgressGauges(static_cast<int>(unitCount)); }
  void ShowPortList(const PortList& list);
  void SetStatusPanel(int panel, std::string_view text);
  // Applies a chip family's changes by object name, in order; returns the names that
  // match no control of the window (nothing is changed for them).
  [[nodiscard]] std::vector<std::string> ApplyWindowChanges(const std::vector<ControlChange>& changes);
  // A grid takes its model: design column widths (73, 16 x 25, 130) and rows of 20.
  void AttachGridModel(HexGrid grid, QAbstractItemModel& model, GridRefresh& refresh);
  // The grids let go of their models (their owner goes before the window).
  void DetachGridModels();
  // The main and data-flash grids back to their header row (a chip was chosen).
  void ResetHexViews() override;

  // Handlers, one a line of app/WindowCommandList.def. Each runs inside the wrapper when
  // a control of its lines fires; those of the window's commands only run their command.
  void FormShow();
  void FormClose();
  void StartKeyPress();
#define QX_OWN_HANDLER(Name) void Name();
#define QX_COMMAND(Name) void Name();
#define QX_UNIT_COMMAND(Name, Unit) void Name();
#include "app/WindowCommandList.def"

  using Handler = void (TGenMFrmARM::*)();
  // Runs a handler inside the wrapper: an exception shows its message in an error box.
  void Run(Handler handler);
  void Run(const std::function<void()>& handler);
  // The station's port events run in the same wrapper.
  void RunPortEvent(u8 unit, const std::function<void()>& event) override {
    (void)unit;
    Run(event);
  }

  // The gauges and the memo show every change reported so far (they otherwise catch up
  // within PacedViews::kIntervalMs, and at each step's end).
  void RepaintViews() { views_.PaintNow(); }

  // Operator.
  MsgAnswer Ask(MsgKind kind, std::string_view text, MsgButtons buttons) override;
  void LogLineAdded(const std::string& line) override;
  void LogCleared() override;
  void SetInfoCaption(std::string_view text) override;
  void PortListChanged(std::span<const std::string> entries, std::string_view text) override;
  void UnitStepBegan(u8 unit, u8 step, const UnitGauge& gauge) override;
  void UnitProgress(u8 unit, const UnitGauge& gauge) override;
  void UnitStepEnded(u8 unit, u8 step, u8 code, bool ok, const UnitGauge& gauge) override;
  void ShowMainHex(u32 firstIndex, u32 lastIndex) override;
  void UpdateMainHexRows(u32 firstAddress, u32 lastAddress) override;
  void ShowEepData() override;
  void ShowOptionData() override;
  void ChecksumsChanged() override;
  void MainImageReadBack() override;
  void AskBinaryOffset() override;
  void AdvanceSerialNumber(u8 unit) override;
  // The batch exit: the window closes as the operator's close would (FormClose runs).
  void CloseProgram() override { close(); }

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void SetDesignTexts();
  void BindHandlers();
  void RunCommand(WindowCommand command);
  void ShowError(std::string_view message);
  QObject* FindControl(std::string_view name) const;
  GridRefresh* Refresh(HexGrid grid) const;
  bool AutoAvailable() const;
  void PaintViews(PacedViews::Pending& changes);

  ModalLoops modalLoops_;
  ModalLoopWatch modalWatch_{modalLoops_};
  std::unique_ptr<Ui::GenMFrmARM> ui_;
  std::vector<std::unique_ptr<TypedLengthLimit>> typedLimits_;
  std::array<QProgressBar*, 10> gauges_{};
  // What each bar shows: a change of a unit's gauge that leaves it as it is paints nothing.
  std::array<std::optional<GaugeFace>, 10> gaugeFaces_{};
  PacedViews views_{[this](PacedViews::Pending& changes) { PaintViews(changes); }};
  std::array<QLabel, 3> statusPanels_;
  QMenu popupMenu2_;
  QMenu popupMenuOTP_;
  KeyPreview keyPreview_;

  WindowCommands* commands_ = nullptr;
  TAboutForm* aboutForm_ = nullptr;
  TLogCfgForm* logCfgForm_ = nullptr;
  TFormOfsAddr* offsetForm_ = nullptr;
  MessageLog* log_ = nullptr;
  const ChipModel* model_ = nullptr;
  UnattendedOperator* unattended_ = nullptr;
  std::array<GridRefresh*, 3> gridRefresh_{};
  bool shown_ = false;
  bool closed_ = false;
};

}  // namespace qx
