#pragma once
// Shorthands for building control changes.
#include "chips/WindowChanges.h"

namespace qx::change {

inline ControlChange Named(std::string_view name) {
  ControlChange c;
  c.Name = name;
  return c;
}

inline ControlChange Visible(std::string_view name, bool visible) {
  ControlChange c = Named(name);
  c.Visible = visible;
  return c;
}

inline ControlChange Enabled(std::string_view name, bool enabled) {
  ControlChange c = Named(name);
  c.Enabled = enabled;
  return c;
}

}  // namespace qx::change
