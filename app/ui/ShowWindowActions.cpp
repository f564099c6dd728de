#include "app/ui/ShowWindowActions.h"

#include <QCheckBox>
#include <QTabWidget>

#include "ui_GenMFrmARM.h"

namespace qx {

void ShowChipSettingsPage(TGenMFrmARM& window) {
  window.Form().ViewPageCtrl->setCurrentWidget(window.Form().ChipSett);
}

void ShowWindowActions(TGenMFrmARM& window, const WindowActions& actions) {
  if (actions.ChipPageToFront) ShowChipSettingsPage(window);
  if (actions.CheckErsEEP) window.Form().ChkBoxErsEEP->setChecked(true);
  if (actions.StatusFilePath) window.SetStatusPanel(2, *actions.StatusFilePath);
}

}  // namespace qx
