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

#include "base/MessageLog.h"
#include "base/Types.h"
#include "images/ChipModel.h"
#include "images/ViewChecksums.h"
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

// The image sums as loading an object file leaves them, the option sums with them: what a
// saved project stores for its images.
inline void TakeSums(ChipModel& m) {
  MessageLog scratch;
  RefreshChecksums(m, scratch);
  CalcOptionChecksum(m);
}

// Offsets the layout fixes, computed independently of the writer. The main-image section
// has its key byte whatever its count; the EEP section is absent for no data.
inline std::size_t SectionBytes(u32 n) { return n == 0 ? 0 : 1 + n + n / 1024; }
inline std::size_t MainSectionBytes(u32 n) { return 1 + n + n / 1024; }
inline u32 EepCount(u32 d) { return d == 0 ? 0 : (d % 65536 == 0 ? 65536 : d % 65536); }
inline std::size_t EepTagAt(u32 download) { return 3434 + MainSectionBytes(download); }
// The first byte of the EEP section: its key byte.
inline std::size_t EepSectionAt(u32 download) { return EepTagAt(download) + 3 + 4; }
inline std::size_t StoredSumAt(u32 download, u32 eep) { return EepSectionAt(download) + SectionBytes(EepCount(eep)); }
// The plain configuration section byte i is stored at this offset.
inline constexpr std::size_t kCfgDataAt = 2407;

}  // namespace qx::test
