// Saves a project of 4 MiB of main flash and 256 KiB of data flash and loads it again, as
// the project commands do (file and folder synced on save, every check on load). Each
// figure is given twice: the first save and load of a fresh process (a child run of this
// program, which makes its chip model as the program does and times one of each; the
// median of five such processes) and the median of warm calls in this process. Prints figures only.
//
// usage: bench_project
//        bench_project --first PATH   (child: one save and one load, prints both seconds)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "tests/bench/BenchUsage.h"
#include "base/MessageLog.h"
#include "images/ChipModel.h"
#include "images/ViewChecksums.h"
#include "programmer/RandomSource.h"
#include "project/ProjectFile.h"
#include "tests/bench/BenchProcess.h"

namespace {

using Clock = std::chrono::steady_clock;
using qx::bench::LoadAverage;
using qx::bench::Met;

constexpr qx::u32 kMain = 0x400000;
constexpr qx::u32 kEep = 0x40000;
constexpr int kWarmRuns = 7;
constexpr int kFirstRuns = 5;  // fresh processes
constexpr double kGoalFirstMs = 50.0;  // save + load on the first call

class SilentBoxes final : public qx::MessageBoxes {
 public:
  qx::MsgAnswer Ask(qx::MsgKind, std::string_view, qx::MsgButtons) override { return qx::MsgAnswer::Ok; }
  void AskBinaryOffset() override {}
};

// A 4 MiB chip with 256 KiB of data flash, its images full of program-like bytes.
std::unique_ptr<qx::ChipModel> MakeChip() {
  auto m = std::make_unique<qx::ChipModel>();
  qx::ChipParams& p = m->Params;
  p.ProtocolKind = 85;
  p.ManufacturerIndex = 0;
  p.MainFlashStart = 0x08000000;
  p.MainFlashSize = kMain;
  p.MainFlashEnd = p.MainFlashStart + kMain - 1;
  p.EepStart = 0x10000000;
  p.EepSize = kEep;
  p.EepEnd = p.EepStart + kEep - 1;
  p.DownloadSize = kMain;
  p.EepDownloadSize = kEep;
  m->ChipName = "BENCH4M";
  m->ObjectFileName = "bench.hex";
  std::mt19937 rng(3);
  for (qx::u32 i = 0; i < kMain; ++i) m->MainFlashImage[i] = static_cast<qx::u8>(rng());
  for (qx::u32 i = 0; i < kEep; ++i) m->EepImage[i] = static_cast<qx::u8>(rng());
  // The sums a load leaves, which a project stores for its images and is checked against.
  qx::MessageLog scratch;
  qx::RefreshChecksums(*m, scratch);
  qx::CalcOptionChecksum(*m);
  return m;
}

struct Rig {
  std::unique_ptr<qx::ChipModel> Saved = MakeChip();
  std::unique_ptr<qx::ChipModel> Loaded = std::make_unique<qx::ChipModel>();
  qx::MessageLog Log;
  SilentBoxes Op;
  qx::DefaultRandom Random{5};
  qx::ProjectSectionBuffer Section{};

  qx::ProjectFileEnv Env(qx::ChipModel& m) { return {m, Log, Op, Random, Section, 1, true}; }
  void Save(const std::string& path) {
    qx::ProjectFileEnv env = Env(*Saved);
    qx::WriteProjectFile(path, 85, env);
  }
  bool Load(const std::string& path) {
    qx::ProjectFileEnv env = Env(*Loaded);
    return qx::ReadProjectFile(path, env) == qx::ProjectReadResult::PrjOk;
  }
};

template <typename F>
double SecondsOf(F&& f) {
  const auto t0 = Clock::now();
  f();
  return std::chrono::duration<double>(Clock::now() - t0).count();
}

int FirstCall(const std::string& path) {
  Rig rig;
  bool ok = false;
  const double save = SecondsOf([&] { rig.Save(path); });
  const double load = SecondsOf([&] { ok = rig.Load(path); });
  if (!ok) return 1;
  std::printf("%.9f %.9f\n", save, load);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (qx::bench::AnswerHelp(argc, argv,
                           "usage: bench_project\n"
                           "  saves and loads a project of 4 MiB of main flash and 256 KiB of data flash\n"))
    return 0;
  if (argc > 2 && std::string(argv[1]) == "--first") return FirstCall(argv[2]);

  const auto dir = std::filesystem::temp_directory_path() / ("qx-bench-project-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const std::string path = (dir / "job.pqz").string();
  std::printf("project of 4 MiB main flash + 256 KiB data flash; goal: save + load < %.0f ms on the first call\n",
              kGoalFirstMs);

  std::vector<double> firstSaves, firstLoads, firstBoth;
  for (int i = 0; i < kFirstRuns; ++i) {
    bool ok = false;
    const std::string out = qx::bench::RunAndRead(qx::bench::SelfPath(), {"--first", path}, ok);
    double save = 0, load = 0;
    if (!ok || std::sscanf(out.c_str(), "%lf %lf", &save, &load) != 2) {
      std::printf("the first-call run failed\n");
      return 1;
    }
    firstSaves.push_back(save);
    firstLoads.push_back(load);
    firstBoth.push_back(save + load);
  }
  const double firstSave = qx::bench::Median(firstSaves), firstLoad = qx::bench::Median(firstLoads);
  const double firstMs = 1e3 * qx::bench::Median(firstBoth);
  std::printf("first call of a fresh process, median of %d processes: save %.1f ms, load %.1f ms, together %.1f ms"
              " (file %ju bytes)  [load average %s]\n",
              kFirstRuns, 1e3 * firstSave, 1e3 * firstLoad, firstMs, std::filesystem::file_size(path),
              LoadAverage().c_str());

  Rig rig;
  rig.Save(path);
  rig.Load(path);  // this process's first calls are not warm ones
  std::vector<double> saves, loads;
  bool same = true;
  for (int i = 0; i < kWarmRuns; ++i) {
    saves.push_back(SecondsOf([&] { rig.Save(path); }));
    loads.push_back(SecondsOf([&] { same = rig.Load(path) && same; }));
  }
  same = same && std::equal(rig.Saved->MainFlashImage.begin(), rig.Saved->MainFlashImage.begin() + kMain,
                            rig.Loaded->MainFlashImage.begin()) &&
         std::equal(rig.Saved->EepImage.begin(), rig.Saved->EepImage.begin() + kEep, rig.Loaded->EepImage.begin());
  const double warmSave = qx::bench::Median(saves), warmLoad = qx::bench::Median(loads);
  std::printf("warm, median of %d: save %.1f ms, load %.1f ms, together %.1f ms  [load average %s]\n", kWarmRuns,
              1e3 * warmSave, 1e3 * warmLoad, 1e3 * (warmSave + warmLoad), LoadAverage().c_str());
  std::printf("  loaded images %s the saved ones\n", same ? "match" : "DO NOT MATCH");
  std::printf("  goal: save + load < %.0f ms on the first call (%.1f ms first, %.1f ms warm): %s\n", kGoalFirstMs, firstMs,
              1e3 * (warmSave + warmLoad), Met(firstMs < kGoalFirstMs && 1e3 * (warmSave + warmLoad) < kGoalFirstMs));
  std::filesystem::remove_all(dir);
  return same ? 0 : 1;
}
