#include "app/StopSignalPipe.h"
#include "app/ui/ProgramMain.h"

int main(int argc, char** argv) {
  // First of all: a stop from now on waits for the window to carry it out.
  qx::StopSignalPipe stops;
  return qx::ProgramMain(argc, argv, stops);
}
