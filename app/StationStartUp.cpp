// The core steps of the window's start-up, in its order.
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "app/Station.h"
#include "programmer/FirmwareFile.h"
#include "programmer/UnitSessionReset.h"
#include "project/LogFolderCheck.h"
#include "texts/Texts.h"

namespace qx {

void Station::LoadLogConfig() { qx::LoadLogConfig(appDir_, logSettings_); }

void Station::InitMainFormState() {
  ChipModel& m = *model_;
  m.Control.InterfaceFlags = 0;
  m.Control.PowerFlags = 0;
  m.Control.ResetFlags = 0;
  m.Control.EraseFlags = 0;
  m.Control.ExtControl1 = 0;
  m.Control.ExtControl2 = 0;
  m.Control.ExtControl3 = 0;
  m.FamilyParam1 = 0;
  m.FamilyParam2 = 0;
  m.Params.MainFlashSize = 0x20000;
  m.Params.DownloadSize = 0x20000;
  m.Params.MainPageSize = 1024;
  m.Params.FamilyCode = 0;
  m.Params.Subtype = 0;
  m.Params.EepSize = 0;
  m.ReadLength = 64;
  m.Sn.SnAddress = 0xFFFFFF;
  m.Params.OptionStart = 0x1FFFF800;
  m.ObjectLoaded = 0;
  m.ChipSelected = 0;
  // The whole data-flash image: the last byte is erased like the rest.
  m.EepImage.fill(0xFF);
  m.MainFlashImage.fill(0xFF);
  m.OptionImage.fill(0x00);
  m.Params.ProtocolKind = 0x55;
}

void Station::ResetSessionState() {
  ForgetChipChoice(sessions_->Model);
  qx::ResetSessionState(*sessions_);
}

void Station::LoadPortList() {
  auto& s = *sessions_;
  s.UnitCount = qx::LoadPortList(appDir_, ports_, scan_);
  // The file names each unit's port; the search assigns them again by position.
  for (u8 k = 0; k < UnitMax; ++k) {
    if (!ports_.CommName[k].empty()) comms_[k]->SetCommName(ports_.CommName[k]);
  }
  op_.PortListChanged(ports_.Entries, ports_.Text);
}

void Station::ResetManufacturerIndex() { model_->Params.ManufacturerIndex = 0; }

void Station::DeleteStaleResultFile() {
  const std::string path = appDir_ + std::string(BatchResultFileName);
  if (::unlink(path.c_str()) == 0 || errno == ENOENT) return;
  // An old "Download Success" must not stand beside this run's outcome.
  staleResultFile_ = true;
  const std::string text = Tx(TextId::StaleResultNotRemoved, path, std::string(std::strerror(errno)));
  Report(MsgKind::Warning, text, !cmdLineMode_);
}

void Station::CheckLogFolder() {
  if (const auto problem = FindLogFolderProblem(logSettings_, appDir_))
    Report(MsgKind::Warning, LogFolderProblemText(*problem), true);
}

void Station::Report(MsgKind kind, const std::string& text, bool showBox) {
  if (Unattended()) {
    unattended_.Ask(kind, text, MsgButtons::Ok);
    return;
  }
  log_.AddInfoLine(text);
  if (showBox) op_.Ask(kind, text, MsgButtons::Ok);
}

void Station::AddHelloLine() { log_.AddInfoLine(Text(TextId::HelloUser)); }

void Station::LoadFirmwareAtStartUp() {
  const std::string path = appDir_ + std::string(FirmwareFileName);
  std::error_code ec;
  if (std::filesystem::exists(path, ec)) {
    LoadFirmwareFile(wire_->Firmware, path);
    // Nothing is upgraded from it: a unit in its boot loader would stay unlinked unexplained.
    if (!wire_->Firmware.FirmwareLoaded) Report(MsgKind::Warning, Tx(TextId::FirmwareFileInvalid, path), true);
    return;
  }
  wire_->Firmware.FirmwareLoaded = 0;
  const std::string text = Tx(TextId::FileNotFoundConfirm, path);
  // An unattended batch would wait at the box for ever.
  Report(MsgKind::Information, text, true);
}

void Station::ReadCommandLine(std::span<const std::string> args) {
  auto& s = *sessions_;
  s.CmdLineOff = 0;
  unattended_.SetActive(false);
  if (args.empty()) {
    cmdLineMode_ = 0;
    return;
  }
  s.DownloadOkCount = 0;
  cmdLineMode_ = 1;
  cmdLineProjectFile_ = args[0];
  if (args.size() >= 2) {
    cmdLineSwitch_ = args[1];
    for (auto& c : cmdLineSwitch_) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    s.CmdLineOff = cmdLineSwitch_ == "OFF" ? 1 : 0;
  }
  unattended_.SetActive(Unattended());
}

void Station::ArmAutoConnect() { autoConnectPending_ = 1; }

void Station::StartUp(std::span<const std::string> args) {
  LoadLogConfig();
  InitMainFormState();
  ResetSessionState();
  LoadPortList();
  ResetManufacturerIndex();
  // The command line before the result file and the firmware file: a batch logs what it
  // cannot remove or find instead of waiting at a box.
  ReadCommandLine(args);
  DeleteStaleResultFile();
  CheckLogFolder();
  op_.ArrangeProgressGauges(sessions_->UnitCount);
  AddHelloLine();
  LoadFirmwareAtStartUp();
  ArmAutoConnect();
}

}  // namespace qx
