#include "app/ui/ShowWindowActions.h"

#include <QCheckBox>
#include <QTabWidget>

#include "app/ui/NamedControl.h"

namespace qx {

void ShowChipSettingsPage(TGenMFrmARM& window) {
  NamedControl<QTabWidget>(window, "ViewPageCtrl").setCurrentWidget(&NamedControl<QWidget>(window, "ChipSett"));
}

void ShowWindowActions(TGenMFrmARM& window, const WindowActions& actions) {
  if (actions.ChipPageToFront) ShowChipSettingsPage(window);
  if (actions.CheckErsEEP) NamedControl<QCheckBox>(window, "ChkBoxErsEEP").setChecked(true);
  if (actions.StatusFilePath) window.SetStatusPanel(2, *actions.StatusFilePath);
}

}  // namespace qx
