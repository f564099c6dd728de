// Loads a 4 MiB image as Intel HEX and as S3 records into the chip images, and saves it
// again, and prints the rates next to objcopy and srec_cat doing the same conversions on
// this machine in the same run.
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

constexpr double kGoalLoad = 4.0;
constexpr double kGoalSave = 3.0;

bool Installed(const char* tool) { return std::system((std::string("command -v ") + tool + " >/dev/null 2>&1").c_str()) == 0; }

// One tool's best time for cmd, printed next to ours; returns the ratio (0 when it failed).
double CompareTool(const char* tool, const std::string& cmd, double mb, double ours) {
  if (!Installed(tool)) {
    std::printf("  %s not installed", tool);
    return 0;
  }
  int rc = 0;
  const double theirs = BestSeconds(5, [&] { rc = std::system((cmd + " >/dev/null 2>&1").c_str()); });
  if (rc != 0) {
    std::printf("  %s failed", tool);
    return 0;
  }
  std::printf("  %s %7.1f MB/s ratio %.2fx", tool, mb / theirs, theirs / ours);
  return theirs / ours;
}

struct Format {
  const char* Name;
  bool Hex;
  const char* ObjcopyName;  // objcopy's name of the format
  const char* SrecCatName;  // srec_cat's
};

void Report(const Format& f, const std::string& path, const std::string& dir, qx::ChipModel& chip) {
  SilentOperator op;
  const double mb = static_cast<double>(std::filesystem::file_size(path)) / 1e6;
  qx::u32 start = 0, end = 0, sum = 0;
  const double load = BestSeconds(5, [&] {
    if (f.Hex) {
      qx::LoadIntelHexFile(chip, path, start, end, sum, op);
    } else {
      qx::LoadSRecordFile(chip, path, start, end, sum, op);
    }
  });
  std::printf("%-9s load, file %.1f MB: ours %7.1f MB/s (%.3f s)", f.Name, mb, mb / load, load);
  if (op.asked != 0) std::printf("  [%d operator messages!]", op.asked);
  const std::string bin = dir + "/out.bin";
  const double loadRatio = CompareTool("objcopy", std::string("objcopy -I ") + f.ObjcopyName + " -O binary " + path + " " + bin, mb, load);
  CompareTool("srec_cat", std::string("srec_cat ") + path + " -" + f.SrecCatName + " -o " + bin + " -binary", mb, load);
  std::printf("\n");

  // The save writes what the load read, from the bytes objcopy just wrote as binary.
  const std::string saved = dir + "/saved" + (f.Hex ? ".hex" : ".s37");
  const qx::u32 first = chip.Params.MainFlashStart, last = chip.Params.MainFlashEnd;
  const double save = BestSeconds(5, [&] {
    if (f.Hex) {
      qx::SaveIntelHexFile(chip, saved, first, last);
    } else {
      qx::SaveSRecordFile(chip, saved, first, last);
    }
  });
  std::printf("%-9s save, file %.1f MB: ours %7.1f MB/s (%.3f s)", f.Name, mb, mb / save, save);
  const std::string out = dir + "/tool.out";
  const std::string offset = std::to_string(first);
  const double saveRatio = CompareTool("objcopy", std::string("objcopy -I binary -O ") + f.ObjcopyName + " --change-addresses " + offset + " " + bin + " " + out, mb, save);
  CompareTool("srec_cat", std::string("srec_cat ") + bin + " -binary -offset " + offset + " -o " + out + " -" + f.SrecCatName, mb, save);
  std::printf("\n");
  std::ifstream a(path, std::ios::binary), b(saved, std::ios::binary);
  const std::string loaded((std::istreambuf_iterator<char>(a)), std::istreambuf_iterator<char>());
  const std::string written((std::istreambuf_iterator<char>(b)), std::istreambuf_iterator<char>());
  std::printf("  saved file %s the file loaded; goals: load >= %.0fx objcopy: %s, save >= %.0fx objcopy: %s\n",
              loaded == written ? "matches" : "DIFFERS FROM", kGoalLoad, loadRatio >= kGoalLoad ? "met" : "MISSED",
              kGoalSave, saveRatio >= kGoalSave ? "met" : "MISSED");
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
  Report({"Intel HEX", true, "ihex", "intel"}, hexPath, dir.string(), *chip);
  Report({"S3", false, "srec", "motorola"}, srecPath, dir.string(), *chip);
  const bool same = std::equal(data.begin(), data.end(), chip->MainFlashImage.begin());
  std::printf("image %s the source bytes\n", same ? "matches" : "DOES NOT MATCH");

  std::filesystem::remove_all(dir);
  return same ? 0 : 1;
}
