// The unit commands: one chain on one unit, the writing commands' loop, the unit-0 reads.
#include "app/Station.h"
#include "app/UnitSerialNumbers.h"
#include "texts/Texts.h"

namespace qx {

namespace {

void ApplyChainRule(UnitSession& u, AutoChainRule rule) {
  if (rule == AutoChainRule::Set) u.AutoChain = 1;
  if (rule == AutoChainRule::Clear) u.AutoChain = 0;
}

}  // namespace

void Station::StartChain(u8 k, UnitStarter starter, AutoChainRule rule) {
  wire_->Units[k].RxCount = 0;
  ApplyChainRule(sessions_->Unit[k], rule);
  starter(*sessions_, k);
}

UnitSet Station::StartWritingCommand(UnitStarter starter, AutoChainRule rule, SerialNumbering numbering) {
  auto& s = *sessions_;
  UnitSet started;
  for (u8 k = 0; k < s.UnitCount && k < UnitMax; ++k) {
    auto& u = s.Unit[k];
    if (!u.Linked || u.Busy) continue;
    wire_->Units[k].RxCount = 0;
    ApplyChainRule(u, rule);
    if (numbering.Renumber) {
      UnitSerialPatch& patch = wire_->Units[k].Serial;
      if (numbering.Run != nullptr) {
        NumberUnit(*numbering.Run, *model_, k, patch);
      } else {
        patch = {};
      }
    }
    starter(s, k);
    started.set(k);
  }
  return started;
}

bool Station::RefuseWhileBusy() { return RefusedWhileBusy(BusyUnits()); }

bool Station::RefuseWhileReadingBack() {
  UnitSet reading;
  for (u8 k = 0; k < sessions_->UnitCount && k < UnitMax; ++k) {
    const UnitSession& u = sessions_->Unit[k];
    if (u.Busy && (u.StepState == StepReadMain || u.StepState == StepReadEep)) reading.set(k);
  }
  return RefusedWhileBusy(reading);
}

bool Station::GuardUnit0() {
  if (!sessions_->Unit[0].Linked) {
    op_.Ask(MsgKind::Information, Text(TextId::ConnectDeviceFirst), MsgButtons::Ok);
    return false;
  }
  return !RefuseWhileBusy();
}

// Bytes left of a reply given up on would join the read's own reply into one broken frame.
void Station::StartReadOnUnit0(UnitStarter starter, AutoChainRule rule) { StartChain(0, starter, rule); }

WindowChanges Station::ReactToChipName() {
  return MCUNameEditChange(ChipReactionEnv{*model_, wire_->Driver, appDir_, log_, op_});
}

ObjectCommandResult Station::RunObjectFileCommand(ObjectFileCommand command, const std::string& path) {
  return command(ObjectFileContext{*model_, log_, op_}, path);
}

WindowChanges Station::AfterOptionDialog(OptionDialog dialog, bool accepted) {
  return qx::AfterOptionDialog(dialog, accepted, *model_, log_, op_);
}

void Station::AfterConfigSn() { qx::AfterConfigSn(*model_, log_, op_); }

std::optional<std::string> Station::SerialNumberAfterChip(const SerialNumberControls& controls, bool numbered) {
  return qx::SerialNumberAfterChip(model_->Sn, controls, numbered);
}

}  // namespace qx
