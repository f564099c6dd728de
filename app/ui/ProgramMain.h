#pragma once
// The program's entry: the application object, the main window and the forms created
// once at start-up, then the message loop. The stops that main() keeps from its first line
// on are carried out as Exit: ports closed, log written once, status 128 + the signal.
#include "app/StopSignalPipe.h"
#include "app/ui/ProgramForms.h"

namespace qx {

int ProgramMain(int argc, char** argv, StopSignalPipe& stops);

}  // namespace qx
