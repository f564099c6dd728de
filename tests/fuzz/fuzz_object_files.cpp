// Any bytes as an object file, read whole through the loaders of each format (Intel HEX,
// S-record, binary): no read or write outside a buffer, and a stored range that holds.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

#include "images/BinaryFile.h"
#include "images/IntelHexFile.h"
#include "images/SRecordFile.h"
#include "tests/fuzz/FuzzChip.h"
#include "tests/fuzz/FuzzWorkDir.h"

namespace {

void ExpectRange(qx::u32 start, qx::u32 end) {
  if (start != 0xFFFFFFFF && start > end) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace qx;
  static const std::string path = fuzz::FuzzWorkDir() + "object.txt";
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  ChipModel& chip = fuzz::FuzzChip();
  fuzz::OkBoxes op;
  u32 start = 0, end = 0, sum = 0;
  (void)LoadIntelHexFile(chip, path, start, end, sum, op);
  ExpectRange(start, end);
  (void)LoadSRecordFile(chip, path, start, end, sum, op);
  ExpectRange(start, end);
  u32 count = 0xFFFFFFFF;
  (void)LoadBinaryFile(path, chip.MainFlashImage, count);
  u32 last = 0xFFFFFFFF;
  (void)LoadBinaryFileSum(path, chip.EepImage, last, sum);
  return 0;
}
