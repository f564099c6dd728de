#pragma once
// The unit's own 16-bit check word: a shift register started at 0 moves right one bit per
// byte and takes the byte, and the constant 0x4A12 as well when the bit it shifted out was
// set. The program has a routine of its own; a unit that borrowed it could not tell a wrong
// one from a right one.
#include <cstdint>
#include <span>

namespace qx::sim {

std::uint16_t SimCheck16(std::span<const std::uint8_t> bytes);

}  // namespace qx::sim
