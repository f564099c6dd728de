// Loads a 4 MiB image from Intel HEX and from S3 records into the chip images and saves it
// again, beside objcopy and srec_cat converting the same 4 MiB on this machine in the same
// run. Each figure is given twice: the first call of a fresh process (a child run of this
// program, which makes its chip model as the program does and times one call; the median
// of five such processes) and the median of warm calls in this process. The tools start a process for every call. Our
// saves sync the file and its folder to the disk; the tools do not. Prints figures only.
//
// usage: bench_objectfiles
//        bench_objectfiles --first load hex|s3 FILE        (child: one load, prints seconds)
//        bench_objectfiles --first save hex|s3 BIN OUTPUT  (child: one save of BIN's bytes)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "tests/bench/BenchUsage.h"
#include "images/ChipModel.h"
#include "images/FileReplace.h"
#include "images/IntelHexFile.h"
#include "images/SRecordFile.h"
#include "tests/bench/BenchProcess.h"

namespace {

using Clock = std::chrono::steady_clock;
using qx::bench::LoadAverage;
using qx::bench::Met;

constexpr qx::u32 kSize = 4 * 1024 * 1024;
constexpr qx::u32 kBase = 0x08000000;
constexpr int kWarmRuns = 7;
constexpr int kFirstRuns = 5;  // fresh processes
constexpr int kToolRuns = 5;
constexpr double kGoalRatio = 5.0;  // load and save >= 5x objcopy, the first call included

class SilentBoxes final : public qx::MessageBoxes {
 public:
  qx::MsgAnswer Ask(qx::MsgKind, std::string_view, qx::MsgButtons) override {
    ++asked;
    return qx::MsgAnswer::Ok;
  }
  void AskBinaryOffset() override {}
  int asked = 0;
};

template <typename F>
double SecondsOf(F&& f) {
  const auto t0 = Clock::now();
  f();
  return std::chrono::duration<double>(Clock::now() - t0).count();
}

template <typename F>
double WarmMedian(F&& f) {
  f();  // the first call of this process is not a warm one
  std::vector<double> runs;
  for (int i = 0; i < kWarmRuns; ++i) runs.push_back(SecondsOf(f));
  return qx::bench::Median(runs);
}

std::unique_ptr<qx::ChipModel> MakeChip() {
  auto chip = std::make_unique<qx::ChipModel>();
  chip->Params.MainFlashStart = kBase;
  chip->Params.MainFlashSize = kSize;
  chip->Params.MainFlashEnd = kBase + kSize - 1;
  return chip;
}

void Load(bool hex, qx::ChipModel& chip, const std::string& path, SilentBoxes& op) {
  qx::u32 start = 0, end = 0, sum = 0;
  if (hex) {
    qx::LoadIntelHexFile(chip, path, start, end, sum, op);
  } else {
    qx::LoadSRecordFile(chip, path, start, end, sum, op);
  }
}

void Save(bool hex, const qx::ChipModel& chip, const std::string& path) {
  if (hex) {
    qx::SaveIntelHexFile(chip, path, kBase, kBase + kSize - 1);
  } else {
    qx::SaveSRecordFile(chip, path, kBase, kBase + kSize - 1);
  }
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The child: one call in a process that has done nothing else but make its chip model.
int FirstCall(int argc, char** argv) {
  if (argc < 5) return 2;
  const std::string what = argv[2];
  const bool hex = std::string(argv[3]) == "hex";
  auto chip = MakeChip();
  double seconds = 0;
  if (what == "load") {
    SilentBoxes op;
    seconds = SecondsOf([&] { Load(hex, *chip, argv[4], op); });
    if (op.asked != 0) return 1;
  } else if (what == "save" && argc >= 6) {
    const std::string bin = ReadAll(argv[4]);
    if (bin.size() != kSize) return 1;
    std::copy(bin.begin(), bin.end(), chip->MainFlashImage.begin());
    seconds = SecondsOf([&] { Save(hex, *chip, argv[5]); });
  } else {
    return 2;
  }
  std::printf("%.9f\n", seconds);
  return 0;
}

// The median over fresh processes: one such call is a single sample of a noisy disk.
double FirstCallOfChildren(const std::vector<std::string>& args) {
  std::vector<double> runs;
  for (int i = 0; i < kFirstRuns; ++i) {
    bool ok = false;
    const std::string out = qx::bench::RunAndRead(qx::bench::SelfPath(), args, ok);
    if (!ok) return 0;
    runs.push_back(std::atof(out.c_str()));
  }
  return qx::bench::Median(runs);
}

struct ToolFigure {
  bool Ok = false;
  double Seconds = 0;  // median
  std::uintmax_t Input = 0, Output = 0;
};

bool Installed(const char* tool) { return std::system((std::string("command -v ") + tool + " >/dev/null 2>&1").c_str()) == 0; }

ToolFigure RunTool(const char* tool, const std::string& cmd, const std::string& input, const std::string& output) {
  ToolFigure f;
  if (!Installed(tool)) return f;
  std::vector<double> runs;
  for (int i = 0; i < kToolRuns; ++i) {
    std::filesystem::remove(output);
    int rc = 0;
    runs.push_back(SecondsOf([&] { rc = std::system((cmd + " >/dev/null 2>&1").c_str()); }));
    if (rc != 0) return f;
  }
  f.Ok = true;
  f.Seconds = qx::bench::Median(runs);
  f.Input = std::filesystem::file_size(input);
  f.Output = std::filesystem::file_size(output);
  return f;
}

double PrintTool(const char* tool, const ToolFigure& t, double first, double warm) {
  if (!t.Ok) {
    std::printf("    %-8s not installed or failed\n", tool);
    return 0;
  }
  std::printf("    %-8s %8.1f ms (median of %d; input %ju bytes, output %ju bytes): ours %.1fx faster first, %.1fx warm\n",
              tool, 1e3 * t.Seconds, kToolRuns, t.Input, t.Output, t.Seconds / first, t.Seconds / warm);
  return t.Seconds;
}

struct Format {
  const char* Name;
  bool Hex;
  const char* Extension;
  const char* ObjcopyName;
  const char* SrecCatName;
};

// Prints one format's figures; true when both goals are met.
bool Report(const Format& f, const std::string& dir, const std::string& source, const std::string& bin,
            qx::ChipModel& chip) {
  const std::string tag = f.Hex ? "hex" : "s3";
  const std::string toolBin = dir + "/tool.bin";
  const std::string toolText = dir + "/tool" + f.Extension;
  const std::string saved = dir + "/saved" + f.Extension;
  const std::string base = std::to_string(kBase);

  SilentBoxes op;
  const double loadFirst = FirstCallOfChildren({"--first", "load", tag, source});
  const double loadWarm = WarmMedian([&] { Load(f.Hex, chip, source, op); });
  std::printf("%s load of a %ju-byte file into 4 MiB: first call %.1f ms (median of %d processes), warm median %.1f ms (of %d)"
              "  [load average %s]\n",
              f.Name, std::filesystem::file_size(source), 1e3 * loadFirst, kFirstRuns, 1e3 * loadWarm, kWarmRuns,
              LoadAverage().c_str());
  if (op.asked != 0) std::printf("    [%d operator messages!]\n", op.asked);
  const ToolFigure objcopyLoad = RunTool(
      "objcopy", "objcopy -I " + std::string(f.ObjcopyName) + " -O binary " + source + " " + toolBin, source, toolBin);
  const double objcopyLoadSeconds = PrintTool("objcopy", objcopyLoad, loadFirst, loadWarm);
  PrintTool("srec_cat",
            RunTool("srec_cat", "srec_cat " + source + " -" + f.SrecCatName + " -offset -" + base + " -o " + toolBin + " -binary",
                    source, toolBin),
            loadFirst, loadWarm);

  const double saveFirst = FirstCallOfChildren({"--first", "save", tag, bin, saved});
  const double saveWarm = WarmMedian([&] { Save(f.Hex, chip, saved); });
  std::printf("%s save of 4 MiB to a %ju-byte file, file and folder synced: first call %.1f ms (median of %d processes), "
              "warm median %.1f ms (of %d)  [load average %s]\n",
              f.Name, std::filesystem::file_size(saved), 1e3 * saveFirst, kFirstRuns, 1e3 * saveWarm, kWarmRuns,
              LoadAverage().c_str());
  const ToolFigure objcopySave =
      RunTool("objcopy", "objcopy -I binary -O " + std::string(f.ObjcopyName) + " --change-addresses " + base + " " + bin + " " + toolText,
              bin, toolText);
  const double objcopySaveSeconds = PrintTool("objcopy", objcopySave, saveFirst, saveWarm);
  PrintTool("srec_cat",
            RunTool("srec_cat", "srec_cat " + bin + " -binary -offset " + base + " -o " + toolText + " -" + f.SrecCatName, bin,
                    toolText),
            saveFirst, saveWarm);

  // What no synced save of this file can go under on this disk: its bytes written, synced
  // and renamed over the file, with nothing formatted.
  const std::string text = ReadAll(saved);
  const double floor = WarmMedian([&] {
    qx::WriteFileReplacing(saved, std::span(reinterpret_cast<const qx::u8*>(text.data()), text.size()));
  });
  std::printf("    floor of this disk: the same %zu bytes written, synced and renamed, nothing formatted: %.1f ms\n",
              text.size(), 1e3 * floor);

  const bool same = ReadAll(source) == text;
  const bool loadMet = loadFirst > 0 && objcopyLoadSeconds >= kGoalRatio * std::max(loadFirst, loadWarm);
  const bool saveMet = saveFirst > 0 && objcopySaveSeconds >= kGoalRatio * std::max(saveFirst, saveWarm);
  std::printf("  saved file %s the file loaded\n", same ? "matches" : "DIFFERS FROM");
  std::printf("  goal: load >= %.0fx objcopy, first call included (%.1fx first, %.1fx warm): %s\n", kGoalRatio,
              objcopyLoadSeconds / loadFirst, objcopyLoadSeconds / loadWarm, Met(loadMet));
  std::printf("  goal: save >= %.0fx objcopy, first call included (%.1fx first, %.1fx warm): %s\n", kGoalRatio,
              objcopySaveSeconds / saveFirst, objcopySaveSeconds / saveWarm, Met(saveMet));
  return same && loadMet && saveMet;
}

}  // namespace

int main(int argc, char** argv) {
  if (qx::bench::AnswerHelp(argc, argv,
                           "usage: bench_objectfiles\n"
                           "  loads and saves 4 MiB as Intel HEX and S3 beside objcopy and srec_cat\n"))
    return 0;
  if (argc > 1 && std::string(argv[1]) == "--first") return FirstCall(argc, argv);

  std::vector<qx::u8> data(kSize);
  std::mt19937 rng(1);
  for (auto& b : data) b = static_cast<qx::u8>(rng());
  const auto dir = std::filesystem::temp_directory_path() / ("qx-bench-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const std::string hexPath = (dir / "image.hex").string();
  const std::string srecPath = (dir / "image.s37").string();
  const std::string binPath = (dir / "image.bin").string();
  std::ofstream(hexPath, std::ios::binary) << qx::FormatIntelHex(data, kBase);
  std::ofstream(srecPath, std::ios::binary) << qx::FormatSRecords(data, kBase);
  std::ofstream(binPath, std::ios::binary).write(reinterpret_cast<const char*>(data.data()), kSize);

  auto chip = MakeChip();
  std::printf("4 MiB image at 0x%08X; the tools convert the same 4 MiB (their input and output sizes below)\n", kBase);
  std::printf("goal: object-file load and save >= %.0fx objcopy, the first call of a process included\n", kGoalRatio);
  const bool hexMet = Report({"Intel HEX", true, ".hex", "ihex", "intel"}, dir.string(), hexPath, binPath, *chip);
  const bool srecMet = Report({"S3", false, ".s37", "srec", "motorola"}, dir.string(), srecPath, binPath, *chip);
  const bool same = std::equal(data.begin(), data.end(), chip->MainFlashImage.begin());
  std::printf("image %s the source bytes; goals %s\n", same ? "matches" : "DOES NOT MATCH", hexMet && srecMet ? "met" : "MISSED");
  std::filesystem::remove_all(dir);
  return same ? 0 : 1;
}
