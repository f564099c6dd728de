#pragma once
// The main window's setting controls as the plain structs the Qt-free rules take: read
// before a command, shown after a project load, through the form's typed members, so the
// rules never see a widget.

#include "app/CustomerInfoBlock.h"
#include "app/ProgramSettings.h"
#include "app/ui/GenMFrmARM.h"

namespace qx {

ProgramControls ReadProgramControls(const TGenMFrmARM& window);
// Sets every control of the struct; check boxes change without running their click
// handlers (the caller runs those it needs).
void ShowProgramControls(TGenMFrmARM& window, const ProgramControls& controls);

CustomerInfoControls ReadCustomerInfoControls(const TGenMFrmARM& window);

}  // namespace qx
