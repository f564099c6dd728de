// Project files of the real program over a simulated unit: every state a job can be saved in
// opens again without refusal; a file damaged so that its byte sum still holds is refused
// and the window keeps its job; the option write after a load sends 0xFF past the bytes the
// file keeps.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <deque>
#include <functional>

#include "app/FileDialogs.h"
#include "images/IntelHexFile.h"
#include "images/ui/ConfigSNForm.h"
#include "project/ProjectFileFormat.h"
#include "programmer/SettingsBlock.h"
#include "tests/app/ui/ChipWindowSupport.h"

namespace qx::test {
namespace {

using W = TGenMFrmARM;
constexpr const char* kChip = "SA32B12xx";  // 128 KiB of main flash at 0, 128 KiB of data flash
constexpr u32 kEepStart = 0x20020000;

// A window over one linked unit whose file dialogs take the paths queued.
class ProjectWindow {
 public:
  ProjectWindow() : w(std::vector<sim::UnitConfig>(1)) {
    linked = w.rig.LinkUnits();
    w.Window().ShowFileDialog = [this](const FileDialogRequest&) -> std::optional<FileDialogChoice> {
      if (paths.empty()) return std::nullopt;
      const std::string path = paths.front();
      paths.pop_front();
      return FileDialogChoice{path, 1};
    };
  }
  std::string File(const std::string& name) { return w.rig.dir.File(name); }
  void Run(W::Handler handler, const std::string& path = {}) {
    if (!path.empty()) paths.push_back(path);
    w.Window().Run(handler);
  }
  bool Idle() { return w.rig.RunUntil([this] { return w.rig.AllIdle(); }); }
  void ChooseChip() {
    w.WriteDriver(kChip);
    w.ChooseInDialog(kChip);
  }
  void LoadHex(const std::string& name, u32 address, const std::vector<u8>& data,
               W::Handler load = &W::FileOpenBtnClick) {
    WriteText(File(name), FormatIntelHex(data, address));
    Run(load, File(name));
  }
  void FillUnitMain(unsigned seed) {
    const auto bytes = RandomBytes(w.Model().Params.MainFlashSize, seed);
    w.rig.sim->WithUnit(0, [&](sim::SimUnit& u) { std::copy(bytes.begin(), bytes.end(), u.Main().begin()); });
  }
  std::vector<std::string> Boxes() {
    std::vector<std::string> v;
    for (const auto& b : w.rig.boxes) v.push_back(b.text);
    w.rig.boxes.clear();
    return v;
  }
  std::vector<u8> Programmed() {
    const ChipModel& m = w.Model();
    const auto at = m.MainFlashImage.begin() + m.Params.MainImageOffset;
    return std::vector<u8>(at, at + m.Params.DownloadSize);
  }
  std::vector<u8> DataFlash() {
    const ChipModel& m = w.Model();
    return std::vector<u8>(m.EepImage.begin(), m.EepImage.begin() + m.Params.EepSize);
  }

  ChipWindow w;
  bool linked = false;
  std::deque<std::string> paths;
};

void FillSn(ProjectWindow& p) {
  p.w.rig.onModal = [](QDialog& d) {
    auto* form = qobject_cast<TConfigSNForm*>(&d);
    if (form == nullptr) return static_cast<int>(QDialog::Rejected);
    form->show();
    form->AddrEditSN->setText("0x00005000");
    form->EditDataSN->setText("AB");
    form->BitBtnOK->click();
    return form->result();
  };
  p.Run(&W::ButtonCfgSNClick);
  p.w.rig.onModal = nullptr;
}

void ReadBack(ProjectWindow& p) {
  p.FillUnitMain(41);
  p.Run(&W::ReadChipMemory1Click);
  ASSERT_TRUE(p.Idle());
}

// Saved, opened in another window and in this one, then saved and opened once more (a job
// after a load): every time without refusal, the images as they were.
void SaveAndOpenTwice(ProjectWindow& p) {
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round == 0 ? "saved from the state" : "saved after the load");
    const std::vector<u8> main = p.Programmed();
    const std::vector<u8> eep = p.DataFlash();
    const std::string path = p.File("job" + std::to_string(round) + ".pqz");
    p.Run(&W::SavetoProjectFile1Click, path);
    ASSERT_EQ(p.Boxes(), std::vector<std::string>{"Created Project File : " + path});

