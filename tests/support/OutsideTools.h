#pragma once
// Outside reference tools (objcopy, srec_cat). A developer's machine may lack them and the
// tests that need them skip; under scripts/test.sh (QX_REQUIRE_TOOLS=1) a missing tool fails
// the run, so CI never passes without the round trips.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace qx::test {

inline bool HaveTool(const char* name) {
  return std::system((std::string("command -v ") + name + " >/dev/null 2>&1").c_str()) == 0;
}

inline bool ToolsRequired() {
  const char* v = std::getenv("QX_REQUIRE_TOOLS");
  return v != nullptr && std::string(v) == "1";
}

}  // namespace qx::test

// Use at the top of a test body.
#define QX_NEED_TOOL(name)                                                      \
  do {                                                                          \
    if (!::qx::test::HaveTool(name)) {                                          \
      if (::qx::test::ToolsRequired()) GTEST_FAIL() << (name) << " not installed"; \
      GTEST_SKIP() << (name) << " not installed";                               \
    }                                                                           \
  } while (0)
