#pragma once
// The program's folder: every file the program reads or writes by itself lies below it.
#include <string>

namespace qx {

// Folder of the running executable with a trailing '/'; "./" when it cannot be found.
std::string ExecutableDir();

}  // namespace qx
