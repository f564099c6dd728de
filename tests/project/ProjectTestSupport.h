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
#include "images/Types.h"

namespace qx::test {

class ProjectTempDir {
 public:
  ProjectTempDir() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "qx-project-XXXXXX").string();
    if (::mkdtemp(tmpl.data()) == nullptr) throw std::runtime_error("mkdtemp");
    path_ = tmpl;
  }
  ~ProjectTempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  ProjectTempDir(const ProjectTempDir&) = delete;
  ProjectTempDir& operator=(const ProjectTempDir&) = delete;

  // The folder with a trailing '/', as the program folder is given.
  std::string Dir() const { return path_.string() + "/"; }
  std::string File(const std::string& name) const { return (path_ / name).string(); }
  std::size_t EntryCount() const {
    std::size_t n = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(path_)) ++n;
    return n;
  }

 private:
  std::filesystem::path path_;
};

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
