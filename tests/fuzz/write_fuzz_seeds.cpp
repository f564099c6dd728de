// write_fuzz_seeds: the seed corpus of one fuzz target, written with the test fixtures and
// the program's own writers, so that a short run starts past the first checks.
//   usage: write_fuzz_seeds TARGET DIR
#include <cstdio>
#include <cstring>
#include <exception>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "images/FileReplace.h"
#include "images/IntelHexFile.h"
#include "images/SRecordFile.h"
#include "programmer/CommandCodes.h"
#include "project/LogSettings.h"
#include "tests/sample/SampleProject.h"
#include "tests/unitsim/SimFiles.h"
#include "tests/unitsim/SimUnit.h"

namespace {

using qx::u8;
using Bytes = std::vector<u8>;
using Seeds = std::vector<std::pair<std::string, Bytes>>;

Bytes FromText(const std::string& s) { return Bytes(s.begin(), s.end()); }

Bytes Counting(std::size_t n, unsigned step) {
  Bytes b(n);
  for (std::size_t i = 0; i < n; ++i) b[i] = static_cast<u8>(i * step + 1);
  return b;
}

// Object files of each format over the fuzz chip's windows: main flash, data flash, option
// bytes, and a run past the end of the image.
Seeds ObjectFiles(bool hex, bool srec, bool binary) {
  const std::pair<const char*, qx::u32> places[] = {
      {"main", 0x00001000}, {"main-high", 0x00040000}, {"eep", 0x10000000}, {"option", 0x1FFFF800}, {"edge", 0x00400FF0}};
  Seeds seeds;
  for (const auto& [name, at] : places) {
    const Bytes data = Counting(300, 7);
    if (hex) seeds.emplace_back(std::string("hex-") + name, FromText(qx::FormatIntelHex(data, at)));
    if (srec) seeds.emplace_back(std::string("srec-") + name, FromText(qx::FormatSRecords(data, at)));
  }
  if (hex) seeds.emplace_back("hex-segments", FromText(":020000021000EC\r\n:0400000001020304F2\r\n:00000001FF\r\n"));
  if (srec) seeds.emplace_back("srec-s1s2", FromText("S00600004844521B\r\nS107001001020304DE\r\nS20801000005060708DE\r\nS9030000FC\r\n"));
  if (binary) seeds.emplace_back("binary", Counting(2048, 13));
  return seeds;
}

// The sample job on a chip of 32 KiB main flash and 2 KiB of data flash: small enough
// for the short run to go through many of them.
Seeds Projects(const std::string& dir) {
  Seeds seeds;
  qx::sample::SampleJob with;
  with.ChipName = "ML630Q464";
  with.SnAddress = 0x7F00;
  qx::sample::SampleJob without = with;
  without.ProgramDataFlash = false;
  without.Seed = 2;
  for (const auto& [name, job] : {std::pair{"project-eep", with}, std::pair{"project", without}}) {
    const std::string path = dir + "/" + name + ".pqz";
    qx::sample::WriteSampleProject(path, job);
    seeds.emplace_back(name, qx::ReadFileBytes(path, 1u << 26));
    std::remove(path.c_str());
  }
  return seeds;
}

Seeds WireFiles() {
  Seeds seeds;
  Bytes driver = {0};
  const Bytes d = qx::sim::MakeDriverFile({});
  driver.insert(driver.end(), d.begin(), d.end());
  seeds.emplace_back("driver", driver);
  qx::sim::FirmwareFileSpec spec;
  spec.EndAddress = 0x17FF;
  spec.Image = Counting(0x1800, 7);
  Bytes firmware = {1};
  const Bytes f = qx::sim::MakeFirmwareFile(spec);
  firmware.insert(firmware.end(), f.begin(), f.end());
  seeds.emplace_back("firmware", firmware);
  return seeds;
}

// What a unit sends: its answer to the probe and the reports of a stand-alone run, framed
// as on the line; in one chunk, and byte by byte (a chunk's first byte gives its length).
Seeds WireFrames() {
  qx::sim::SimUnit unit({});
  const auto answer = unit.Receive(std::span<const u8>(qx::DeviceProbeFrame));
  Bytes frames;
  for (const Bytes& w : answer.Writes) frames.insert(frames.end(), w.begin(), w.end());
  for (const Bytes& report : qx::sim::SimUnit::StandAloneReports(12, 6)) {
    const Bytes frame = qx::sim::SlipEncode(report);
    frames.insert(frames.end(), frame.begin(), frame.end());
  }
  Bytes whole = {static_cast<u8>(frames.size() / 64 + 1)};
  whole.insert(whole.end(), frames.begin(), frames.end());
  Bytes bytewise;
  for (const u8 b : frames) bytewise.insert(bytewise.end(), {0, b});
  return {{"frames", whole}, {"frames-bytewise", bytewise}};
}

Seeds LogSettingsFiles() {
  Seeds seeds;
  qx::LogSettings s;
  seeds.emplace_back("log-default", FromText(qx::FormatLogConfig(s)));
  s.SetLocation(qx::LogLocationCustomer);
  s.Mode = qx::LogModeAppend;
  s.FileName = "run.log";
  seeds.emplace_back("log-customer", FromText(qx::FormatLogConfig(s)));
  return seeds;
}

Seeds SnTexts() {
  const Bytes head[] = {{0x00, 0x10, 0x00, 0x00, 0x02}, {0x00, 0x00, 0x00, 0x10, 0x03}, {0xF0, 0x0F, 0x40, 0x00, 0x00}};
  const std::string texts[] = {"12 34 AB cd EF", "0x12,0x34;0xAB", "SN-0001 ascii text"};
  Seeds seeds;
  for (std::size_t i = 0; i < std::size(head); ++i) {
    Bytes b = head[i];
    b.insert(b.end(), texts[i].begin(), texts[i].end());
    seeds.emplace_back("sn-" + std::to_string(i), b);
  }
  return seeds;
}

const std::map<std::string, std::function<Seeds(const std::string&)>>& Writers() {
  static const std::map<std::string, std::function<Seeds(const std::string&)>> writers = {
      {"fuzz_hex_lines", [](const std::string&) { return ObjectFiles(true, false, false); }},
      {"fuzz_srec_lines", [](const std::string&) { return ObjectFiles(false, true, false); }},
      {"fuzz_object_files", [](const std::string&) { return ObjectFiles(true, true, true); }},
      {"fuzz_project_file", Projects},
      {"fuzz_wire_files", [](const std::string&) { return WireFiles(); }},
      {"fuzz_wire_frames", [](const std::string&) { return WireFrames(); }},
      {"fuzz_log_settings", [](const std::string&) { return LogSettingsFiles(); }},
      {"fuzz_sn_tokenizer", [](const std::string&) { return SnTexts(); }},
  };
  return writers;
}

int Usage(std::FILE* to, int status) {
  std::fprintf(to, "usage: write_fuzz_seeds TARGET DIR\n  writes the seed corpus of TARGET into the folder DIR; targets:");
  for (const auto& [name, writer] : Writers()) std::fprintf(to, " %s", name.c_str());
  std::fprintf(to, "\n");
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) return Usage(stdout, 0);
  if (argc != 3) return Usage(stderr, 2);
  const auto it = Writers().find(argv[1]);
  if (it == Writers().end()) {
    std::fprintf(stderr, "write_fuzz_seeds: no seeds for %s\n", argv[1]);
    return Usage(stderr, 2);
  }
  const std::string dir = argv[2];
  try {
    const Seeds seeds = it->second(dir);
    for (const auto& [name, bytes] : seeds) {
      std::ofstream out(dir + "/" + name, std::ios::binary | std::ios::trunc);
      out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
      if (!out) {
        std::fprintf(stderr, "write_fuzz_seeds: cannot write %s/%s\n", dir.c_str(), name.c_str());
        return 1;
      }
    }
    std::printf("%s: %zu seeds in %s\n", argv[1], seeds.size(), dir.c_str());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "write_fuzz_seeds: %s\n", e.what());
    return 1;
  }
  return 0;
}
