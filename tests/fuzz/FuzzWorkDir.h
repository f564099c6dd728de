#pragma once
// The folder where the file targets write each input before the program's loaders read it:
// QX_FUZZ_WORK, the run's own temporary folder that the CTest run removes afterwards; run
// by hand without it, a fresh folder in the current one (where libFuzzer also puts what it
// finds) that goes when the target ends normally.
#include <stdlib.h>

#include <filesystem>
#include <string>

namespace qx::fuzz {

inline const std::string& FuzzWorkDir() {
  static const std::string dir = [] {
    if (const char* given = std::getenv("QX_FUZZ_WORK"); given != nullptr && *given != '\0') {
      std::filesystem::create_directories(given);
      return std::string(given) + "/";
    }
    std::string tmpl = (std::filesystem::current_path() / "qx-fuzz-work-XXXXXX").string();
    if (::mkdtemp(tmpl.data()) == nullptr) std::abort();
    static const std::string made = tmpl;
    std::atexit([] {
      std::error_code ec;
      std::filesystem::remove_all(made, ec);
    });
    return tmpl + "/";
  }();
  return dir;
}

}  // namespace qx::fuzz
