#pragma once
// A yes or no a maker or family module must state.

namespace qx {

// It has no default, so a module that leaves one out does not build.
struct MakerSays {
  bool on;
  constexpr MakerSays(bool value) : on(value) {}  // implicit: a module writes true or false
  constexpr explicit operator bool() const { return on; }
};

}  // namespace qx
