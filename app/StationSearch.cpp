// The device search, the off-line start and the firmware upgrade command.
#include <algorithm>
#include <filesystem>
#include <string>

#include "app/Station.h"
#include "programmer/Commands.h"
#include "programmer/FirmwareFile.h"
#include "programmer/FirmwareUpgrade.h"
#include "programmer/UnitStepFramework.h"
#include "programmer/UnitStepTarget.h"
#include "serial/CommsError.h"
#include "texts/Texts.h"

namespace qx {

void Station::BitBtnFindDevClick() {
  if (RefusedWhileBusy(BusyUnits())) return;
  auto& s = *sessions_;
  for (u8 k = 0; k < UnitMax; ++k) {
    if (comms_[k]->IsOpen()) comms_[k]->ClosePort();
    s.Unit[k].Linked = 0;
    s.Unit[k].Busy = 0;
  }
  ports_.Entries.clear();
  LoadPortList();
  op_.ArrangeProgressGauges(s.UnitCount);
  OpenPortsAndProbeDevices();
}

void Station::OpenPortsAndProbeDevices() {
  auto& s = *sessions_;
  const auto& entries = ports_.Entries;
  // Unit k uses entry k, whatever number the settings file gave it.
  const std::size_t opened = std::min<std::size_t>(entries.size(), s.UnitCount);
  if (!entries.empty()) {
    s.LinkedCount = 0;
    op_.SetInfoCaption(Text(TextId::SearchingDevices));
    for (u8 k = 0; k < opened; ++k) {
      TComm& comm = *comms_[k];
      if (comm.IsOpen()) comm.ClosePort();
      wire_->Units[k].RxCount = 0;
      SetUnitTimeout(s, k, TicksWhileLinking);
      s.Unit[k].Linked = 0;
      SetGaugeProgress(s, k, 0);
      comm.SetCommName(entries[k]);
      try {
        comm.OpenPort();
      } catch (const ECommsError& e) {
        // The search stops here as designed; the log keeps why, and the status panel must
        // not go on saying that it searches.
        std::string reason = e.what();
        std::replace(reason.begin(), reason.end(), '\n', ' ');
        log_.AddInfoLine(Tx(TextId::SearchStoppedAtPort, entries[k], reason));
        op_.SetInfoCaption(Text(TextId::SearchStopped));
        throw;
      }
    }
  }
  sleep_(50);
  for (u8 k = 0; k < s.UnitCount; ++k) {
    sleep_(10);
    log_.AddInfoLine(Tx(TextId::CheckingDevice, k + 1, k < entries.size() ? entries[k] : std::string()));
    if (comms_[k]->IsOpen()) SendDeviceProbe(UnitTarget(s, k));
  }
}

void Station::StartOfflineProgrm1Click() {
  if (RefusedWhileBusy(BusyUnits())) return;
  auto& s = *sessions_;
  log_.AddInfoLine(Text(TextId::OfflineStart));
  ports_.Entries.clear();
  for (u8 k = 0; k < s.UnitCount; ++k) {
    wire_->Units[k].RxCount = 0;
    s.Unit[k].Linked = 0;
    s.Unit[k].Busy = 0;
    SetGaugeProgress(s, k, 0);
    if (comms_[k]->IsOpen()) comms_[k]->ClosePort();
  }
  LoadPortList();
  const std::size_t count = std::min<std::size_t>(ports_.Entries.size(), s.UnitCount);
  for (u8 k = 0; k < count; ++k) {
    SetUnitTimeout(s, k, TicksWhileLinking);
    TComm& comm = *comms_[k];
    comm.SetCommName(ports_.Entries[k]);
    comm.OpenPort();
    sleep_(30);
    // Not awaited: no unit is busy, and the unit answers by programming on its own.
    if (comm.IsOpen()) SendRestartCmd(UnitTarget(s, k));
  }
}

void Station::DoFirmwareUpgrade1Click() {
  if (RefusedWhileBusy(BusyUnits())) return;
  auto& s = *sessions_;
  auto& fw = wire_->Firmware;
  const std::string path = appDir_ + std::string(FirmwareFileName);
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) {
    fw.FirmwareLoaded = 0;
    op_.Ask(MsgKind::Information, Tx(TextId::FileNotFoundConfirm, path), MsgButtons::Ok);
    return;
  }
  LoadFirmwareFile(fw, path);
  if (!fw.FirmwareLoaded) {
    op_.Ask(MsgKind::Warning, Tx(TextId::FirmwareFileInvalid, path), MsgButtons::Ok);
    return;
  }
  UnitSet linked;
  for (u8 k = 0; k < s.UnitCount; ++k) {
    if (s.Unit[k].Linked) linked.set(k);
  }
  if (linked.none()) {
    op_.Ask(MsgKind::Information, Text(TextId::NoDeviceConnected), MsgButtons::Ok);
    return;
  }
  for (u8 k = 0; k < s.UnitCount; ++k) {
    if (!linked.test(k)) continue;
    wire_->Units[k].RxCount = 0;
    StartFirmwareUpgrade(s, k);
  }
}

}  // namespace qx
