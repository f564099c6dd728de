// The command buttons and the Command and Read menus: each runs its rule of app/UnitCommands
// over the window's controls; app/WindowCommandList.def says which.
#include <QFrame>
#include <QLineEdit>
#include <QTableView>

#include "app/UnitCommands.h"
#include "app/ui/HexGridModel.h"
#include "app/ui/MainController.h"
#include "app/ui/QtText.h"
#include "app/ui/SetAddressForm.h"
#include "app/ui/ShowWindowActions.h"
#include "app/ui/WindowControls.h"
#include "ui_GenMFrmARM.h"

namespace qx {

namespace {

UnitCommandView ViewOf(MainController& controller) {
  TGenMFrmARM& w = controller.Window();
  Station& station = controller.Core();
  UnitCommandView v;
  v.ChipPageToFront = [&w](bool activatePanel) {
    ShowChipSettingsPage(w);
    if (activatePanel) w.Form().PanelBtns->setFocus(Qt::OtherFocusReason);
  };
  v.Controls = [&w] { return ReadProgramControls(w); };
  v.CustomerControls = [&w] { return ReadCustomerInfoControls(w); };
  v.Apply = [&w](const WindowActions& actions) { ShowWindowActions(w, actions); };
  v.AskReadAddress = [&w, &station] {
    TSetAddressForm form(station.DialogJob(), w, &w);
    w.Modal(form);
  };
  v.ShowSerialNumber = [&w](const std::string& text) { w.Form().SNEdit1->setText(QtText(text)); };
  return v;
}

// The main grid shows unit 0's own serial number over the image, whoever attached its model.
void ShowUnit0SerialNumber(MainController& controller) {
  QAbstractItemModel* model = controller.Window().Form().HexViewer->model();
  if (auto* grid = qobject_cast<HexGridModel*>(model)) {
    grid->ShowSerialNumber(&controller.Core().UnitSerial(0));
  }
}

}  // namespace

void BindUnitCommands(MainController& controller) {
  const auto bind = [&controller](WindowCommand command, UnitCommand unit) {
    controller.Bind(command, [&controller, unit] {
      ShowUnit0SerialNumber(controller);
      controller.Core().RunUnitCommand(unit, ViewOf(controller));
    });
  };
#define QX_UNIT_COMMAND(Name, Unit) bind(WindowCommand::Name, UnitCommand::Unit);
#include "app/WindowCommandList.def"
}

}  // namespace qx
