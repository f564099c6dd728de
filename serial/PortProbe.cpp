#include "serial/PortProbe.h"

#include "serial/CommDevice.h"

namespace qx {

bool CanOpenPort(std::string_view commName) {
  return OpenCommDevice(commName).failure == CommOpenFailure::None;
}

}  // namespace qx
