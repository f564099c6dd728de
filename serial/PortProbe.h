#pragma once
#include <string_view>

namespace qx {

// Whether the device named as TComm::CommName would name it can be opened right now: it
// exists, is a terminal and nobody holds it. Nothing is left open.
bool CanOpenPort(std::string_view commName);

}  // namespace qx
