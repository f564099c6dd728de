#pragma once
// The station: the one owner of the running system. It holds the chip model, the wire state
// (flash driver, firmware), the ten unit sessions, the port list, the ten serial components
// TComm with their receive routing, the random source, the message log and its settings,
// and offers what the main window's handlers and timers call. The window, batch mode, the
// benchmarks and the end-to-end tests all drive the core through it. Qt-free.
//
// Threads: everything here runs on the owner's thread (the GUI thread in the window). The
// serial components' threads only post events through the injected EventPoster; whoever
// owns the poster runs them (Qt's loop, or a test pumping a PumpedEventQueue).
//
// Waits: the designed waits on the GUI thread (device search 50 and 10 ms, off-line start
// 30 ms, re-search 500 ms) go through the injected Sleeper.
//
// Errors: an open failure of a port raises ECommsError out of the device search (also when
// Timer2 runs it) and the off-line start, as designed: the window's handler wrapper shows it;
// ports opened before stay open and nothing is sent after it. The search logs the port and
// the reason first. A log file that cannot be written at FormClose is reported through the
// operator with its path and the system's reason.
//
// The port events, one rule for all ten ports:
//   received data   routed to the unit's frames (identification or reply dispatch);
//   hang-up         the port is closed, the unit unlinked and its port-list entry removed
//                   (by name); a running step ends by its time-out;
//   line errors     change nothing on any unit: a damaged reply fails its own step (check
//                   word, framing) and a lost one its time-out. Clearing a unit's bytes or
//                   its busy flag would leave its step without a time-out.
//
// Units in use are 0 .. UnitCount - 1. The commands that would pull the ground from under
// running chains (device search, off-line start, firmware upgrade, the unit-0 reads, and
// the window's loads, which write the image the chains send) are refused with a message
// naming the busy units while any unit in use is busy. The automatic search of start-up
// runs before any unit can be busy, the re-search after the upgrades waits until none is.
#include <array>
#include <functional>
#include <memory>
#include <span>
#include <string>

#include "app/ChipReaction.h"
#include "app/ObjectFileCommands.h"
#include "app/OptionCommands.h"
#include "app/SerialNumbers.h"
#include "app/ProjectCommands.h"
#include "app/ProjectView.h"
#include "app/StationSetup.h"
#include "base/ComposedOperator.h"
#include "images/ChipModel.h"
#include "programmer/ProtocolState.h"
#include "programmer/TCommUnitPort.h"
#include "project/LogSettings.h"
#include "serial/TComm.h"

namespace qx {

enum class UnitCommand : u8;  // app/UnitCommands.h
struct UnitCommandView;

class Station {
 public:
  explicit Station(StationSetup setup);
  ~Station();  // closes every port
  Station(const Station&) = delete;
  Station& operator=(const Station&) = delete;

  // ---- What the station owns, for the views and the window's command rules.
  const ChipModel& Model() const { return *model_; }  // changed only by the calls below
  MessageLog& Log() { return log_; }
  Operator& Op() { return op_; }
  const FlashDriver& Driver() const { return wire_->Driver; }
  // Unit k's serial number, placed over the image its command sends.
  const UnitSerialPatch& UnitSerial(u8 k) const { return wire_->Units[k].Serial; }
  // Unit k's number dropped: the image it was placed over has changed.
  void ForgetUnitSerial(u8 k) { wire_->Units[k].Serial = {}; }

  // ---- Changes of the job. The chip model above is read-only; what changes it goes through
  // these calls, each over the station's model (the rules are those of app/).
  // The chip reaction of app/ChipReaction.h with the station's flash driver; the window
  // applies what it returns.
  WindowChanges ReactToChipName();
  // An object-file command of app/ObjectFileCommands.h (Load, Load More, the data-flash load).
  ObjectCommandResult RunObjectFileCommand(ObjectFileCommand command, const std::string& path);
  // After the option dialog and the S/N constant dialog (app/OptionCommands.h,
  // app/SerialNumbers.h).
  WindowChanges AfterOptionDialog(OptionDialog dialog, bool accepted);
  void AfterConfigSn();
  // A chip of an automatic chain is complete: the S/N edit's next text, if it moves on.
  std::optional<std::string> SerialNumberAfterChip(const SerialNumberControls& controls, bool numbered);
  // The job as the modal dialogs that edit it bind it (the chip, option, S/N constant,
  // offset and address dialogs): they write it on OK. Their loops hold the batch start,
  // so the job they write is the one they opened on.
  ChipModel& DialogJob() { return *model_; }
  // Likewise the log settings the log dialog binds and writes on OK.
  LogSettings& DialogLogConfig() { return logSettings_; }

