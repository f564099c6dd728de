#pragma once
// What a command's Qt-free rule leaves to the window: the chip settings page to the front,
// "Erase Data Flash" ticked, the file path in status-bar panel 2.
#include "app/ImageViews.h"
#include "app/ui/GenMFrmARM.h"

namespace qx {

void ShowWindowActions(TGenMFrmARM& window, const WindowActions& actions);

// The chip settings page ChipSett in front in ViewPageCtrl.
void ShowChipSettingsPage(TGenMFrmARM& window);

}  // namespace qx
