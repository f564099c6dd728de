// unitsim: simulated programmer units on pseudo-terminals, for tests, demos and benchmarks.
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

#include <unistd.h>

#include "tests/unitsim/SimFiles.h"
#include "tests/unitsim/UnitSimulator.h"

namespace {

volatile std::sig_atomic_t gStop = 0;
void OnSignal(int) { gStop = 1; }
volatile std::sig_atomic_t gMark = 0;
void OnMark(int) { gMark = 1; }

const char* const kHelp =
    "usage: unitsim --units N --dir DIR [options]\n"
    "       unitsim --write-driver CHIP DIR [BODYLEN]\n"
    "       unitsim --write-firmware PATH VERSION [BYTES]\n"
    "\n"
    "Simulates N programmer units (1..10), each on its own pseudo-terminal, writes\n"
    "DIR/ConfigQlt.ini naming them, prints \"unit K: PATH\" per unit and answers until\n"
    "SIGINT or SIGTERM; then prints one summary line per unit of what it received and\n"
    "one line of the wire figures (bytes each way, the program's turn-round between a\n"
    "reply and the next request) since the start or the last SIGUSR1.\n"
    "\n"
    "options (K is a unit number from 1, STEP the 1-based request count, 0 = every one):\n"
    "  --units N            number of units\n"
    "  --dir DIR            folder for ConfigQlt.ini\n"
    "  --pace               reply at the line rate (1,000,000 baud 8N2: 90,909 bytes/s)\n"
    "                       and read no faster\n"
    "  --version TEXT       firmware version word of every unit (default V2.4)\n"
    "  --old-firmware K     unit K reports version V1.0 until upgraded\n"
    "  --bootloader K       unit K answers as the boot loader until upgraded\n"
    "  --fail K:STEP:CODE   unit K answers request STEP with status CODE\n"
    "  --silent K:STEP      unit K does not answer request STEP\n"
    "  --bad-check K:STEP   reply with a wrong check word\n"
    "  --bad-escape K:STEP  reply frame with a broken escape\n"
    "  --garbage K:STEP     garbage bytes before the reply frame\n"
    "  --stray-end K:STEP   a stray 0xC0 with filler before the reply frame\n"
    "  --split K:N          every reply of unit K written in N pieces\n"
    "  --hangup K:STEP      unit K closes its side at request STEP\n"
    "  --help               this text\n"
    "\n"
    "  --write-driver CHIP DIR [BODYLEN]  writes a valid flash-driver file for CHIP as\n"
    "                       DIR/DromixDRVs/<stem>.KDV\n"
    "  --write-firmware PATH VERSION [BYTES]  writes a valid firmware file\n";

std::vector<unsigned long> Numbers(const std::string& text) {
  std::vector<unsigned long> out;
  std::size_t at = 0;
  while (at <= text.size()) {
    const std::size_t colon = text.find(':', at);
    const std::string part = text.substr(at, colon == std::string::npos ? std::string::npos : colon - at);
    out.push_back(std::stoul(part, nullptr, 0));
    if (colon == std::string::npos) break;
    at = colon + 1;
  }
  return out;
}

int Fail(const std::string& why) {
  std::cerr << "unitsim: " << why << "\n" << kHelp;
  return 2;
}

int WriteDriver(const std::string& chip, const std::string& dir, int bodyLength) {
  const auto stem = qx::sim::DriverStemFor(chip);
  if (stem.empty()) return Fail("no driver file for chip " + chip);
  const std::string folder = dir + "/DromixDRVs";
  if (std::system(("mkdir -p '" + folder + "'").c_str()) != 0) return Fail("cannot create " + folder);
  qx::sim::DriverFileSpec spec;
  spec.BodyLength = static_cast<std::uint16_t>(bodyLength);
  const std::string path = folder + "/" + std::string(stem) + ".KDV";
  if (!qx::sim::WriteBytesFile(path, qx::sim::MakeDriverFile(spec))) return Fail("cannot write " + path);
  std::cout << path << "\n";
  return 0;
}

int WriteFirmware(const std::string& path, const std::string& version, std::size_t bytes) {
  qx::sim::FirmwareFileSpec spec;
  spec.Version = version;
  spec.Image.resize(bytes);
  for (std::size_t i = 0; i < bytes; ++i) spec.Image[i] = static_cast<std::uint8_t>(i * 13 + 1);
  spec.EndAddress = static_cast<std::uint16_t>(0x1000 + (bytes > 0 ? bytes - 1 : 0));
  if (!qx::sim::WriteBytesFile(path, qx::sim::MakeFirmwareFile(spec))) return Fail("cannot write " + path);
  std::cout << path << "\n";
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace qx::sim;
  std::vector<std::string> args(argv + 1, argv + argc);
  int units = 0;
  std::string dir;
  bool pace = false;
  std::string version = "V2.4";
  struct UnitFault {
    std::size_t Unit;
    Fault F;
  };
  std::vector<UnitFault> faults;
  std::vector<std::size_t> boot, old;

  try {
    for (std::size_t i = 0; i < args.size(); ++i) {
      const std::string& a = args[i];
      auto value = [&]() -> std::string {
        if (i + 1 >= args.size()) throw std::invalid_argument(a + " needs a value");
        return args[++i];
      };
      auto faultOf = [&](FaultKind kind) {
        const auto n = Numbers(value());
        if (n.empty() || n[0] < 1) throw std::invalid_argument(a + ": bad unit");
        Fault f{kind, n.size() > 1 ? static_cast<std::uint32_t>(n[1]) : 0u, 0};
        if (kind == FaultKind::Status) {
          if (n.size() != 3) throw std::invalid_argument(a + " takes K:STEP:CODE");
          f.Code = static_cast<std::uint8_t>(n[2]);
        }
        if (kind == FaultKind::Split) {
          f.AtRequest = 0;
          f.Code = static_cast<std::uint8_t>(n.size() > 1 ? n[1] : 2);
        }
        faults.push_back({n[0] - 1, f});
      };
      if (a == "--help" || a == "-h") {
        std::cout << kHelp;
        return 0;
      } else if (a == "--write-driver") {
        const std::string chip = value();
        const std::string to = value();
        const int body = (i + 1 < args.size()) ? std::stoi(args[++i]) : 256;
        return WriteDriver(chip, to, body);
      } else if (a == "--write-firmware") {
        const std::string path = value();
        const std::string ver = value();
        const std::size_t bytes = (i + 1 < args.size()) ? std::stoul(args[++i]) : 4096;
        return WriteFirmware(path, ver, bytes);
      } else if (a == "--units") {
        units = std::stoi(value());
      } else if (a == "--dir") {
        dir = value();
      } else if (a == "--pace") {
        pace = true;
      } else if (a == "--version") {
        version = value();
      } else if (a == "--bootloader") {
        boot.push_back(std::stoul(value()) - 1);
      } else if (a == "--old-firmware") {
        old.push_back(std::stoul(value()) - 1);
      } else if (a == "--fail") {
        faultOf(FaultKind::Status);
      } else if (a == "--silent") {
        faultOf(FaultKind::Silence);
      } else if (a == "--bad-check") {
        faultOf(FaultKind::BadCheck);
      } else if (a == "--bad-escape") {
        faultOf(FaultKind::BadEscape);
      } else if (a == "--garbage") {
        faultOf(FaultKind::Garbage);
      } else if (a == "--stray-end") {
        faultOf(FaultKind::StrayEnd);
      } else if (a == "--split") {
        faultOf(FaultKind::Split);
      } else if (a == "--hangup") {
        faultOf(FaultKind::HangUp);
      } else {
        return Fail("unknown option " + a);
      }
    }
  } catch (const std::exception& e) {
    return Fail(e.what());
  }
  if (units < 1 || units > 10) return Fail("--units must be 1..10");
  if (dir.empty()) return Fail("--dir is needed");

  std::vector<UnitConfig> configs(static_cast<std::size_t>(units));
  for (auto& c : configs) {
    c.Version = version;
    c.Pace = pace;
  }
  for (std::size_t k : boot)
    if (k < configs.size()) configs[k].BootLoader = true;
  for (std::size_t k : old)
    if (k < configs.size()) configs[k].OldFirmware = true;
  for (const auto& uf : faults)
    if (uf.Unit < configs.size()) configs[uf.Unit].Faults.push_back(uf.F);

  std::signal(SIGINT, OnSignal);
  std::signal(SIGTERM, OnSignal);
  std::signal(SIGUSR1, OnMark);
  UnitSimulator sim(std::move(configs));
  for (std::size_t k = 0; k < sim.Count(); ++k) {
    if (sim.Path(k).empty()) return Fail("cannot create a pseudo-terminal");
  }
  if (!sim.WriteConfigFile(dir)) return Fail("cannot write " + dir + "/ConfigQlt.ini");
  for (std::size_t k = 0; k < sim.Count(); ++k) std::cout << "unit " << (k + 1) << ": " << sim.Path(k) << "\n";
  std::cout.flush();

  while (!gStop) {
    // Polled: a signal may land on a unit's thread and leave this one asleep.
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    if (gMark) {
      gMark = 0;
      sim.MarkWire();
    }
  }
  sim.Stop();
  std::vector<WireFigures> wire;
  for (std::size_t k = 0; k < sim.Count(); ++k) {
    std::cout << SummaryLine(k, sim.Stats(k)) << "\n";
    wire.push_back(sim.Wire(k));
  }
  std::cout << WireSummaryLine(std::move(wire)) << "\n";
  return 0;
}
