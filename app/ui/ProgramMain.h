#pragma once
// The program's entry: the application object, the main window and the forms created
// once at start-up, then the message loop.
#include "app/ui/ProgramForms.h"

namespace qx {

int ProgramMain(int argc, char** argv);

}  // namespace qx
