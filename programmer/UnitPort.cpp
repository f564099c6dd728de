#include "programmer/UnitPort.h"

namespace qx {

UnitPort::~UnitPort() = default;

}  // namespace qx
