#include "app/UnitCommands.h"

#include <optional>

#include "app/ObjectFileCommands.h"
#include "app/UnitSerialNumbers.h"
#include "chips/Makers.h"
#include "chips/OptionListings.h"
#include "programmer/AutoChain.h"
#include "programmer/DownloadChain.h"
#include "programmer/OnlineChains.h"
#include "texts/Texts.h"

namespace qx {

namespace {

void StartChipErase(UnitSessions& s, u8 k) { StartErase(s, k, Text(TextId::EraseStart)); }

using A = AutoChainRule;
using U = UnitStart;

// In the order of UnitCommand.
const UnitCommandRule kRules[] = {
    // Auto
    {.Starter = StartAutoProgram, .Chain = A::Set, .CustomerBlock = true, .SerialNumbers = true, .NeedsImage = true,
     .EmptyLogLine = true, .OptionListing = true},
    // Download
    {.Starter = StartDownloadChipData, .Chain = A::Keep, .CustomerBlock = true, .NeedsImage = true,
     .EmptyLogLine = true, .OptionListing = true},
    // BlankCheck
    {.Starter = StartBlankCheck, .Chain = A::Clear, .EmptyLogLine = true},
    // Erase
    {.Starter = StartChipErase, .Chain = A::Clear, .EmptyLogLine = true},
    // Program
    {.Starter = StartProgramMain, .Chain = A::Clear, .CustomerBlock = true, .SerialNumbers = true, .NeedsImage = true,
     .EmptyLogLine = true},
    // Verify
    {.Starter = StartVerifyMain, .Chain = A::Clear, .ActivatePanelBtns = true, .NeedsImage = true, .EmptyLogLine = true},
    // WriteOption
    {.Starter = StartWriteOption, .Chain = A::Clear, .EmptyLogLine = true},
    // WriteEep
    {.Starter = StartProgramEep, .Chain = A::Clear, .NeedsImage = true},
    // ReadMain
    {.Start = U::Unit0, .Starter = StartReadMain, .ReplacesImage = true},
    // ReadEep
    {.Start = U::Unit0, .Starter = StartReadEep, .ChipPageToFront = false},
    // ReadOption
    {.Start = U::Unit0, .Starter = StartReadOption},
    // ReadChecksum
    {.Start = U::Unit0, .Starter = StartReadChecksum},
    // ReadAddress
    {.Start = U::ReadAddress},
    // ReadChipInfo
    {.Start = U::ReadChipInfo, .CollectSettings = false},
};

static_assert(std::size(kRules) == static_cast<std::size_t>(UnitCommand::ReadChipInfo) + 1);

void Collect(const UnitCommandRule& rule, Station& station, const UnitCommandView& view) {
  if (rule.CollectSettings) CollectProgramSettings(view.Controls(), station.Model(), station.Log());
}

// The writing commands' units; Auto and Prog give each unit its serial number first.
void StartUnits(const UnitCommandRule& rule, Station& station, const UnitCommandView& view,
                const std::optional<SerialRun>& serial, bool decimal) {
  ChipModel& model = station.Model();
  const UnitSerialPatch shownBefore = station.UnitSerial(0);
  const SerialNumbering numbering{rule.SerialNumbers, serial ? &*serial : nullptr};
  const UnitSet started = station.StartWritingCommand(rule.Starter, rule.Chain, numbering);
  if (serial) view.ShowSerialNumber(AdvancePastUnits(*serial, started, decimal, model.Sn));
  if (started.test(0)) {
    Operator& op = station.Op();
    ShowSerialNumberRows(model.Params, shownBefore, op);
    ShowSerialNumberRows(model.Params, station.UnitSerial(0), op);
  }
}

}  // namespace

const UnitCommandRule& RuleOf(UnitCommand command) { return kRules[static_cast<std::size_t>(command)]; }

void RunUnitCommand(UnitCommand command, Station& station, const UnitCommandView& view) {
  const UnitCommandRule& rule = RuleOf(command);
  ChipModel& model = station.Model();
  MessageLog& log = station.Log();
  Operator& op = station.Op();
  const Maker maker = MakerOf(model.Params.ManufacturerIndex);

  if (rule.ChipPageToFront) view.ChipPageToFront(rule.ActivatePanelBtns);
  if (rule.CustomerBlock && maker == Maker::Silergy) {
    WindowActions actions;
    const CustomerInfoResult r = BuildCustomerInfoBlock(view.CustomerControls(), model, log, op, actions);
    if (r == CustomerInfoResult::AddressError) return;
    if (r == CustomerInfoResult::Written) ForgetSerialNumbers(station);
    view.Apply(actions);
  }
  // Without a chip an S/N address has nothing to be checked against.
  if (!ChipChosen(model, op)) return;
  std::optional<SerialRun> serial;
  bool decimal = false;
  if (rule.SerialNumbers) {
    const ProgramControls c = view.Controls();
    if (OnlineSerialNumbers(c)) {
      serial = PrepareSerialRun(c, model, log, op);
      if (!serial) return;
      decimal = c.ChkBoxSNDP;
    }
  }

  if (rule.NeedsImage && !model.ObjectLoaded) {
    op.Ask(MsgKind::Information, Text(TextId::PrjLoadObjectFirst), MsgButtons::Ok);
    return;
  }

  switch (rule.Start) {
    case UnitStart::AllUnits:
      if (rule.EmptyLogLine) log.AddLine("");
      Collect(rule, station, view);
      if (rule.OptionListing && maker == Maker::AutoChip) ShowCurrentOptionAC78x(log, model);
      StartUnits(rule, station, view, serial, decimal);
      return;
    case UnitStart::Unit0:
      Collect(rule, station, view);
      if (!station.GuardUnit0()) return;
      if (rule.ReplacesImage) ForgetSerialNumbers(station);
      station.StartReadOnUnit0(rule.Starter);
      return;
    case UnitStart::ReadAddress:
      if (!station.GuardUnit0()) return;
      Collect(rule, station, view);
      view.AskReadAddress();
      station.StartReadOnUnit0(StartReadAddress);
      return;
    case UnitStart::ReadChipInfo:
      if (!station.GuardUnit0()) return;
      station.StartReadOnUnit0(StartReadChipInfo);
      return;
  }
}

}  // namespace qx
