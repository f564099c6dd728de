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
  int error = 0;  // errno of the failed call
};

// Non-blocking, close-on-exec, not as controlling terminal, and exclusive: a device that
// another component (or process) holds cannot be opened.
CommOpenResult OpenCommDevice(std::string_view commName);

// The system's reason for an open failure with errno error, as the second line of the
// error text: a missing device, a permission the user lacks (with the group that owns the
// device at path when that group may read and write it, else the owner who alone may), a
// port held by another program, or the system's own text.
std::string CommOpenReason(int error, const std::string& path);

}  // namespace qx
