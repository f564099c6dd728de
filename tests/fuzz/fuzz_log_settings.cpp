// Any text as "GenLogX.cfg": applying it never faults, and what is written back reads back
// as the same settings.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "project/LogSettings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  qx::LogSettings s;
  qx::ApplyLogConfig(std::string_view(reinterpret_cast<const char*>(data), size), s);
  qx::LogSettings again;
  again.Location = qx::LogLocationCustomer;
  if (!qx::ApplyLogConfig(qx::FormatLogConfig(s), again)) __builtin_trap();
  if (again.Enabled != s.Enabled || again.Location != s.Location) __builtin_trap();
  if (s.Location == qx::LogLocationCustomer && (again.Mode != s.Mode || again.FileName != s.FileName)) __builtin_trap();
  return 0;
}
