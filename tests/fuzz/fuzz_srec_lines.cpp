// S-record line parser: any bytes, split into lines, must never read or write outside a
// buffer and must keep the range consistent.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "tests/fuzz/FuzzChip.h"
#include "images/SRecordFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  qx::ChipModel& chip = qx::fuzz::FuzzChip();
  qx::fuzz::OkBoxes op;
  qx::SRecordReaderState state;
  std::string_view text(reinterpret_cast<const char*>(data), size);
  while (!text.empty()) {
    const std::size_t lf = text.find('\n');
    const std::string_view line = text.substr(0, lf);
    qx::ParseSRecordLine(chip, line, state, op);
    if (state.Range.Minimum != 0xFFFFFFFF && state.Range.Minimum > state.Range.Maximum) std::abort();
    text = lf == std::string_view::npos ? std::string_view{} : text.substr(lf + 1);
  }
  return 0;
}
