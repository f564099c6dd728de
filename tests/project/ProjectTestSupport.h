#pragma once
// Helpers of the project tests: a temp folder, file bytes, and a ChipModel on the heap.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "images/ChipModel.h"
#include "base/Types.h"
#include "tests/support/TempDir.h"

namespace qx::test {

using ProjectTempDir = TempDir;

inline std::string ReadAll(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

inline void WriteAllText(const std::string& path, const std::string& text) {
  std::ofstream f(path, std::ios::binary);
  f << text;
}

inline std::unique_ptr<ChipModel> NewModel() { return std::make_unique<ChipModel>(); }

}  // namespace qx::test
