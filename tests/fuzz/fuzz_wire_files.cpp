// Arbitrary bytes as a flash-driver file (first byte even) or as a firmware file (odd); then
// the segment copies of whatever driver was loaded.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "programmer/FirmwareFile.h"
#include "programmer/FlashDriver.h"
#include "programmer/UnitStep.h"
#include "tests/fuzz/FuzzChip.h"
#include "tests/fuzz/FuzzWorkDir.h"

namespace {

void WriteInput(const std::string& path, const std::uint8_t* data, std::size_t size) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace qx;
  static auto driver = std::make_unique<FlashDriver>();
  static auto firmware = std::make_unique<FirmwareFile>();
  static auto packet = std::make_unique<std::array<u8, PacketSlotSize>>();
  static fuzz::OkBoxes op;
  static const std::string dir = [] {
    std::filesystem::create_directories(fuzz::FuzzWorkDir() + "DromixDRVs");
    return fuzz::FuzzWorkDir();
  }();
  if (size == 0) return 0;

  if ((data[0] & 1) == 0) {
    WriteInput(dir + "DromixDRVs/FDrvAC78X.KDV", data + 1, size - 1);
    // Family 0x04 copies the common segment furthest, to 4440, as the copies below do.
    LoadFlashDriver(*driver, "AC7801", 0x04, dir, op);
    for (u8 step : {StepBlankCheck, StepReadChecksum, StepErase, StepProgramMain, StepWriteOption}) {
      (void)CopyDriverStepSegment(*driver, step, *packet, 88);
      (void)CopyDriverStepSegment(*driver, step, *packet, 4184);
    }
    (void)CopyDriverCommonSegment(*driver, *packet, 4440);
  } else {
    WriteInput(dir + "QX740VRD.FWR", data + 1, size - 1);
    LoadFirmwareFile(*firmware, dir + "QX740VRD.FWR");
    if (firmware->FirmwareLoaded) (void)FirmwareBlockCount(*firmware);
  }
  return 0;
}