  const PortList& Ports() const { return ports_; }
  const std::string& AppDir() const { return appDir_; }
  // The log dialog's settings; FormClose writes the log with them.
  const LogSettings& LogConfig() const { return logSettings_; }
  u8 UnitCount() const { return sessions_->UnitCount; }
  u8 CmdLineMode() const { return cmdLineMode_; }
  u8 CmdLineOff() const { return sessions_->CmdLineOff; }
  // What the units and ports are at, for the views and the tests.
  const UnitSession& Unit(u8 k) const { return sessions_->Unit[k]; }
  u8 LinkedCount() const { return sessions_->LinkedCount; }
  u8 DownloadOkCount() const { return sessions_->DownloadOkCount; }
  u8 RelinkPending() const { return sessions_->RelinkPending; }
  u8 FirmwareLoaded() const { return wire_->Firmware.FirmwareLoaded; }
  u16 ReceivedCount(u8 k) const { return wire_->Units[k].RxCount; }
  bool PortOpen(u8 k) const { return comms_[k]->IsOpen(); }
  const std::string& PortName(u8 k) const { return comms_[k]->CommName(); }
  const std::string& CmdLineProjectFile() const { return cmdLineProjectFile_; }
  const std::string& CmdLineSwitch() const { return cmdLineSwitch_; }

  // ---- Start-up: the core steps of the window's FormShow, which calls them in this order
  // with its own widget steps in between (numbers are FormShow's steps).
  void LoadLogConfig();            // 9: "GenLogX.cfg" into LogConfig()
  void InitMainFormState();        // 10 (the chip state and the images) and 11 (ProtocolKind)
  void ResetSessionState();        // 12: the chip choice forgotten, the unit sessions reset
  void LoadPortList();             // 13: also at the device search and the off-line start
  void ResetManufacturerIndex();   // 14
  // 19, before 15 and 18: args are the program's arguments without the program name.
  void ReadCommandLine(std::span<const std::string> args);
  // 15: "ResDW.Txt". One that cannot be removed is logged with its reason and shown (only
  // logged in batch mode, which then starts no download).
  void DeleteStaleResultFile();
  // After 15: a log file that cannot be written where the settings put it is said at once
  // (a log line and a box, the line only in an unattended batch), not first at the close
  // that loses it.
  void CheckLogFolder();
  void AddHelloLine();             // 17
  // 18: a missing file gives a log line and a box (the line only in an unattended batch).
  void LoadFirmwareAtStartUp();
  void ArmAutoConnect();           // 20: the first Timer2 tick searches the devices
  // All of the above in order (19 before 15 and 18), with the gauge layout of step 16, for a
  // caller without a window of its own (benchmarks, tests).
  void StartUp(std::span<const std::string> args);

  // ---- Timers. Timer1 every 10 ms from the start; Timer2 every 50 ms from the end of
  // start-up until Timer2Timer returns true.
  void Timer1Timer();
  // Runs the first device search, then the re-search once the upgrades started while
  // linking have ended and no unit in use is busy; true when Timer2 is to stop: every unit
  // in use is linked, no re-search is pending and no unit in use is upgrading.
  bool Timer2Timer();
  // The batch start came due while a dialog or box of the window was open and waits for it
  // to close (it replaces the job the dialog shows; a load under it would be refused).
  bool BatchStartHeld() const { return batchHeld_; }

  // ---- Device search (the connect button and the first Timer2 tick): closes every port,
  // rebuilds the port list, asks for the gauge layout, then OpenPortsAndProbeDevices.
  void BitBtnFindDevClick();
  void OpenPortsAndProbeDevices();

  // ---- The two menu commands on the units as a whole.
  void StartOfflineProgrm1Click();
  // Reloads "QX740VRD.FWR" and upgrades every unit in use that is linked.
  void DoFirmwareUpgrade1Click();

  // ---- Unit commands. RunUnitCommand of app/UnitCommands.h, one command's rule over the
  // station's chip model: page, customer block, serial numbers, guards, settings, units.
  void RunUnitCommand(UnitCommand command, const UnitCommandView& view);
  // The window checks the chip and image guards and collects its settings first.
  // One unit: its received bytes are dropped and its AutoChain set by the rule, then the
  // starter runs (the batch start).
  void StartChain(u8 k, UnitStarter starter, AutoChainRule rule);
  // The writing commands' unit loop: each unit in use that is linked and idle has its
  // received bytes dropped, AutoChain set by the rule and its serial number by the
  // numbering, then the starter run for it. The other units keep all three: a busy unit's
  // bytes belong to the reply its step awaits, its AutoChain and number to the chain it
  // runs. Returns the units started.
  UnitSet StartWritingCommand(UnitStarter starter, AutoChainRule rule, SerialNumbering numbering = {});
  // The refusal naming the busy units when any unit in use is busy; true when refused.
  bool RefuseWhileBusy();
  // The same refusal for the units that read the chip back into the images (main or data
  // flash), which a command that sends or compares the images must wait for.
  bool RefuseWhileReadingBack();
  // The reads' unit-0 guard: "Please connect the device!" when unit 0 is not linked, the
  // busy refusal when any unit in use runs a step (a read writes the image the others send,
  // and on a busy unit 0 it would take over its step). True when a read may start.
  bool GuardUnit0();
  // After GuardUnit0: StartReadMain, StartReadEep, StartReadOption, StartReadChecksum,
  // StartReadChipInfo, and StartReadAddress after the read-address dialog; like a chain,
  // unit 0's received bytes are dropped and its AutoChain set by the rule first.
  void StartReadOnUnit0(UnitStarter starter, AutoChainRule rule);
  // Units in use that run a step.
  UnitSet BusyUnits() const;
  // Shows the refusal naming the busy units; false when there are none.
  bool RefusedWhileBusy(UnitSet busy);

