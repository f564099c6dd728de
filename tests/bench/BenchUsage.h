#pragma once
// Every benchmark answers --help with its usage on the standard output, before it starts
// anything.
#include <cstdio>
#include <string_view>

namespace qx::bench {

inline bool AnswerHelp(int argc, char** argv, const char* usage) {
  if (argc < 2) return false;
  const std::string_view a = argv[1];
  if (a != "--help" && a != "-h") return false;
  std::fputs(usage, stdout);
  return true;
}

}  // namespace qx::bench
