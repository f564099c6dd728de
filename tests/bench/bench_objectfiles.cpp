// Loads a 4 MiB image as Intel HEX and as S3 records into the chip images and prints the
// rate next to objcopy converting the same file to binary on this machine.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "images/ChipModel.h"
#include "images/IntelHexFile.h"
#include "images/SRecordFile.h"

namespace {

using Clock = std::chrono::steady_clock;

class SilentOperator : public qx::Operator {
 public:
  qx::MsgAnswer Ask(qx::MsgKind, std::string_view, qx::MsgButtons) override {
    ++asked;
    return qx::MsgAnswer::Ok;
  }
  int asked = 0;
};

template <typename F>
double BestSeconds(int runs, F&& f) {
  double best = 1e9;
  for (int i = 0; i < runs; ++i) {
    const auto t0 = Clock::now();
    f();
    best = std::min(best, std::chrono::duration<double>(Clock::now() - t0).count());
  }
  return best;
}

void Report(const char* name, const std::string& path, qx::ChipModel& chip, bool hex, const char* objcopyInput,
            const std::string& outBin) {
  SilentOperator op;
  const double mb = static_cast<double>(std::filesystem::file_size(path)) / 1e6;
  qx::u32 start = 0, end = 0, sum = 0;
  const double ours = BestSeconds(5, [&] {
    if (hex) {
      qx::LoadIntelHexFile(chip, path, start, end, sum, op);
    } else {
      qx::LoadSRecordFile(chip, path, start, end, sum, op);
    }
  });
  std::printf("%-10s file %.1f MB  ours %8.1f MB/s (%.3f s)", name, mb, mb / ours, ours);
  if (op.asked != 0) std::printf("  [%d operator messages!]", op.asked);
  const std::string cmd = std::string("objcopy -I ") + objcopyInput + " -O binary " + path + " " + outBin +
                          " >/dev/null 2>&1";
  if (std::system("command -v objcopy >/dev/null 2>&1") == 0) {
    int rc = 0;
    const double tool = BestSeconds(5, [&] { rc = std::system(cmd.c_str()); });
    if (rc == 0) {
      std::printf("  objcopy %8.1f MB/s (%.3f s)  ratio %.2fx", mb / tool, tool, tool / ours);
    } else {
      std::printf("  objcopy failed");
    }
  } else {
    std::printf("  objcopy not installed");
  }
  std::printf("\n");
}

}  // namespace

int main() {
  constexpr qx::u32 size = 4 * 1024 * 1024;
  constexpr qx::u32 base = 0x08000000;
  std::vector<qx::u8> data(size);
  std::mt19937 rng(1);
  for (auto& b : data) b = static_cast<qx::u8>(rng());

  const auto dir = std::filesystem::temp_directory_path() / ("qx-bench-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const std::string hexPath = (dir / "image.hex").string();
  const std::string srecPath = (dir / "image.s37").string();
  {
    std::ofstream(hexPath, std::ios::binary) << qx::FormatIntelHex(data, base);
    std::ofstream(srecPath, std::ios::binary) << qx::FormatSRecords(data, base);
  }

  auto chip = std::make_unique<qx::ChipModel>();
  chip->Params.MainFlashStart = base;
  chip->Params.MainFlashSize = size;
  chip->Params.MainFlashEnd = base + size - 1;

  std::printf("4 MiB image at 0x%08X, best of 5 runs\n", base);
  Report("Intel HEX", hexPath, *chip, true, "ihex", (dir / "out.bin").string());
  Report("S3", srecPath, *chip, false, "srec", (dir / "out.bin").string());
  const bool same = std::equal(data.begin(), data.end(), chip->MainFlashImage.begin());
  std::printf("image %s the source bytes\n", same ? "matches" : "DOES NOT MATCH");

  std::filesystem::remove_all(dir);
  return same ? 0 : 1;
}