  // ---- Project files: the window's open and save commands and the batch start use these,
  // so a project reaches the chip state one way only. The window applies what its own load
  // returns; the batch start's load is shown by the project view (none: design values).
  void SetProjectView(ProjectView* view) { projectView_ = view; }
  // LoadProjectFile of app/ProjectCommands.h over the station's state; shown: what the
  // setting controls show now. Throws EInOutError when the file cannot be read.
  ProjectLoadResult LoadProjectFile(const std::string& path, const ProgramControls& shown);
  // SavetoProjectFile of app/ProjectCommands.h over the station's state.
  void SavetoProjectFile(const std::string& path, const ProgramControls& controls);

  // ---- Batch mode (a project file on the command line). The batch start runs once, from
  // Timer2Timer when every unit in use is linked: the project is loaded and each unit in use
  // takes the download; a project that is missing, unreadable or refused by its checks
  // starts nothing. The exit test runs at the end of every Timer1 tick: with "OFF", once
  // every unit started has finished its download of this run, "ResDW.Txt" is written and
  // the program asked to close, once; a result file that cannot be written is reported and
  // the program stays open.
  void BatchStart();
  void BatchExitTest();
  // Batch mode with "OFF": the run's message boxes are logged and written to the standard
  // error only, through this operator.
  bool Unattended() const { return cmdLineMode_ && sessions_->CmdLineOff; }
  UnattendedOperator& UnattendedOp() { return unattended_; }
  // The units the batch start began the download on.
  UnitSet BatchUnits() const { return batchUnits_; }

  // ---- The end. The exit command closes the ports, then the window; its close runs
  // FormClose: every open port closed, then the log written once by LogConfig().
  void CloseAllPorts();
  void FormClose();

 private:
  friend struct StationProbe;  // the tests' set-up of unit states
  void BindPort(u8 k);
  void RunPortEvent(u8 k, const std::function<void()>& event);
  void SerCommRequestHangup(u8 k, TComm& sender);
  bool RefusedWhileBusy(UnitSet busy, Operator& op);
  bool AnyUpgrading() const;
  // The operator of the batch steps: boxes logged only when unattended.
  Operator& BatchOperator() { return Unattended() ? static_cast<Operator&>(unattendedOp_) : op_; }
  // Logged; in a box when showBox and someone watches; on the standard error as well when
  // nobody does.
  void Report(MsgKind kind, const std::string& text, bool showBox);
  ProjectEnv MakeProjectEnv(Operator& op);
  ProjectLoadResult LoadProject(const std::string& path, const ProgramControls& shown, Operator& op);

  std::string appDir_;
  Operator& op_;
  PortEventGuard* guard_;
  const ModalLoops* modals_;
  Sleeper sleep_;
  PortScanSource scan_;
  std::unique_ptr<RandomSource> random_;
  MessageLog log_;
  std::unique_ptr<ChipModel> model_;
  std::unique_ptr<ProtocolState> wire_;
  std::unique_ptr<UnitSessions> sessions_;
  PortList ports_;
  LogSettings logSettings_;
  u8 cmdLineMode_ = 0;
  std::string cmdLineProjectFile_;
  std::string cmdLineSwitch_;
  u8 autoConnectPending_ = 0;
  bool logWritten_ = false;
  UnattendedOperator unattended_{log_};
  ComposedOperator unattendedOp_{unattended_, op_};  // the view with the unattended boxes
  ProjectView* projectView_ = nullptr;
  ProjectSectionBuffer projectSection_{};
  bool batchStarted_ = false;
  bool batchHeld_ = false;
  bool staleResultFile_ = false;  // "ResDW.Txt" of an earlier run could not be removed
  bool batchExited_ = false;
  UnitSet batchUnits_;
  // Destroyed before the sessions: closing a port stops its events first.
  std::array<std::unique_ptr<TComm>, UnitMax> comms_;
  std::array<std::unique_ptr<TCommUnitPort>, UnitMax> unitPorts_;
};

}  // namespace qx
