#include "app/Station.h"

#include <string>

#include "programmer/ReceiveRouting.h"
#include "project/LogFileWriter.h"
#include "texts/Texts.h"

namespace qx {

Station::Station(StationSetup setup)
    : appDir_(std::move(setup.AppDir)),
      op_(setup.Op),
      guard_(setup.Guard),
      modals_(setup.Modals),
      sleep_(std::move(setup.Sleep)),
      scan_(std::move(setup.Scan)),
      random_(setup.Random ? std::move(setup.Random) : std::make_unique<DefaultRandom>()),
      log_(std::move(setup.Clock), &setup.Op),
      model_(std::make_unique<ChipModel>()),
      wire_(std::make_unique<ProtocolState>()),
      sessions_(std::make_unique<UnitSessions>(*model_, *wire_, *random_, log_, op_)) {
  unattended_.SetErrorOut(std::move(setup.ErrorOut));
  // Until the port list is read the window shows one unit.
  sessions_->UnitCount = 1;
  for (u8 k = 0; k < UnitMax; ++k) {
    comms_[k] = std::make_unique<TComm>(setup.Poster);
    SetProgrammerLinePreset(*comms_[k]);
    unitPorts_[k] = std::make_unique<TCommUnitPort>(*comms_[k]);
    BindPort(k);
  }
}

Station::~Station() {
  CloseAllPorts();
  for (auto& p : sessions_->Port) p = &sessions_->NoPort;
}

void Station::BindPort(u8 k) {
  sessions_->Port[k] = unitPorts_[k].get();
  TComm& comm = *comms_[k];
  comm.OnReceiveData = [this, k](TComm&, std::span<const u8> data) {
    RunPortEvent(k, [&] { HandleReceiveData(*sessions_, k, data); });
  };
  comm.OnRequestHangup = [this, k](TComm& sender) { RunPortEvent(k, [&] { SerCommRequestHangup(k, sender); }); };
}

void Station::RunPortEvent(u8 k, const std::function<void()>& event) {
  if (guard_ != nullptr) {
    guard_->RunPortEvent(k, event);
  } else {
    event();
  }
}

void Station::SerCommRequestHangup(u8 k, TComm& sender) {
  HandleHangup(*sessions_, k, ports_, sender.CommName(), [&sender] { sender.ClosePort(); });
  op_.PortListChanged(ports_.Entries, ports_.Text);
}

UnitSet Station::BusyUnits() const {
  UnitSet busy;
  for (u8 k = 0; k < sessions_->UnitCount && k < UnitMax; ++k) {
    if (sessions_->Unit[k].Busy) busy.set(k);
  }
  return busy;
}

bool Station::AnyUpgrading() const {
  for (u8 k = 0; k < sessions_->UnitCount && k < UnitMax; ++k) {
    if (sessions_->Unit[k].UpgradeBusy) return true;
  }
  return false;
}

bool Station::RefusedWhileBusy(UnitSet busy) { return RefusedWhileBusy(busy, op_); }

bool Station::RefusedWhileBusy(UnitSet busy, Operator& op) {
  if (busy.none()) return false;
  std::string names;
  for (u8 k = 0; k < UnitMax; ++k) {
    if (!busy.test(k)) continue;
    if (!names.empty()) names += ", ";
    names += std::to_string(k + 1);
  }
  op.Ask(MsgKind::Warning, Tx(TextId::UnitsBusyRefused, names), MsgButtons::Ok);
  return true;
}

void Station::CloseAllPorts() {
  for (auto& c : comms_) {
    if (c && c->IsOpen()) c->ClosePort();
  }
}

void Station::FormClose() {
  CloseAllPorts();
  // Once: the exit command's close and a later close of the window both end here.
  if (logWritten_) return;
  logWritten_ = true;
  LogWriteEnv env{appDir_, op_};
  env.KeepShortLog = cmdLineMode_ != 0;
  WriteLogFile(logSettings_, log_.Lines(), env);
}

}  // namespace qx
