#pragma once
// The main window's setting controls as the plain structs the Qt-free rules take: read
// before a command, shown after a project load. Controls are found by their designed object
// names, so the rules never see a widget.
#include <QWidget>

#include "app/CustomerInfoBlock.h"
#include "app/ProgramSettings.h"

namespace qx {

ProgramControls ReadProgramControls(const QWidget& window);
// Sets every control of the struct; check boxes change without running their click
// handlers (the caller runs those it needs).
void ShowProgramControls(QWidget& window, const ProgramControls& controls);

CustomerInfoControls ReadCustomerInfoControls(const QWidget& window);

}  // namespace qx
