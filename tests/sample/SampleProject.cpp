#include "tests/sample/SampleProject.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <random>
#include <stdexcept>

#include "app/ProjectCommands.h"
#include "chips/ChipModelLists.h"
#include "chips/ChipSelect.h"
#include "chips/Makers.h"
#include "programmer/DownloadSize.h"
#include "programmer/FlashDriver.h"
#include "programmer/RandomSource.h"
#include "tests/support/IgnoredViews.h"

namespace qx::sample {
namespace {

// The writer's "created" box has nobody to answer it.
class SilentBoxes final : public MessageBoxes {
 public:
  MsgAnswer Ask(MsgKind, std::string_view, MsgButtons) override { return MsgAnswer::Ok; }
  void AskBinaryOffset() override {}
};

void ChooseChip(ChipModel& m, const std::string& name) {
  for (u8 maker = 0; maker < MakerCount; ++maker) {
    const auto models = ModelsOfMaker(maker);
    const auto it = std::find(models.begin(), models.end(), name);
    if (it == models.end()) continue;
    if (SelectChip(m, maker, name, static_cast<u8>(it - models.begin()))) return;
  }
  throw std::invalid_argument("no maker lists the chip " + name);
}

void FillRandom(std::span<u8> bytes, std::mt19937& random) {
  std::uniform_int_distribution<int> byte(0, 255);
  for (u8& b : bytes) b = static_cast<u8>(byte(random));
}

}  // namespace

ProgramControls SampleControls(const SampleJob& job) {
  ProgramControls c;
  c.ChkBoxPrgEEP = job.ProgramDataFlash;
  c.ChkBoxErsEEP = job.ProgramDataFlash;
  c.CheckBoxSN = true;
  c.ChkBoxSNDP = true;
  c.SNEdit1 = std::to_string(job.SnValue);
  c.GainEdit = std::to_string(job.SnGain);
  std::array<char, 16> address{};
  std::snprintf(address.data(), address.size(), "0x%08X", static_cast<unsigned>(job.SnAddress));
  c.AddrEdit = address.data();
  return c;
}

std::unique_ptr<ChipModel> WriteSampleProject(const std::string& path, const SampleJob& job) {
  auto m = std::make_unique<ChipModel>();
  ChooseChip(*m, job.ChipName);
  ChipParams& p = m->Params;
  std::mt19937 random(job.Seed);
  p.EepDownloadSize = p.EepSize;
  const u32 mainBytes = job.MainBytes == 0 ? p.MainFlashSize : std::min(job.MainBytes, p.MainFlashSize);
  FillRandom(std::span<u8>(m->MainFlashImage).subspan(p.MainImageOffset, mainBytes), random);
  FillRandom(std::span<u8>(m->EepImage).first(p.EepSize), random);
  CalcDownloadSize(*m);
  m->ObjectLoaded = 1;
  m->ObjectFileName = "sample-" + std::to_string(job.Seed) + ".hex";

  FlashDriver driver;
  MessageLog log;
  SilentBoxes boxes;
  test::BoxesOnly op(boxes);  // the writer has no view
  // The sums as choosing the chip and loading an object file leave them.
  WindowActions actions;
  RefreshChecksumsAndViews(*m, log, op, actions);
  if (p.OptionCode != 0) ShowOptionData(*m, op);
  DefaultRandom nonce(job.Seed);
  ProjectSectionBuffer section{};
  ProjectEnv env{*m, driver, "", log, op, nonce, section};
  SavetoProjectFile(path, SampleControls(job), env);
  return m;
}

}  // namespace qx::sample
