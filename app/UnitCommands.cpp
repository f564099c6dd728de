#include "app/UnitCommands.h"

#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>

#include "app/ObjectFileCommands.h"
#include "app/UnitSerialNumbers.h"
#include "chips/MakerRegistry.h"
#include "programmer/AutoChain.h"
#include "programmer/DownloadChain.h"
#include "programmer/OnlineChains.h"
#include "texts/Texts.h"

namespace qx {

namespace {

void StartChipErase(UnitSessions& s, u8 k) { StartErase(s, k, Text(TextId::EraseStart)); }

using A = AutoChainRule;
using U = UnitStart;

// One row a command, in the order of UnitCommand; the checks below refuse a command
// without its row and rows out of order.
struct Row {
  UnitCommand Command;
  UnitCommandRule Rule;
};

using C = UnitCommand;
constexpr Row kRules[] = {
    {C::Auto,
     {.Starter = StartAutoProgram, .Chain = A::Set, .CustomerBlock = true, .SerialNumbers = true, .NeedsImage = true,
     .EmptyLogLine = true, .OptionListing = true}},
    {C::Download,
     {.Starter = StartDownloadChipData, .Chain = A::Keep, .CustomerBlock = true, .NeedsImage = true,
     .EmptyLogLine = true, .OptionListing = true}},
    {C::BlankCheck,
     {.Starter = StartBlankCheck, .Chain = A::Clear, .EmptyLogLine = true}},
    {C::Erase,
     {.Starter = StartChipErase, .Chain = A::Clear, .EmptyLogLine = true}},
    {C::Program,
     {.Starter = StartProgramMain, .Chain = A::Clear, .CustomerBlock = true, .SerialNumbers = true, .NeedsImage = true,
     .EmptyLogLine = true}},
    {C::Verify,
     {.Starter = StartVerifyMain, .Chain = A::Clear, .ActivatePanelBtns = true, .NeedsImage = true, .EmptyLogLine = true}},
    {C::WriteOption,
     {.Starter = StartWriteOption, .Chain = A::Clear, .EmptyLogLine = true}},
    {C::WriteEep,
     {.Starter = StartProgramEep, .Chain = A::Clear, .NeedsImage = true}},
    {C::ReadMain,
     {.Start = U::Unit0, .Starter = StartReadMain, .Chain = A::Clear, .ReplacesImage = true}},
    {C::ReadEep,
     {.Start = U::Unit0, .Starter = StartReadEep, .Chain = A::Clear, .ChipPageToFront = false}},
    {C::ReadOption,
     {.Start = U::Unit0, .Starter = StartReadOption, .Chain = A::Clear}},
    {C::ReadChecksum,
     {.Start = U::Unit0, .Starter = StartReadChecksum, .Chain = A::Clear}},
    {C::ReadAddress,
     {.Start = U::ReadAddress, .Starter = StartReadAddress, .Chain = A::Clear}},
    {C::ReadChipInfo,
     {.Start = U::ReadChipInfo, .Starter = StartReadChipInfo, .Chain = A::Clear, .CollectSettings = false}},
};

constexpr bool RowsInCommandOrder() {
  for (std::size_t i = 0; i < std::size(kRules); ++i) {
    if (static_cast<std::size_t>(kRules[i].Command) != i) return false;
  }
  return true;
}
static_assert(std::size(kRules) == static_cast<std::size_t>(UnitCommand::Count), "a unit command without its rule");
static_assert(RowsInCommandOrder(), "the rules stand in the order of UnitCommand");

void Collect(const UnitCommandRule& rule, ChipModel& model, MessageLog& log, const UnitCommandView& view) {
  if (rule.CollectSettings) CollectProgramSettings(view.Controls(), model, log);
}

// The writing commands' units; Auto and Prog give each unit its serial number first.
void StartUnits(const UnitCommandRule& rule, Station& station, ChipModel& model, const UnitCommandView& view,
                const std::optional<SerialRun>& serial, bool decimal) {
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

const UnitCommandRule& RuleOf(UnitCommand command) {
  const auto i = static_cast<std::size_t>(command);
  // Count and values cast from outside the enum are no command.
  if (i >= std::size(kRules)) throw std::logic_error("no such unit command: " + std::to_string(i));
  return kRules[i].Rule;
}

void Station::RunUnitCommand(UnitCommand command, const UnitCommandView& view) {
  const UnitCommandRule& rule = RuleOf(command);
  Station& station = *this;
  ChipModel& model = *model_;
  MessageLog& log = log_;
  Operator& op = op_;
  const MakerModule& maker = ModuleOf(MakerOf(model.Params.ManufacturerIndex));

  if (rule.ChipPageToFront) view.ChipPageToFront(rule.ActivatePanelBtns);
  // A read-back writes the images as its replies come: what sends or compares them waits.
  if (rule.NeedsImage && rule.Start == UnitStart::AllUnits && station.RefuseWhileReadingBack()) return;
  if (rule.CustomerBlock && maker.differs.customerInfoPage) {
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
      Collect(rule, model, log, view);
      if (rule.OptionListing && maker.differs.optionListingBeforeStart && maker.currentOptionListing != nullptr) {
        maker.currentOptionListing(log, model);
      }
      StartUnits(rule, station, model, view, serial, decimal);
      return;
    case UnitStart::Unit0:
      Collect(rule, model, log, view);
      if (!station.GuardUnit0()) return;
      if (rule.ReplacesImage) ForgetSerialNumbers(station);
      station.StartReadOnUnit0(rule.Starter, rule.Chain);
      return;
    case UnitStart::ReadAddress:
      if (!station.GuardUnit0()) return;
      Collect(rule, model, log, view);
      view.AskReadAddress();
      // The dialog's loop serves the ports: unit 0 may have been unplugged meanwhile.
      if (!station.GuardUnit0()) return;
      station.StartReadOnUnit0(rule.Starter, rule.Chain);
      return;
    case UnitStart::ReadChipInfo:
      if (!station.GuardUnit0()) return;
      station.StartReadOnUnit0(rule.Starter, rule.Chain);
      return;
  }
}

}  // namespace qx
