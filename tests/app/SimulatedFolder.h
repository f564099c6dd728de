#pragma once
// A fresh program folder with simulated units on pseudo-terminals named by its
// "ConfigQlt.ini", and the firmware file the units may be upgraded from. A rig that runs the
// program over it derives from it, so its program goes (and closes its ports) before the
// units do.
#include <memory>
#include <string>
#include <vector>

#include "tests/support/TempDir.h"
#include "tests/unitsim/SimFiles.h"
#include "tests/unitsim/UnitSimulator.h"

namespace qx::test {

class SimulatedFolder {
 public:
  // Writes the simulated units' connection file into the program folder.
  void Units(std::vector<sim::UnitConfig> configs) {
    sim = std::make_unique<sim::UnitSimulator>(std::move(configs));
    sim->WriteConfigFile(dir.Dir());
  }
  void FirmwareFile(const std::string& version = "V2.4", u16 endAddress = 0x17FF) {
    sim::FirmwareFileSpec spec;
    spec.Version = version;
    spec.EndAddress = endAddress;
    spec.Image.resize(0x1800);
    for (std::size_t i = 0; i < spec.Image.size(); ++i) spec.Image[i] = static_cast<u8>(i * 7);
    sim::WriteBytesFile(dir.File("QX740VRD.FWR"), sim::MakeFirmwareFile(spec));
  }

  TempDir dir;
  std::unique_ptr<sim::UnitSimulator> sim;
};

}  // namespace qx::test
