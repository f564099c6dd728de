#include "tests/unitsim/SimCheck.h"

namespace qx::sim {

std::uint16_t SimCheck16(std::span<const std::uint8_t> bytes) {
  std::uint32_t reg = 0;
  for (const std::uint8_t byte : bytes) {
    const bool odd = (reg % 2) == 1;
    reg = (reg / 2) ^ byte;
    if (odd) reg ^= 0x4A12;
  }
  return static_cast<std::uint16_t>(reg & 0xFFFF);
}

}  // namespace qx::sim
