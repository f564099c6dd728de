#pragma once
// Opening a serial device by its component name, shared by TComm and the port probe.
#include <string>
#include <string_view>

#include "serial/UniqueFd.h"

namespace qx {

// A name with a '/' is a path as written; any other name lies in /dev ("ttyUSB0", "COM5").
std::string CommDevicePath(std::string_view commName);

enum class CommOpenFailure { None, CannotOpen, NotATerminal };

struct CommOpenResult {
  UniqueFd fd;
  CommOpenFailure failure = CommOpenFailure::None;
};

// Non-blocking, close-on-exec, not as controlling terminal, and exclusive: a device that
// another component (or process) holds cannot be opened.
CommOpenResult OpenCommDevice(std::string_view commName);

}  // namespace qx