    ProjectWindow other;
    other.w.WriteDriver(kChip);
    other.Run(&W::SpdBtnLdPrjClick, path);
    EXPECT_EQ(other.Boxes(), std::vector<std::string>{"Project File Open Success!"});
    EXPECT_EQ(other.Programmed(), main);
    EXPECT_EQ(other.DataFlash(), eep);
    p.Run(&W::SpdBtnLdPrjClick, path);
    ASSERT_EQ(p.Boxes(), std::vector<std::string>{"Project File Open Success!"});
  }
}

TEST(ProjectStatesWindow, EveryStateAJobCanBeSavedInOpensAgain) {
  const auto loadFile = [](ProjectWindow& p) { p.LoadHex("app.hex", 0, RandomBytes(0x3000, 40)); };
  const struct {
    const char* name;
    std::function<void(ProjectWindow&)> state;
  } cases[] = {
      {"an object file loaded", loadFile},
      {"a main-flash read-back after a load",
       [&](ProjectWindow& p) {
         loadFile(p);
         ReadBack(p);
       }},
      {"Fill SN after a load",
       [&](ProjectWindow& p) {
         loadFile(p);
         FillSn(p);
       }},
      {"the customer block built by a download",
       [&](ProjectWindow& p) {
         loadFile(p);
         p.w.Find<QCheckBox>("ChkBoxPrgInf").setChecked(true);
         p.Run(&W::SpdBtnDownLoadClick);
         ASSERT_TRUE(p.Idle());
       }},
      {"a data-flash file loaded",
       [&](ProjectWindow& p) {
         loadFile(p);
         p.LoadHex("data.hex", kEepStart, RandomBytes(0x800, 42), &W::LoadEepDataFile1Click);
       }},
      {"an on-line serial number past the loaded data",
       [&](ProjectWindow& p) {
         loadFile(p);
         p.w.Find<QCheckBox>("CheckBoxSN").click();
         p.w.Find<QCheckBox>("ChkBoxPCSN").setChecked(true);
         p.w.Find<QLineEdit>("AddrEdit").setText("0x00008000");
         p.Run(&W::AutoSpdBtnClick);
         ASSERT_TRUE(p.Idle());
       }},
      {"a chip with no file, read back", ReadBack},
      {"a chip with no file, read back after a job on a chip with less data flash",
       [&](ProjectWindow& p) {
         p.w.WriteDriver("ML630Q464");
         p.w.ChooseProgrammatically(Maker::Lapis, "ML630Q464");  // 2 KiB of data flash
         p.LoadHex("lapis.hex", 0x10000000, RandomBytes(0x400, 43));
         p.ChooseChip();
         ReadBack(p);
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ProjectWindow p;
    ASSERT_TRUE(p.linked);
    p.ChooseChip();
    c.state(p);
    EXPECT_EQ(p.w.Model().ObjectLoaded, 1);
    EXPECT_EQ(p.Boxes(), std::vector<std::string>{});
    SaveAndOpenTwice(p);
  }
}

// Damage the file's byte sum misses, each opened in a window with a job: refused with the
// designed text, the window's job as it was.
TEST(ProjectStatesWindow, ADamagedFileWhoseByteSumHoldsIsRefusedAndTheJobStays) {
  ProjectWindow p;
  ASSERT_TRUE(p.linked);
  p.ChooseChip();
  p.LoadHex("app.hex", 0, RandomBytes(0x3000, 50));
  p.LoadHex("data.hex", kEepStart, RandomBytes(0x2000, 51), &W::LoadEepDataFile1Click);
  const std::string good = p.File("good.pqz");
  p.Run(&W::SavetoProjectFile1Click, good);
  const std::vector<u8> bytes = ReadFile(good);
  const u32 download = p.w.Model().Params.DownloadSize;
  ASSERT_LT(download, p.w.Model().Params.MainFlashSize);

  constexpr std::size_t kMainAt = ProjectMfmTagOffset + 3;
  const std::size_t eepAt = kMainAt + ProjectDataSectionSize(download) + 3 + 4;
  const std::size_t optionAt = ProjectCfgTagOffset + 4 + SbOptionLowAt;
  const auto swap = [](std::vector<u8>& f, std::size_t at) {
    const auto from = f.begin() + static_cast<std::ptrdiff_t>(at);
    std::swap_ranges(from, from + 1025, from + 1025);
  };
  const struct {
    const char* name;
    std::function<void(std::vector<u8>&)> damage;
  } cases[] = {
      {"main-flash blocks 1 and 2 swapped", [&](auto& f) { swap(f, kMainAt + 1025); }},
      {"data-flash blocks 1 and 2 swapped", [&](auto& f) { swap(f, eepAt + 1025); }},
      {"two option bytes changed to cancel",
       [&](auto& f) {
         const std::size_t up = f[optionAt] == 0xFF ? optionAt + 9 : optionAt;
         const std::size_t down = up == optionAt ? optionAt + 9 : optionAt;
         ASSERT_TRUE(f[up] != 0xFF && f[down] != 0x00);
         ++f[up];
         --f[down];
       }},
  };
  // The window's own job, which must stay.
  ProjectWindow w;
  ASSERT_TRUE(w.linked);
  w.ChooseChip();
  w.LoadHex("own.hex", 0, RandomBytes(0x1800, 52));
  w.Boxes();
  const std::vector<u8> main = w.Programmed();
  const std::vector<u8> eep = w.DataFlash();
  const std::vector<u8> options(w.w.Model().OptionImage.begin(), w.w.Model().OptionImage.end());
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<u8> bad = bytes;
    c.damage(bad);
    ASSERT_NE(bad, bytes);
    const std::string path = w.File("damaged.pqz");
    WriteFile(path, bad);
    w.Run(&W::SpdBtnLdPrjClick, path);
    EXPECT_EQ(w.Boxes(), std::vector<std::string>{"Project File Data Has Been Corrupted!"});
    EXPECT_EQ(w.w.LogLines().back(), "> 12:34:56 Project File Data Has Been Corrupted!");
    EXPECT_EQ(w.w.TextOf("MCUNameEdit"), kChip);
    EXPECT_EQ(w.Programmed(), main);
    EXPECT_EQ(w.DataFlash(), eep);
    EXPECT_TRUE(std::equal(options.begin(), options.end(), w.w.Model().OptionImage.begin()));
  }
}

// The file keeps option bytes 0..331; the option write sends 1024. After a load the rest go
// out as 0xFF, as they always went for a stored job; a chip chosen in the dialog sends its
// family's default (0x00 for these chips) there.
TEST(ProjectStatesWindow, TheOptionWriteAfterALoadSends0xFFPastTheBytesTheFileKeeps) {
  ProjectWindow p;
  ASSERT_TRUE(p.linked);
  p.ChooseChip();
  p.LoadHex("app.hex", 0, RandomBytes(0x1000, 60));
  const std::string path = p.File("job.pqz");
  p.Run(&W::SavetoProjectFile1Click, path);
  const auto optionWrite = [&p] {
    p.w.rig.sim->WithUnit(0, [](sim::SimUnit& u) { std::fill(u.Option().begin(), u.Option().end(), u8{0x5A}); });
    p.Run(&W::SpdBtnWrtOPBClick);
    EXPECT_TRUE(p.Idle());
    std::vector<u8> sent;
    p.w.rig.sim->WithUnit(0, [&](sim::SimUnit& u) { sent.assign(u.Option().begin(), u.Option().begin() + 1024); });
    return sent;
  };
  const std::vector<u8> chosen = optionWrite();
  EXPECT_EQ(chosen, std::vector<u8>(1024, 0x00));

  p.Boxes();
  p.Run(&W::SpdBtnLdPrjClick, path);
  ASSERT_EQ(p.Boxes(), std::vector<std::string>{"Project File Open Success!"});
  const std::vector<u8> loaded = optionWrite();
  EXPECT_EQ(std::vector<u8>(loaded.begin(), loaded.begin() + 332), std::vector<u8>(332, 0x00));
  EXPECT_EQ(std::vector<u8>(loaded.begin() + 332, loaded.end()), std::vector<u8>(1024 - 332, 0xFF));

  p.ChooseChip();
  EXPECT_EQ(optionWrite(), chosen);
}

}  // namespace
}  // namespace qx::test
