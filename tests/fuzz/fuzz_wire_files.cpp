// Arbitrary bytes as a flash-driver file and as a firmware file; then the segment copies.
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <memory>
#include <string>

#include "base/Operator.h"
#include "programmer/FirmwareFile.h"
#include "programmer/FlashDriver.h"
#include "programmer/UnitStep.h"

namespace {

class SilentOperator : public qx::Operator {
 public:
  qx::MsgAnswer Ask(qx::MsgKind, std::string_view, qx::MsgButtons) override { return qx::MsgAnswer::Ok; }
};

const std::string& Dir() {
  static const std::string dir = [] {
    std::string d = "/tmp/qx-fuzz-files-" + std::to_string(::getpid()) + "/";
    std::string sub = d + "DromixDRVs";
    ::mkdir(d.c_str(), 0700);
    ::mkdir(sub.c_str(), 0700);
    return d;
  }();
  return dir;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace qx;
  static auto driver = std::make_unique<FlashDriver>();
  static auto firmware = std::make_unique<FirmwareFile>();
  static auto packet = std::make_unique<std::array<u8, PacketSlotSize>>();
  static SilentOperator op;

  const std::string driverPath = Dir() + "DromixDRVs/FDrvAC78X.KDV";
  {
    std::ofstream out(driverPath, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  // Family 0x04 copies the common segment furthest, to 4440, as the copies below do.
  LoadFlashDriver(*driver, "AC7801", 0x04, Dir(), op);
  for (u8 step : {StepBlankCheck, StepReadChecksum, StepErase, StepProgramMain, StepWriteOption}) {
    (void)CopyDriverStepSegment(*driver, step, *packet, 88);
    (void)CopyDriverStepSegment(*driver, step, *packet, 4184);
  }
  (void)CopyDriverCommonSegment(*driver, *packet, 4440);

  const std::string firmwarePath = Dir() + "QX740VRD.FWR";
  {
    std::ofstream out(firmwarePath, std::ios::binary | std::ios::trunc);
    // Most inputs fail on the magic; give the fuzzer a valid one to start from when asked.
    if (size > 0 && data[0] == 'M') {
      const std::uint8_t magic[7] = {'N' ^ 0xF5, 'o' ^ 0xF5, 'l' ^ 0xF5, 'F' ^ 0xF5, 'm' ^ 0xF5, 'W' ^ 0xF5, 'r' ^ 0xF5};
      out.write(reinterpret_cast<const char*>(magic), 7);
      out.write(reinterpret_cast<const char*>(data + 1), static_cast<std::streamsize>(size - 1));
    } else {
      out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
  }
  LoadFirmwareFile(*firmware, firmwarePath);
  return 0;
}
