// The command buttons and the Command and Read menus: each runs its rule of app/UnitCommands
// over the window's controls.
#include <QFrame>
#include <QLineEdit>
#include <QTableView>

#include "app/UnitCommands.h"
#include "app/ui/HexGridModel.h"
#include "app/ui/MainController.h"
#include "app/ui/NamedControl.h"
#include "app/ui/QtText.h"
#include "app/ui/SetAddressForm.h"
#include "app/ui/ShowWindowActions.h"
#include "app/ui/WindowControls.h"

namespace qx {

namespace {

struct Binding {
  WindowCommand Command;
  UnitCommand Unit;
};

constexpr Binding kBindings[] = {
    {WindowCommand::AutoSpdBtnClick, UnitCommand::Auto},
    {WindowCommand::SpdBtnDownLoadClick, UnitCommand::Download},
    {WindowCommand::SpdBtnBlankChkClick, UnitCommand::BlankCheck},
    {WindowCommand::SpdBtnEraseClick, UnitCommand::Erase},
    {WindowCommand::SpdBtnProgClick, UnitCommand::Program},
    {WindowCommand::SpdBtnVerifyClick, UnitCommand::Verify},
    {WindowCommand::SpdBtnWrtOPBClick, UnitCommand::WriteOption},
    {WindowCommand::WriteEepDataMemory1Click, UnitCommand::WriteEep},
    {WindowCommand::ReadChipMemory1Click, UnitCommand::ReadMain},
    {WindowCommand::ReadEEPMemory1Click, UnitCommand::ReadEep},
    {WindowCommand::ReadOptionByte1Click, UnitCommand::ReadOption},
    {WindowCommand::ReadChipCheckSum1Click, UnitCommand::ReadChecksum},
    {WindowCommand::ReadSpcAddressClick, UnitCommand::ReadAddress},
    {WindowCommand::ReadMG32xxChipID1Click, UnitCommand::ReadChipInfo},
};

UnitCommandView ViewOf(MainController& controller) {
  TGenMFrmARM& w = controller.Window();
  Station& station = controller.Core();
  UnitCommandView v;
  v.ChipPageToFront = [&w](bool activatePanel) {
    ShowChipSettingsPage(w);
    if (activatePanel) NamedControl<QFrame>(w, "PanelBtns").setFocus(Qt::OtherFocusReason);
  };
  v.Controls = [&w] { return ReadProgramControls(w); };
  v.CustomerControls = [&w] { return ReadCustomerInfoControls(w); };
  v.Apply = [&w](const WindowActions& actions) { ShowWindowActions(w, actions); };
  v.AskReadAddress = [&w, &station] {
    TSetAddressForm form(station.Model(), w, &w);
    if (w.ShowModal) w.ShowModal(form);
  };
  v.ShowSerialNumber = [&w](const std::string& text) { NamedControl<QLineEdit>(w, "SNEdit1").setText(QtText(text)); };
  return v;
}

// The main grid shows unit 0's own serial number over the image, whoever attached its model.
void ShowUnit0SerialNumber(MainController& controller) {
  QAbstractItemModel* model = NamedControl<QTableView>(controller.Window(), "HexViewer").model();
  if (auto* grid = qobject_cast<HexGridModel*>(model)) {
    grid->ShowSerialNumber(&controller.Core().UnitSerial(0));
  }
}

}  // namespace

void BindUnitCommands(MainController& controller) {
  for (const Binding& b : kBindings) {
    controller.Bind(b.Command, [&controller, unit = b.Unit] {
      ShowUnit0SerialNumber(controller);
      RunUnitCommand(unit, controller.Core(), ViewOf(controller));
    });
  }
}

}  // namespace qx
