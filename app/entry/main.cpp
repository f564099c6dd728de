#include "app/ui/ProgramMain.h"

int main(int argc, char** argv) { return qx::ProgramMain(argc, argv); }
