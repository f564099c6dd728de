#pragma once
// A parameterised case's printed name: letters and digits kept, anything else as '_', so
// test names stay short, readable and the same in every build.
#include <string>
#include <string_view>

namespace qx::test {

inline std::string CaseName(std::string_view text) {
  std::string s(text);
  for (char& c : s) {
    const bool keep = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    if (!keep) c = '_';
  }
  return s;
}

}  // namespace qx::test
